#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "mainwnd/CoordButtonImage.h"
#include "platform/ApplicationFolder.h"

namespace {

struct Call {
    int32_t id;
    QString name;
    ClickAction action;
    uint32_t flags;
    int32_t x, y;
};

class RecordingListener : public ICoordButtonClickListener {
public:
    int32_t OnCoordButtonClick(int32_t keyId, QString name, ClickAction action, uint32_t keyFlags, int32_t x,
                               int32_t y) override {
        calls.push_back({keyId, name, action, keyFlags, x, y});
        return result;
    }
    std::vector<Call> calls;
    int32_t result = 0;
};

QString AppFolder() { return QString::fromStdString(ApplicationFolder()); }

// Coordinate files live below the application folder, where the picture looks for them.
class CoordButtonImageTest : public ::testing::Test {
protected:
    CoordButtonImageTest() : m_dir(AppFolder() + "/cbimg-XXXXXX") {}

    // Writes a file into the test's folder; gives its name relative to the application folder.
    QString WriteFile(const QByteArray& text, const QString& name = "keys.xml") {
        QFile f(m_dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return QDir(AppFolder()).relativeFilePath(f.fileName());
    }

    std::unique_ptr<CoordButtonImage> Picture(const QByteArray& keys, int mode = 0) {
        auto picture = std::make_unique<CoordButtonImage>();
        picture->SetAttribute("crdxml", WriteFile("<positions>" + keys + "</positions>"));
        picture->SetSelectionMode(mode);
        picture->resize(100, 50);
        picture->SetClickListener(&listener);
        picture->LoadKeys();
        return picture;
    }

    // A and B side by side, and a key without id below them.
    std::unique_ptr<CoordButtonImage> ThreeKeys(int mode = 0) {
        return Picture(R"(<k id="4" name="A" rect="0,0,10,10"/><k id="5" name="B" rect="20,0,10,10"/>
                          <k name="none" rect="0,20,10,10"/>)",
                       mode);
    }

    static void Mouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button,
                      Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const Qt::MouseButtons buttons = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::MouseButtons();
        QMouseEvent e(type, pos, w->mapToGlobal(pos), button, buttons, modifiers);
        QApplication::sendEvent(w, &e);
    }
    static void Press(QWidget* w, QPoint p, Qt::KeyboardModifiers m = Qt::NoModifier) {
        Mouse(w, QEvent::MouseButtonPress, p, Qt::LeftButton, m);
    }
    static void Release(QWidget* w, QPoint p) { Mouse(w, QEvent::MouseButtonRelease, p, Qt::LeftButton); }
    static void Move(QWidget* w, QPoint p) { Mouse(w, QEvent::MouseMove, p, Qt::NoButton); }

    static std::vector<int32_t> Checked(const CoordButtonImage& picture) {
        std::vector<int32_t> out;
        for (const CoordKey& k : picture.Keys()) out.push_back(k.checked);
        return out;
    }

    QTemporaryDir m_dir;
    RecordingListener listener;
};

// The picture as its parent would see it: no window background behind it.
QImage Shot(QWidget& w, qreal dpr = 1) {
    QImage image((QSizeF(w.size()) * dpr).toSize(), QImage::Format_ARGB32);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    w.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    return image;
}

QImage Solid(QSize size, QColor color) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

}  // namespace

TEST_F(CoordButtonImageTest, PressAndReleaseOnAKeyCallTheListener) {
    auto picture = ThreeKeys();
    Press(picture.get(), {3, 4}, Qt::ShiftModifier);
    EXPECT_EQ(picture->Keys()[0].pressed, 1);
    Release(picture.get(), {8, 9});
    ASSERT_EQ(listener.calls.size(), 2u);
    const Call& down = listener.calls[0];
    EXPECT_EQ(down.id, 4);
    EXPECT_EQ(down.name, "A");
    EXPECT_EQ(down.action, ClickAction::Down);
    EXPECT_EQ(down.flags, MouseKeyFlags::LButton | MouseKeyFlags::Shift);
    EXPECT_EQ(down.x, 3);
    EXPECT_EQ(down.y, 4);
    const Call& up = listener.calls[1];
    EXPECT_EQ(up.id, 4);
    EXPECT_EQ(up.action, ClickAction::Up);
    EXPECT_EQ(up.flags, 0u);  // the button is already up
    EXPECT_EQ(up.x, 8);
    EXPECT_EQ(up.y, 9);
    EXPECT_EQ(picture->Keys()[0].pressed, 0);
}

TEST_F(CoordButtonImageTest, ReleasesOnlyCountOnThePressedKey) {
    auto picture = ThreeKeys();
    Press(picture.get(), {50, 40});  // no key there
    EXPECT_TRUE(listener.calls.empty());

    Press(picture.get(), {1, 1});
    Release(picture.get(), {15, 5});  // between the keys: nothing, A stays pressed
    ASSERT_EQ(listener.calls.size(), 1u);
    EXPECT_EQ(picture->Keys()[0].pressed, 1);

    Release(picture.get(), {25, 5});  // on B, which was never pressed
    EXPECT_EQ(listener.calls.size(), 1u);
    EXPECT_EQ(picture->Keys()[0].pressed, 1);

    Release(picture.get(), {5, 5});  // a later release on A still completes A's click
    ASSERT_EQ(listener.calls.size(), 2u);
    EXPECT_EQ(listener.calls[1].action, ClickAction::Up);

    Mouse(picture.get(), QEvent::MouseButtonPress, {25, 5}, Qt::RightButton);
    EXPECT_EQ(listener.calls.size(), 2u);  // only the left button clicks keys
}

// On scaled screens positions carry fractions: the pixel under the mouse decides, not the
// nearest pixel edge.
TEST_F(CoordButtonImageTest, FractionalPositionsHitThePixelUnderTheMouse) {
    auto picture = ThreeKeys();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(9.6, 9.6), picture->mapToGlobal(QPointF(9.6, 9.6)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(picture.get(), &press);
    ASSERT_EQ(listener.calls.size(), 1u);
    EXPECT_EQ(listener.calls[0].id, 4);
    EXPECT_EQ(listener.calls[0].x, 9);
}

TEST_F(CoordButtonImageTest, ExtremeRectanglesAreHarmless) {
    auto picture = Picture(R"(<k id="1" name="far" rect="2147483000,-2147483648,2147483647,2147483647"/>
                              <k id="2" name="inverted" rect="50,50,-20,-20"/><k id="3" name="ok" rect="0,0,5,5"/>)");
    picture->show();
    picture->SetChecked(CoordButtonImage::ALL_KEYS, 1);
    Move(picture.get(), {40, 40});
    EXPECT_EQ(picture->Keys()[1].hover, 0);  // an inverted rectangle contains nothing
    EXPECT_FALSE(Shot(*picture).isNull());
    EXPECT_FALSE(picture->sizeHint().isEmpty());
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(picture.get());
    for (int i = 0; i < iface->childCount(); ++i) EXPECT_GE(iface->child(i)->rect().width(), 0);
    EXPECT_EQ(iface->child(1)->rect(), QRect());
}

TEST_F(CoordButtonImageTest, SelectionModes) {
    const struct {
        int mode;
        int32_t listenerResult;
        bool withListener;
        std::vector<QPoint> presses;
        std::vector<int32_t> checked;
    } cases[] = {
        {1, 0, true, {{5, 5}, {25, 5}}, {0, 1, 0}},          // single: B replaces A
        {1, 0, true, {{5, 5}, {5, 5}}, {1, 0, 0}},           // single: pressing A again keeps it
        {2, 0, true, {{5, 5}, {25, 5}}, {1, 1, 0}},          // multiple: both
        {2, 0, true, {{5, 5}, {25, 5}, {5, 5}}, {0, 1, 0}},  // multiple: a second press unmarks
        {0, 0, true, {{5, 5}}, {0, 0, 0}},
        {7, 0, true, {{5, 5}}, {0, 0, 0}},                   // unknown modes select nothing
        {2, 1, true, {{5, 5}}, {0, 0, 0}},                   // a handling listener skips selection
        {1, 0, false, {{25, 5}}, {0, 1, 0}},                 // no listener: selection applies
    };
    for (const auto& c : cases) {
        listener.result = c.listenerResult;
        auto picture = ThreeKeys(c.mode);
        if (!c.withListener) picture->SetClickListener(nullptr);
        for (QPoint p : c.presses) {
            Press(picture.get(), p);
            Release(picture.get(), p);
        }
        EXPECT_EQ(Checked(*picture), c.checked) << "mode " << c.mode << " listener " << c.listenerResult;
    }
}

TEST_F(CoordButtonImageTest, HoverFollowsTheMouseAndLeaveClearsIt) {
    auto picture = Picture(R"(<k id="1" name="first" rect="0,0,20,20"/><k id="2" name="second" rect="10,0,20,20"/>
                              <k id="3" name="third" rect="40,0,5,5"/>)");
    Move(picture.get(), {15, 5});  // both overlapping keys
    EXPECT_EQ(picture->Keys()[0].hover, 1);
    EXPECT_EQ(picture->Keys()[1].hover, 1);
    EXPECT_EQ(picture->Keys()[2].hover, 0);
    EXPECT_EQ(picture->toolTip(), "second");  // the last key in file order names it

    Press(picture.get(), {15, 5});
    ASSERT_EQ(listener.calls.size(), 1u);
    EXPECT_EQ(listener.calls[0].name, "first");  // a press goes to the first

    Move(picture.get(), {42, 2});
    EXPECT_EQ(picture->Keys()[0].hover, 0);
    EXPECT_EQ(picture->Keys()[2].hover, 1);
    EXPECT_EQ(picture->toolTip(), "third");

    Move(picture.get(), {45, 2});  // right edge is exclusive
    EXPECT_EQ(picture->Keys()[2].hover, 0);
    EXPECT_EQ(picture->toolTip(), "");

    Move(picture.get(), {5, 5});
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(picture.get(), &leave);
    for (const CoordKey& k : picture->Keys()) EXPECT_EQ(k.hover, 0);
    EXPECT_EQ(picture->toolTip(), "");
}

TEST_F(CoordButtonImageTest, OperationsByIdReachTheFirstKey) {
    auto picture = Picture(R"(<k id="9" rect="0,0,5,5"/><k id="9" rect="10,0,5,5"/><k rect="20,0,5,5"/><k id="3"/>)");
    ASSERT_EQ(picture->Keys().size(), 4u);
    picture->SetChecked(9, 1);
    EXPECT_EQ(Checked(*picture), (std::vector<int32_t>{1, 0, 0, 0}));
    picture->SetChecked(-1, 1);  // the key without id
    EXPECT_EQ(Checked(*picture), (std::vector<int32_t>{1, 0, 1, 0}));
    picture->ToggleChecked(CoordButtonImage::ALL_KEYS);
    EXPECT_EQ(Checked(*picture), (std::vector<int32_t>{0, 1, 0, 1}));
    EXPECT_EQ(picture->IsChecked(3), 1);
    EXPECT_EQ(picture->IsChecked(9), 0);  // the first 9, though the second is checked
    EXPECT_EQ(picture->IsChecked(1234), 0);
    picture->SetChecked(CoordButtonImage::ALL_KEYS, 0);
    EXPECT_EQ(Checked(*picture), (std::vector<int32_t>{0, 0, 0, 0}));
    picture->SetChecked(777, 1);  // unknown ids change nothing
    EXPECT_EQ(Checked(*picture), (std::vector<int32_t>{0, 0, 0, 0}));

    picture->SetKeyColor(9, 0xFF0000FF);
    EXPECT_EQ(picture->Keys()[0].color, 0xFF0000FFu);
    EXPECT_EQ(picture->Keys()[1].color, 0xFFFFFFFFu);
    picture->SetKeyColor(CoordButtonImage::ALL_KEYS, 0x11223344);
    for (const CoordKey& k : picture->Keys()) EXPECT_EQ(k.color, 0x11223344u);

    EXPECT_TRUE(picture->HasKey(3));  // counted even without a rectangle
    EXPECT_TRUE(picture->HasKey(-1));
    EXPECT_FALSE(picture->HasKey(4));
}

TEST_F(CoordButtonImageTest, CoordinateFileIsReadOnceAndFailsQuietly) {
    auto picture = ThreeKeys();
    picture->SetCoordinateFileName(WriteFile("<positions><k id='1'/></positions>", "other.xml"));
    picture->LoadKeys();
    EXPECT_EQ(picture->Keys().size(), 3u);

    const QByteArray broken[] = {"", "<positions><k id='1'", "<other><k id='1'/></other>", QByteArray(5000, '\xff')};
    for (const QByteArray& text : broken) {
        CoordButtonImage bad;
        bad.SetCoordinateFileName(WriteFile(text, "bad.xml"));
        bad.resize(50, 50);
        EXPECT_TRUE(bad.Keys().empty());
        EXPECT_FALSE(bad.grab().isNull());
        Press(&bad, {1, 1});
        Move(&bad, {1, 1});
    }
    CoordButtonImage missing;
    missing.SetCoordinateFileName("no/such/keyboard.xml");
    EXPECT_FALSE(missing.HasKey(-1));
    CoordButtonImage unnamed;
    EXPECT_TRUE(unnamed.Keys().empty());
}

TEST_F(CoordButtonImageTest, AttributesAndProperties) {
    CoordButtonImage picture;
    const struct {
        const char* text;
        int32_t mode;
    } modes[] = {{"1", 1}, {"0x2", 2}, {" 0X10", 16}, {"2junk", 2}, {"junk", 0}, {"", 0}, {"-1", -1}};
    for (const auto& m : modes) {
        EXPECT_TRUE(picture.SetAttribute("TYPE", m.text));
        EXPECT_EQ(picture.SelectionMode(), m.mode) << m.text;
    }
    EXPECT_TRUE(picture.setProperty("type", 2));  // an integer from a layout converts too
    EXPECT_EQ(picture.SelectionMode(), 2);
    EXPECT_TRUE(picture.setProperty("crdxml", QString("keyboard.xml")));
    EXPECT_EQ(picture.CoordinateFileName(), "keyboard.xml");
    EXPECT_FALSE(picture.SetAttribute("width", "10"));  // not ours

    // Images: a good file replaces the old one, a bad one fails and keeps it.
    QImage image = Solid({8, 4}, Qt::red);
    const QString path = m_dir.filePath("bg.png");
    ASSERT_TRUE(image.save(path));
    EXPECT_TRUE(picture.SetAttribute("Bg", path));
    EXPECT_EQ(picture.property("bg").toString(), path);
    EXPECT_EQ(picture.sizeHint(), QSize(8, 4));
    EXPECT_FALSE(picture.SetAttribute("bg", m_dir.filePath("missing.png")));
    EXPECT_FALSE(picture.SetAttribute("chking", m_dir.filePath("missing.png")));
    EXPECT_EQ(picture.BackgroundId(), path);
    EXPECT_EQ(picture.sizeHint(), QSize(8, 4));

    // 2x artwork is recognised by its stored resolution and keeps the logical size.
    image = Solid({16, 8}, Qt::red);
    image.setDotsPerMeterX(7559);
    image.setDotsPerMeterY(7559);
    ASSERT_TRUE(image.save(path));
    EXPECT_TRUE(picture.setProperty("bg", path));
    EXPECT_EQ(picture.sizeHint(), QSize(8, 4));

    // A resource layer can take over the naming of images and texts.
    CoordButtonImage::SetImageResolver([](const QString& id) { return id == "img:kb" ? Solid({30, 20}, Qt::blue) : QImage(); });
    EXPECT_TRUE(picture.SetAttribute("bg", "img:kb"));
    EXPECT_EQ(picture.sizeHint(), QSize(30, 20));
    const QString file = WriteFile("<positions><k id='5'/></positions>", "x.xml");
    CoordButtonImage::SetStringResolver([&](const QString& text) { return text == "@string/crd" ? file : text; });
    CoordButtonImage named;
    named.SetCoordinateFileName("@string/crd");
    EXPECT_TRUE(named.HasKey(5));
    CoordButtonImage::SetImageResolver(nullptr);
    CoordButtonImage::SetStringResolver(nullptr);
    EXPECT_FALSE(picture.SetAttribute("bg", "img:kb"));
}

// Key colours first, the background over them, then hover and checked overlays copied key by
// key from the same place of their images.
TEST_F(CoordButtonImageTest, DrawingOrder) {
    auto picture = Picture(R"(<k id="1" color="#FF0000FF" rect="0,0,40,20"/><k id="2" color="FF00FF00" rect="50,0,20,20"/>
                              <k id="3" color="#FF00FF00" rect="50,30,20,20"/>)");
    // Background: transparent on the left half, opaque blue on the right.
    QImage bg(100, 50, QImage::Format_ARGB32);
    bg.fill(Qt::transparent);
    QPainter(&bg).fillRect(50, 0, 50, 50, Qt::blue);
    picture->SetBackgroundImage(bg);
    // A hover image whose parts differ, so that a shifted or scaled copy shows.
    QImage hover = Solid({100, 50}, Qt::green);
    QPainter(&hover).fillRect(0, 0, 20, 50, Qt::darkGreen);
    picture->SetHoverImageData(hover);
    picture->SetCheckedImageData(Solid({100, 50}, Qt::yellow));

    QImage shot = Shot(*picture);
    EXPECT_EQ(shot.pixelColor(5, 5), QColor(Qt::red));    // key colour where the background is clear
    EXPECT_EQ(shot.pixelColor(45, 5).alpha(), 0);         // no key, no background
    EXPECT_EQ(shot.pixelColor(55, 5), QColor(Qt::blue));  // opaque background covers the key colour

    Move(picture.get(), {5, 5});
    picture->SetChecked(2, 1);
    shot = Shot(*picture);
    EXPECT_EQ(shot.pixelColor(5, 5), QColor(Qt::darkGreen));  // hover image at the same place
    EXPECT_EQ(shot.pixelColor(30, 5), QColor(Qt::green));
    EXPECT_EQ(shot.pixelColor(5, 25).alpha(), 0);  // nothing outside the key
    EXPECT_EQ(shot.pixelColor(55, 5), QColor(Qt::yellow));
    EXPECT_EQ(shot.pixelColor(55, 35), QColor(Qt::blue));

    picture->SetChecked(1, 1);  // hovered and checked: checked on top
    shot = picture->grab().toImage();
    EXPECT_EQ(shot.pixelColor(5, 5), QColor(Qt::yellow));
}

// 2x artwork drawn into the logical rectangles: on a 2x target every device pixel comes from
// its own image pixel, and the picture keeps its logical size.
TEST_F(CoordButtonImageTest, HighDensityImagesStayCrisp) {
    auto picture = Picture(R"(<k id="1" rect="10,10,20,10"/>)");
    QImage checker(200, 100, QImage::Format_ARGB32);
    QImage stripes(200, 100, QImage::Format_ARGB32);
    for (int y = 0; y < checker.height(); ++y)
        for (int x = 0; x < checker.width(); ++x) {
            checker.setPixelColor(x, y, (x + y) % 2 ? Qt::white : Qt::black);
            stripes.setPixelColor(x, y, x % 2 ? Qt::red : Qt::blue);
        }
    checker.setDevicePixelRatio(2);
    stripes.setDevicePixelRatio(2);
    picture->SetBackgroundImage(checker);
    picture->SetCheckedImageData(stripes);
    picture->SetChecked(1, 1);
    EXPECT_EQ(picture->sizeHint(), QSize(100, 50));
    picture->resize(picture->sizeHint());

    const QImage target = Shot(*picture, 2);
    int wrong = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) {
            const bool inKey = x >= 20 && x < 60 && y >= 20 && y < 40;
            const QColor want = inKey ? (x % 2 ? Qt::red : Qt::blue) : ((x + y) % 2 ? Qt::white : Qt::black);
            wrong += target.pixelColor(x, y) != want;
        }
    EXPECT_EQ(wrong, 0);

    const QImage shot = picture->grab().toImage();
    EXPECT_EQ(shot.size() / shot.devicePixelRatio(), QSize(100, 50));
}

TEST_F(CoordButtonImageTest, KeysAreAccessibleByName) {
    auto picture = ThreeKeys();
    picture->show();
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(picture.get());
    ASSERT_NE(iface, nullptr);
    ASSERT_EQ(iface->childCount(), 3);
    QAccessibleInterface* b = iface->child(1);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->text(QAccessible::Name), "B");
    EXPECT_EQ(b->role(), QAccessible::Button);
    EXPECT_EQ(b->parent(), iface);
    EXPECT_EQ(iface->indexOfChild(b), 1);
    EXPECT_EQ(b->rect(), QRect(picture->mapToGlobal(QPoint(20, 0)), QSize(10, 10)));
    EXPECT_FALSE(b->state().checked);
    picture->SetChecked(5, 1);
    EXPECT_TRUE(b->state().checked);
    EXPECT_EQ(iface->childAt(b->rect().center().x(), b->rect().center().y()), b);
    EXPECT_EQ(iface->child(1), b);  // the same interface each time
}
