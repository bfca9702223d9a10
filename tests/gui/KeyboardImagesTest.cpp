#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QImageReader>
#include <QMouseEvent>

#include "app/CoordinateFile.h"
#include "app/KeyCodeTable.h"
#include "mainwnd/CoordButtonImage.h"
#include "platform/ApplicationFolder.h"

// The shipped images are drawn from res/keyboard.xml by tools/kbimage. These tests fail when the
// coordinate file changes without the images being drawn again (kbimage_regenerate).
namespace {

constexpr QSize kLogicalSize(980, 340);
constexpr int kScale = 2;

QString ImagePath(const char* name) { return QString(KBDCONF_SOURCE_DIR "/res/uires/image/keyboard/") + name; }

std::vector<CoordKey> ShippedKeys() { return CoordinateFile::Load(KBDCONF_SOURCE_DIR "/res/keyboard.xml"); }

QImage Load(const char* name) {
    QImage image = QImageReader(ImagePath(name)).read();
    return image.convertToFormat(QImage::Format_ARGB32);
}

// Device pixel at the logical point (x, y): the image pixel whose centre lies nearest.
QColor At(const QImage& image, qreal x, qreal y) { return image.pixelColor(int(x * kScale), int(y * kScale)); }

}  // namespace

TEST(KeyboardImages, OverlaysCoverExactlyTheKeys) {
    const std::vector<CoordKey> keys = ShippedKeys();
    ASSERT_EQ(keys.size(), static_cast<size_t>(kKeyCodeCount));
    for (const char* name : {"keyboard_floating.png", "keyboard_checked.png", "keyboard_pressed.png"}) {
        SCOPED_TRACE(name);
        const QImage image = Load(name);
        ASSERT_EQ(image.size(), kLogicalSize * kScale);
        QImage inside(image.size(), QImage::Format_Mono);
        inside.fill(0);
        for (const CoordKey& k : keys) {
            const QRect r(k.left * kScale, k.top * kScale, (k.right - k.left) * kScale, (k.bottom - k.top) * kScale);
            int opaque = 0;
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x) {
                    inside.setPixel(x, y, 1);
                    opaque += image.pixelColor(x, y).alpha() > 0;
                }
            EXPECT_GT(opaque, r.width() * r.height() * 8 / 10) << k.name;
            // The cap reaches every edge of its rectangle.
            const qreal midX = (k.left + k.right) / 2.0, midY = (k.top + k.bottom) / 2.0;
            for (QPointF p : {QPointF(k.left + 1, midY), QPointF(k.right - 1, midY), QPointF(midX, k.top + 1), QPointF(midX, k.bottom - 1)})
                EXPECT_GT(At(image, p.x(), p.y()).alpha(), 200) << k.name;
        }
        int stray = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) stray += !inside.pixelIndex(x, y) && image.pixelColor(x, y).alpha() > 0;
        EXPECT_EQ(stray, 0) << "pixels outside every key";
    }
}

TEST(KeyboardImages, BackgroundShowsACapOnEveryKey) {
    const QImage image = Load("keyboard_normal.png");
    ASSERT_EQ(image.size(), kLogicalSize * kScale);
    for (const CoordKey& k : ShippedKeys()) {
        const qreal midY = (k.top + k.bottom) / 2.0;
        const QColor skirt = At(image, k.left + 1.5, midY);
        const QColor plate = At(image, k.left - 1.5, midY);
        EXPECT_EQ(skirt.alpha(), 255) << k.name;
        EXPECT_EQ(plate.alpha(), 255) << k.name;
        EXPECT_GT(skirt.lightness(), plate.lightness() + 15) << k.name;
    }
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);  // rounded corners of the case
}

namespace {

class FirstClick : public ICoordButtonClickListener {
public:
    int32_t OnCoordButtonClick(int32_t keyId, QString name, ClickAction action, uint32_t, int32_t, int32_t) override {
        if (action == ClickAction::Up) {
            id = keyId;
            this->name = name;
        }
        return 0;
    }
    int32_t id = 0;
    QString name;
};

}  // namespace

// The picture as the program ships it: the coordinate file and images beside the program.
TEST(KeyboardImages, ShippedPictureFindsAndClicksKeysByName) {
    CoordButtonImage picture;
    const QString bin = KBDCONF_BIN_DIR;
    picture.SetAttribute("crdxml", QDir(QString::fromStdString(ApplicationFolder())).relativeFilePath(bin + "/keyboard.xml"));
    ASSERT_TRUE(picture.SetAttribute("bg", bin + "/uires/image/keyboard/keyboard_normal.png"));
    ASSERT_TRUE(picture.SetAttribute("chking", bin + "/uires/image/keyboard/keyboard_floating.png"));
    ASSERT_TRUE(picture.SetAttribute("chked", bin + "/uires/image/keyboard/keyboard_checked.png"));
    picture.SetAttribute("type", "1");
    EXPECT_EQ(picture.sizeHint(), kLogicalSize);
    picture.resize(picture.sizeHint());
    picture.show();
    FirstClick listener;
    picture.SetClickListener(&listener);

    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&picture);
    ASSERT_EQ(iface->childCount(), kKeyCodeCount);
    for (const char* wanted : {"Esc", "SpaceBar", "Pad Enter", "Arrow Right"}) {
        QAccessibleInterface* key = nullptr;
        for (int i = 0; i < iface->childCount() && !key; ++i)
            if (iface->child(i)->text(QAccessible::Name) == wanted) key = iface->child(i);
        ASSERT_NE(key, nullptr) << wanted;
        const QPoint centre = picture.mapFromGlobal(key->rect().center());
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent e(type, centre, picture.mapToGlobal(centre), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(&picture, &e);
        }
        EXPECT_EQ(listener.name, wanted);
        EXPECT_EQ(NameForUsage(static_cast<uint8_t>(listener.id)), std::string(wanted));
        EXPECT_TRUE(key->state().checked);
    }
}
