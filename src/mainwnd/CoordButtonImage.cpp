#include "mainwnd/CoordButtonImage.h"

#include <QAccessible>
#include <QFileInfo>
#include <QImageReader>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QToolTip>
#include <QtMath>
#include <algorithm>
#include <cmath>

#include "app/CoordinateFile.h"
#include "app/NumberText.h"
#include "mainwnd/CoordButtonImageAccessible.h"
#include "platform/ApplicationFolder.h"

namespace {

QString AppFolder() { return QString::fromStdString(ApplicationFolder()); }

// 2x artwork says so either in its name ("name@2x.png", which the reader already honours) or by
// a stored resolution of twice the 96 dpi baseline.
void ApplyImageScale(QImage& image) {
    if (image.isNull() || image.devicePixelRatio() != 1.0) return;
    constexpr double kBaselineDotsPerMeter = 96.0 / 0.0254;
    const double ratio = image.dotsPerMeterX() / kBaselineDotsPerMeter;
    const double whole = std::round(ratio);
    if (whole >= 2 && whole <= 4 && std::abs(ratio - whole) < 0.05) image.setDevicePixelRatio(whole);
}

QImage LoadImageFile(const QString& path) {
    QImageReader reader(path);
    QImage image = reader.read();
    ApplyImageScale(image);
    return image;
}

QImage DefaultImageResolver(const QString& id) {
    if (id.isEmpty()) return {};
    if (QFileInfo(id).isAbsolute() || id.startsWith(u':')) return LoadImageFile(id);
    QImage image = LoadImageFile(AppFolder() + QStringLiteral("/uires/") + id);
    if (image.isNull()) image = LoadImageFile(AppFolder() + u'/' + id);
    return image;
}

CoordButtonImage::ImageResolver& ImageResolverSlot() {
    static CoordButtonImage::ImageResolver resolver = DefaultImageResolver;
    return resolver;
}

CoordButtonImage::ImageProbe& ImageProbeSlot() {
    static CoordButtonImage::ImageProbe probe;
    return probe;
}

CoordButtonImage::StringResolver& StringResolverSlot() {
    static CoordButtonImage::StringResolver resolver = [](const QString& text) { return text; };
    return resolver;
}

QAccessibleInterface* AccessibleFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("CoordButtonImage") && object && object->isWidgetType())
        return new CoordButtonImageAccessible(static_cast<CoordButtonImage*>(object));
    return nullptr;
}

QColor ToQColor(uint32_t abgr) {
    return QColor(abgr & 0xFF, (abgr >> 8) & 0xFF, (abgr >> 16) & 0xFF, (abgr >> 24) & 0xFF);
}

// The pixel under the mouse: positions may carry fractions on scaled screens.
QPoint PixelAt(const QMouseEvent* e) {
    return QPoint(qFloor(e->position().x()), qFloor(e->position().y()));
}

uint32_t KeyFlags(const QMouseEvent* e) {
    uint32_t flags = 0;
    const Qt::MouseButtons b = e->buttons();
    if (b & Qt::LeftButton) flags |= MouseKeyFlags::LButton;
    if (b & Qt::RightButton) flags |= MouseKeyFlags::RButton;
    if (b & Qt::MiddleButton) flags |= MouseKeyFlags::MButton;
    if (b & Qt::BackButton) flags |= MouseKeyFlags::XButton1;
    if (b & Qt::ForwardButton) flags |= MouseKeyFlags::XButton2;
    if (e->modifiers() & Qt::ShiftModifier) flags |= MouseKeyFlags::Shift;
    if (e->modifiers() & Qt::ControlModifier) flags |= MouseKeyFlags::Control;
    return flags;
}

}  // namespace

void CoordButtonImage::SetImageResolver(ImageResolver resolver) {
    ImageResolverSlot() = resolver ? std::move(resolver) : DefaultImageResolver;
}

QImage CoordButtonImage::LoadImageFile(const QString& path) { return ::LoadImageFile(path); }

void CoordButtonImage::SetImageProbe(ImageProbe probe) { ImageProbeSlot() = std::move(probe); }

void CoordButtonImage::SetStringResolver(StringResolver resolver) {
    StringResolverSlot() = resolver ? std::move(resolver) : [](const QString& text) { return text; };
}

CoordButtonImage::CoordButtonImage(QWidget* parent) : QWidget(parent) {
    static const bool factoryInstalled = (QAccessible::installFactory(AccessibleFactory), true);
    (void)factoryInstalled;
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setAccessibleName(tr("Keyboard"));
}

CoordButtonImage::~CoordButtonImage() = default;

bool CoordButtonImage::SetAttribute(const QString& name, const QString& value) {
    const QString key = name.toLower();
    if (key == QLatin1String("bg")) return SetBackground(value);
    if (key == QLatin1String("chking")) return SetHoverImage(value);
    if (key == QLatin1String("chked")) return SetCheckedImage(value);
    if (key == QLatin1String("type")) {
        SetSelectionModeText(value);
        return true;
    }
    if (key == QLatin1String("crdxml")) {
        SetCoordinateFileName(value);
        return true;
    }
    return false;
}

bool CoordButtonImage::LoadImageInto(const QString& imageId, QImage& image, QString& storedId) {
    QImage loaded = ImageResolverSlot()(imageId);
    if (loaded.isNull()) return false;
    image = std::move(loaded);
    storedId = imageId;
    m_bgCache = QPixmap();
    update();
    return true;
}

bool CoordButtonImage::SetBackground(const QString& imageId) { return LoadImageInto(imageId, m_bg, m_bgId); }
bool CoordButtonImage::SetHoverImage(const QString& imageId) {
    return LoadOverlay(imageId, m_hover, m_hoverId, m_hoverPending);
}
bool CoordButtonImage::SetCheckedImage(const QString& imageId) {
    return LoadOverlay(imageId, m_checked, m_checkedId, m_checkedPending);
}

bool CoordButtonImage::LoadOverlay(const QString& imageId, QImage& image, QString& storedId, QString& pending) {
    const ImageProbe& probe = ImageProbeSlot();
    if (!probe) {
        if (!LoadImageInto(imageId, image, storedId)) return false;
        pending.clear();
        return true;
    }
    if (imageId.isEmpty() || !probe(imageId)) return false;
    image = QImage();
    storedId = imageId;
    pending = imageId;
    update();
    return true;
}

void CoordButtonImage::DecodePending(QImage& image, QString& pending, int32_t CoordKey::*flag) {
    if (pending.isEmpty()) return;
    if (std::none_of(m_keys.begin(), m_keys.end(), [flag](const CoordKey& k) { return k.*flag != 0; })) return;
    image = ImageResolverSlot()(pending);
    pending.clear();
}

void CoordButtonImage::SetBackgroundImage(const QImage& image) {
    m_bg = image;
    m_bgCache = QPixmap();
    updateGeometry();
    update();
}

void CoordButtonImage::SetHoverImageData(const QImage& image) {
    m_hover = image;
    m_hoverPending.clear();
    update();
}

void CoordButtonImage::SetCheckedImageData(const QImage& image) {
    m_checked = image;
    m_checkedPending.clear();
    update();
}

void CoordButtonImage::SetSelectionModeText(const QString& text) {
    const std::string t = text.toStdString();
    const std::string_view v = t;
    size_t i = 0;
    while (i < v.size() && (v[i] == ' ' || v[i] == '\t')) ++i;
    const bool hex = v.size() > i + 1 && v[i] == '0' && (v[i + 1] == 'x' || v[i + 1] == 'X');
    m_selectionMode = hex ? ParseHex32(v) : ParseDecimal32(v);
}

void CoordButtonImage::LoadKeys() { EnsureKeys(); }

void CoordButtonImage::EnsureKeys() const {
    if (m_keysLoaded) return;
    m_keysLoaded = true;
    if (m_crdxml.isEmpty()) return;
    const QString name = StringResolverSlot()(m_crdxml);
    if (name.isEmpty()) return;
    std::vector<CoordKey> loaded = CoordinateFile::Load(CoordinateFile::PathFor(ApplicationFolder(), name.toStdString()), m_defaultColor);
    for (CoordKey& key : loaded) m_keys.push_back(std::move(key));
}

const std::vector<CoordKey>& CoordButtonImage::Keys() const {
    EnsureKeys();
    return m_keys;
}

QRect CoordButtonImage::KeyRect(const CoordKey& key) {
    if (key.right <= key.left || key.bottom <= key.top) return QRect();
    // Far beyond any screen, and small enough that QRect's width and height cannot overflow.
    static constexpr int32_t kReach = 1 << 24;
    const auto clamp = [](int32_t v) { return std::clamp(v, -kReach, kReach); };
    return QRect(QPoint(clamp(key.left), clamp(key.top)), QPoint(clamp(key.right - 1), clamp(key.bottom - 1)));
}

int CoordButtonImage::KeyIndexAt(const QPoint& pos) const {
    EnsureKeys();
    for (size_t i = 0; i < m_keys.size(); ++i)
        if (m_keys[i].Contains(pos.x(), pos.y())) return static_cast<int>(i);
    return -1;
}

int CoordButtonImage::FirstIndexOf(int32_t keyId) const {
    EnsureKeys();
    for (size_t i = 0; i < m_keys.size(); ++i)
        if (m_keys[i].id == keyId) return static_cast<int>(i);
    return -1;
}

void CoordButtonImage::KeyStateChanged(int index) {
    if (QAccessible::isActive() && index >= 0) {
        QAccessible::State changed;
        changed.checked = true;
        changed.hotTracked = true;
        changed.pressed = true;
        QAccessibleStateChangeEvent event(this, changed);
        event.setChild(index);
        QAccessible::updateAccessibility(&event);
    }
}

void CoordButtonImage::SetChecked(int32_t keyId, int32_t value) {
    EnsureKeys();
    if (keyId == ALL_KEYS) {
        for (size_t i = 0; i < m_keys.size(); ++i) m_keys[i].checked = value;
        for (size_t i = 0; i < m_keys.size(); ++i) KeyStateChanged(static_cast<int>(i));
    } else if (const int i = FirstIndexOf(keyId); i >= 0) {
        m_keys[i].checked = value;
        KeyStateChanged(i);
    }
    update();
}

void CoordButtonImage::ToggleChecked(int32_t keyId) {
    EnsureKeys();
    if (keyId == ALL_KEYS) {
        for (size_t i = 0; i < m_keys.size(); ++i) m_keys[i].checked = !m_keys[i].checked;
        for (size_t i = 0; i < m_keys.size(); ++i) KeyStateChanged(static_cast<int>(i));
    } else if (const int i = FirstIndexOf(keyId); i >= 0) {
        m_keys[i].checked = !m_keys[i].checked;
        KeyStateChanged(i);
    }
    update();
}

int32_t CoordButtonImage::IsChecked(int32_t keyId) const {
    const int i = FirstIndexOf(keyId);
    return i >= 0 ? m_keys[i].checked : 0;
}

void CoordButtonImage::SetKeyColor(int32_t keyId, uint32_t color) {
    EnsureKeys();
    if (keyId == ALL_KEYS) {
        for (CoordKey& key : m_keys) key.color = color;
    } else if (const int i = FirstIndexOf(keyId); i >= 0) {
        m_keys[i].color = color;
    }
    update();
}

bool CoordButtonImage::HasKey(int32_t keyId) const { return FirstIndexOf(keyId) >= 0; }

QSize CoordButtonImage::sizeHint() const {
    if (!m_bg.isNull()) return (QSizeF(m_bg.size()) / m_bg.devicePixelRatio()).toSize();
    QRect bounds;
    for (const CoordKey& key : Keys()) bounds |= KeyRect(key);
    return bounds.isEmpty() ? QSize(100, 40) : QSize(bounds.right() + 1, bounds.bottom() + 1);
}

bool CoordButtonImage::event(QEvent* e) {
    if (e->type() == QEvent::Polish) EnsureKeys();
    return QWidget::event(e);
}

void CoordButtonImage::DrawOverlay(QPainter& painter, const QImage& overlay, int32_t CoordKey::*flag) const {
    if (overlay.isNull()) return;
    const qreal scale = overlay.devicePixelRatio();
    for (const CoordKey& key : m_keys) {
        if (!(key.*flag)) continue;
        const QRectF target(key.left, key.top, qreal(key.right) - key.left, qreal(key.bottom) - key.top);
        if (target.isEmpty()) continue;
        const QRectF source(target.topLeft() * scale, target.size() * scale);
        painter.drawImage(target, overlay, source);
    }
}

void CoordButtonImage::paintEvent(QPaintEvent*) {
    EnsureKeys();
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const CoordKey& key : m_keys) {
        const QRectF r(key.left, key.top, qreal(key.right) - key.left, qreal(key.bottom) - key.top);
        if (!r.isEmpty()) painter.fillRect(r, ToQColor(key.color));
    }
    if (!m_bg.isNull()) {
        // Scaling the whole background on every mouse move would dominate the repaint; it only
        // changes with the widget's size or the target's pixel density. The target is the
        // engine's device: when the picture is rendered into an image, that is the image.
        const QPaintDevice* target = painter.paintEngine() ? painter.paintEngine()->paintDevice() : nullptr;
        const qreal dpr = target ? target->devicePixelRatioF() : devicePixelRatioF();
        const QSize devicePixels = (QSizeF(size()) * dpr).toSize();
        if (m_bgCache.isNull() || m_bgCache.size() != devicePixels || m_bgCache.devicePixelRatio() != dpr) {
            QImage scaled = m_bg.scaled(devicePixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            scaled.setDevicePixelRatio(dpr);
            m_bgCache = QPixmap::fromImage(std::move(scaled));
        }
        painter.drawPixmap(QPointF(0, 0), m_bgCache);
    }
    DecodePending(m_hover, m_hoverPending, &CoordKey::hover);
    DecodePending(m_checked, m_checkedPending, &CoordKey::checked);
    DrawOverlay(painter, m_hover, &CoordKey::hover);
    DrawOverlay(painter, m_checked, &CoordKey::checked);
}

int32_t CoordButtonImage::Notify(int index, ClickAction action, uint32_t flags, const QPoint& pos) {
    if (!m_listener) return 0;
    const CoordKey& key = m_keys[index];
    return m_listener->OnCoordButtonClick(key.id, QString::fromStdString(key.name), action, flags, pos.x(), pos.y());
}

void CoordButtonImage::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return QWidget::mousePressEvent(e);
    const QPoint pos = PixelAt(e);
    const int index = KeyIndexAt(pos);
    if (index < 0) return;
    const int32_t keyId = m_keys[index].id;
    if (Notify(index, ClickAction::Down, KeyFlags(e), pos) == 0) {
        if (m_selectionMode == SelectSingle) {
            SetChecked(ALL_KEYS, 0);
            ToggleChecked(keyId);
        } else if (m_selectionMode == SelectMultiple) {
            ToggleChecked(keyId);
        }
        update();
    }
    m_keys[index].pressed = 1;
    KeyStateChanged(index);
    update();
}

void CoordButtonImage::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(e);
    const QPoint pos = PixelAt(e);
    const int index = KeyIndexAt(pos);
    if (index < 0) return;
    if (m_keys[index].pressed) Notify(index, ClickAction::Up, KeyFlags(e), pos);
    m_keys[index].pressed = 0;
    KeyStateChanged(index);
    update();
}

void CoordButtonImage::UpdateHover(const QPoint& pos) {
    EnsureKeys();
    const CoordKey* last = nullptr;
    for (CoordKey& key : m_keys) {
        key.hover = key.Contains(pos.x(), pos.y()) ? 1 : 0;
        if (key.hover) last = &key;
    }
    const QString tip = last ? QString::fromStdString(last->name) : QString();
    if (tip != toolTip()) {
        setToolTip(tip);
        // A tooltip already showing follows the mouse to the next key instead of going stale.
        if (QToolTip::isVisible()) {
            if (tip.isEmpty()) QToolTip::hideText();
            else QToolTip::showText(mapToGlobal(pos), tip, this, KeyRect(*last));
        }
    }
    update();
}

void CoordButtonImage::ClearHover() {
    for (CoordKey& key : m_keys) key.hover = 0;
    setToolTip(QString());
    update();
}

void CoordButtonImage::mouseMoveEvent(QMouseEvent* e) { UpdateHover(PixelAt(e)); }

void CoordButtonImage::leaveEvent(QEvent* e) {
    ClearHover();
    QWidget::leaveEvent(e);
}
