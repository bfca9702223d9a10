#include "platform/linux/gui/QtKeyboardHookSource.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

#include <vector>

namespace {

struct Seen {
    uint32_t message;
    uint32_t vk;
};

struct RecordingListener : IKeyboardHookListener {
    std::vector<Seen> seen;
    bool swallow = false;
    bool OnKeyboardHookEvent(int&, uint32_t& message, KeyboardHookEvent& data) override {
        seen.push_back({message, data.virtualKey});
        return swallow;
    }
};

class QtKeyboardHookSourceTest : public ::testing::Test {
protected:
    KeyboardHook hook;
    QtKeyboardHookSource source{hook};
    RecordingListener listener;
    QWidget window;
    QLineEdit* edit = new QLineEdit;

    void SetUp() override {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(edit);
        window.show();
        window.activateWindow();
        edit->setFocus();
        QApplication::processEvents();
        hook.SetSource(&source);
    }
    void Install() {
        ASSERT_TRUE(hook.Install());
        ASSERT_TRUE(hook.AddListener(&listener));
    }
    // A key as X11 and Wayland deliver it: the evdev code + 8 as native scan code.
    void Key(QEvent::Type type, int qtKey, quint32 evdev, const QString& text = {},
             Qt::KeyboardModifiers mods = Qt::NoModifier, bool autoRepeat = false) {
        QKeyEvent event(type, qtKey, mods, evdev + 8, 0, 0, text, autoRepeat);
        QCoreApplication::sendEvent(window.windowHandle(), &event);
    }
};

TEST_F(QtKeyboardHookSourceTest, OffersEachKeyOnceWithItsMessageAndVirtualKey) {
    Install();
    Key(QEvent::KeyPress, Qt::Key_A, 30, "a");
    Key(QEvent::KeyRelease, Qt::Key_A, 30, "a");
    ASSERT_EQ(listener.seen.size(), 2u);
    EXPECT_EQ(listener.seen[0].message, kMsgKeyDown);
    EXPECT_EQ(listener.seen[0].vk, 0x41u);
    EXPECT_EQ(listener.seen[1].message, kMsgKeyUp);
    EXPECT_EQ(edit->text(), "a");  // not swallowed: the edit got it
}

TEST_F(QtKeyboardHookSourceTest, SwallowedKeysReachNoWidget) {
    Install();
    listener.swallow = true;
    Key(QEvent::KeyPress, Qt::Key_A, 30, "a");
    Key(QEvent::KeyRelease, Qt::Key_A, 30, "a");
    EXPECT_EQ(edit->text(), "");
    EXPECT_EQ(listener.seen.size(), 2u);
}

TEST_F(QtKeyboardHookSourceTest, LeftAndRightModifiersAndAltHeldKeysAsSystemKeys) {
    Install();
    Key(QEvent::KeyPress, Qt::Key_Control, 97);   // right Ctrl
    Key(QEvent::KeyRelease, Qt::Key_Control, 97);
    Key(QEvent::KeyPress, Qt::Key_Alt, 56);       // left Alt
    Key(QEvent::KeyPress, Qt::Key_A, 30, "a", Qt::AltModifier);
    Key(QEvent::KeyRelease, Qt::Key_A, 30, "a", Qt::AltModifier);
    Key(QEvent::KeyRelease, Qt::Key_Alt, 56, {}, Qt::AltModifier);
    const std::vector<std::pair<uint32_t, uint32_t>> expected = {
        {kMsgKeyDown, 0xA3}, {kMsgKeyUp, 0xA3}, {kMsgSysKeyDown, 0xA4},
        {kMsgSysKeyDown, 0x41}, {kMsgSysKeyUp, 0x41}, {kMsgKeyUp, 0xA4}};
    ASSERT_EQ(listener.seen.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(listener.seen[i].message, expected[i].first) << i;
        EXPECT_EQ(listener.seen[i].vk, expected[i].second) << i;
    }
}

TEST_F(QtKeyboardHookSourceTest, AutoRepeatBecomesRepeatedPresses) {
    Install();
    listener.swallow = true;
    Key(QEvent::KeyPress, Qt::Key_A, 30, "a");
    Key(QEvent::KeyRelease, Qt::Key_A, 30, "a", Qt::NoModifier, true);
    Key(QEvent::KeyPress, Qt::Key_A, 30, "a", Qt::NoModifier, true);
    Key(QEvent::KeyRelease, Qt::Key_A, 30, "a");
    ASSERT_EQ(listener.seen.size(), 3u);
    EXPECT_EQ(listener.seen[0].message, kMsgKeyDown);
    EXPECT_EQ(listener.seen[1].message, kMsgKeyDown);
    EXPECT_EQ(listener.seen[2].message, kMsgKeyUp);
    EXPECT_EQ(edit->text(), "");  // the repeated release followed its swallowed press
}

TEST_F(QtKeyboardHookSourceTest, SilentWhileNotInstalled) {
    Install();
    ASSERT_TRUE(hook.Uninstall());
    Key(QEvent::KeyPress, Qt::Key_B, 48, "b");
    EXPECT_TRUE(listener.seen.empty());
    EXPECT_EQ(edit->text(), "b");
}

TEST_F(QtKeyboardHookSourceTest, UnknownScanCodeStillReachesListenersAsZero) {
    Install();
    Key(QEvent::KeyPress, Qt::Key_unknown, 84);
    ASSERT_EQ(listener.seen.size(), 1u);
    EXPECT_EQ(listener.seen[0].vk, 0u);
    // Without a native scan code the Qt key stands in.
    QKeyEvent synthetic(QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier);
    EXPECT_EQ(QtKeyboardHookSource::VirtualKeyOf(synthetic), 0x74);
}

}  // namespace
