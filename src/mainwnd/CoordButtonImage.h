#pragma once
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

#include "app/CoordKey.h"
#include "mainwnd/ICoordButtonClickListener.h"

// The keyboard picture: a background image over which the keys of a coordinate file become
// clickable rectangles. It highlights the key under the mouse with the hover image, marks
// checked keys with the checked image, shows the key name as tooltip and reports presses and
// releases to one listener. Layouts create it as the element "cbimg".
//
// Images may carry more pixels than the picture has logical pixels (a 2x image for high-density
// screens); their scale comes from an "@2x" style file name or from the resolution stored in the
// file (192 dpi = 2x), and every drawing maps the logical rectangle onto the image's pixels.
class CoordButtonImage : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString bg READ BackgroundId WRITE SetBackground)
    Q_PROPERTY(QString chking READ HoverId WRITE SetHoverImage)
    Q_PROPERTY(QString chked READ CheckedId WRITE SetCheckedImage)
    Q_PROPERTY(QString type READ SelectionModeText WRITE SetSelectionModeText)
    Q_PROPERTY(QString crdxml READ CoordinateFileName WRITE SetCoordinateFileName)

public:
    static constexpr int32_t ALL_KEYS = 0x7fffffff;
    static constexpr const char* kClassName = "cbimg";

    enum SelectionMode : int32_t { SelectNone = 0, SelectSingle = 1, SelectMultiple = 2 };

    // How layouts' resource references become images and texts. The defaults read an image id
    // as a file path (relative paths against <application folder>/uires, then the application
    // folder itself) and leave texts as they are; the resource layer installs the real ones.
    using ImageResolver = std::function<QImage(const QString& id)>;
    using StringResolver = std::function<QString(const QString& text)>;
    static void SetImageResolver(ImageResolver resolver);
    // Whether an image id can be loaded, without loading it. The hover and checked images are
    // only decoded when first drawn, so a start shows the picture sooner; with a probe set, the
    // attribute is accepted on the probe's word. Without one (the default) they load at once.
    using ImageProbe = std::function<bool(const QString& id)>;
    static void SetImageProbe(ImageProbe probe);
    // Reads an image file with its scale, as the default resolver does; for resolvers that map
    // resource names to files.
    static QImage LoadImageFile(const QString& path);
    static void SetStringResolver(StringResolver resolver);

    explicit CoordButtonImage(QWidget* parent = nullptr);
    ~CoordButtonImage() override;

    // Layout attributes by name, without regard to case. False when the name is not one of ours
    // or an image cannot be loaded (the old image then stays).
    bool SetAttribute(const QString& name, const QString& value);

    bool SetBackground(const QString& imageId);
    bool SetHoverImage(const QString& imageId);
    bool SetCheckedImage(const QString& imageId);
    void SetBackgroundImage(const QImage& image);
    void SetHoverImageData(const QImage& image);
    void SetCheckedImageData(const QImage& image);
    QString BackgroundId() const { return m_bgId; }
    QString HoverId() const { return m_hoverId; }
    QString CheckedId() const { return m_checkedId; }

    void SetSelectionMode(int32_t mode) { m_selectionMode = mode; }
    int32_t SelectionMode() const { return m_selectionMode; }
    void SetSelectionModeText(const QString& text);  // decimal or 0x-hex; unreadable gives 0
    QString SelectionModeText() const { return QString::number(m_selectionMode); }

    // The coordinate file is read once, the first time the picture is shown or asked about its
    // keys; later changes of the name are kept but not read.
    void SetCoordinateFileName(const QString& crdxml) { m_crdxml = crdxml; }
    QString CoordinateFileName() const { return m_crdxml; }
    void LoadKeys();

    void SetClickListener(ICoordButtonClickListener* listener) { m_listener = listener; }

    void SetChecked(int32_t keyId, int32_t value);
    void ToggleChecked(int32_t keyId);
    int32_t IsChecked(int32_t keyId) const;
    void SetKeyColor(int32_t keyId, uint32_t color);
    bool HasKey(int32_t keyId) const;

    // The keys in file order, for accessibility and tests.
    const std::vector<CoordKey>& Keys() const;
    int KeyIndexAt(const QPoint& pos) const;  // first key containing pos, or -1
    static QRect KeyRect(const CoordKey& key);

    QSize sizeHint() const override;

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    bool LoadImageInto(const QString& imageId, QImage& image, QString& storedId);
    void DrawOverlay(QPainter& painter, const QImage& overlay, int32_t CoordKey::*flag) const;
    void UpdateHover(const QPoint& pos);
    void ClearHover();
    int FirstIndexOf(int32_t keyId) const;
    int32_t Notify(int index, ClickAction action, uint32_t flags, const QPoint& pos);
    void KeyStateChanged(int index);

    QImage m_bg;
    QImage m_hover;
    QImage m_checked;
    // Overlays accepted by the probe and not decoded yet.
    QString m_hoverPending, m_checkedPending;
    bool LoadOverlay(const QString& imageId, QImage& image, QString& storedId, QString& pending);
    void DecodePending(QImage& image, QString& pending, int32_t CoordKey::*flag);
    QString m_bgId, m_hoverId, m_checkedId;
    void EnsureKeys() const;

    // Loaded on first use; const lookups may be that first use.
    mutable std::vector<CoordKey> m_keys;
    mutable bool m_keysLoaded = false;
    QPixmap m_bgCache;  // the background already scaled to the device pixels of the last paint
    uint32_t m_defaultColor = 0xFFFFFFFF;
    int32_t m_selectionMode = SelectNone;
    QString m_crdxml;
    ICoordButtonClickListener* m_listener = nullptr;
};
