#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QDialog>
#include <QTimer>

#include "MainWindowFixture.h"

// ---- start-up

TEST_F(MainWindowTest, StartsConnectedSelectsProfileOneAndMarksTheSlotOwners) {
    keyboard.firmware().profile(0).macros[0].owner = 0x04;   // A owns a macro slot
    keyboard.firmware().profile(0).remaps[3].owner = 0x29;   // Esc owns a remap slot
    keyboard.firmware().profile(1).remaps[0].owner = 0x05;   // B, but in profile 2
    Start(false);
    EXPECT_EQ(ConnectionText(), "Connected");
    EXPECT_EQ(Tray()->balloonCount(), 0);
    EXPECT_EQ(Widget<QComboBox>("cmb_profile", "combobox")->currentIndex(), 0);
    EXPECT_EQ(Widget<QComboBox>("cmb_led_mode", "combobox")->currentIndex(), 0);
    // Profile 1 is selected and read back; the lighting is only shown, not sent.
    EXPECT_EQ(log, Join({{"set 07 FC 01 00 00 00 00 00", "sleep 50"}, ReadBackLines()}));
    EXPECT_TRUE(window->m_keyboardImage->IsChecked(0x04));
    EXPECT_TRUE(window->m_keyboardImage->IsChecked(0x29));
    EXPECT_FALSE(window->m_keyboardImage->IsChecked(0x05));
    EXPECT_EQ(window->m_state.m_macroKeyCodes[0], 0x04);
    // Mode 0 shows direction, speed and brightness, loaded from record 0.
    EXPECT_TRUE(window->m_directionPanel->isVisible());
    EXPECT_FALSE(window->m_colorPanel->isVisible());
    EXPECT_EQ(window->m_speedSlider->value(), 3);
    EXPECT_EQ(window->m_directionGroup.CheckedIndex(), 0);
}

TEST_F(MainWindowTest, StartsWithoutTheKeyboardUsableAndSaysSo) {
    keyboard.Unplug();
    Start(false);
    EXPECT_EQ(ConnectionText(), "Disconnected");
    EXPECT_EQ(Tray()->lastBalloon(), "Failed to open USB");
    EXPECT_TRUE(Sets().empty());
    EXPECT_TRUE(ModalSeam::TakeQuestions().empty());  // no error dialog
    for (uint8_t code : {0x04, 0x29}) EXPECT_FALSE(window->m_keyboardImage->IsChecked(code));
    // The window still works: a lighting change updates the record although nothing can be sent.
    Click("radio_direction_right");
    EXPECT_EQ(window->m_state.m_lightingModes[0][1], 2);
}

TEST_F(MainWindowTest, ALayoutWithoutItsWidgetsIsRefused) {
    CMainDlg bare(SourceResources(), backend, gate, pacer);  // never Create()d: no widgets at all
    QString missing;
    EXPECT_FALSE(bare.OnInitDialog(&missing));
    EXPECT_TRUE(missing.contains("img_keyboard"));
    EXPECT_TRUE(missing.contains("version"));
}

// ---- event map

TEST_F(MainWindowTest, EventMapDispatchesByNameBeforeIdAndChecksSliderClasses) {
    Start();
    UiEventHub& hub = window->hub();

    // A nameless widget with the id of bar_color4 takes the lighting path.
    QPushButton nameless(window.get());
    WidgetTree::SetId(&nameless, 65600);
    hub.Attach(&nameless);
    QTest::mouseClick(&nameless, Qt::LeftButton);
    EXPECT_EQ(Sets(), std::vector<std::string>{"07 F7 00 01 01 03 03 00"});
    log.clear();

    // btn_more is the more-menu even with a lighting id.
    QPushButton more(window.get());
    more.setObjectName("btn_more");
    WidgetTree::SetId(&more, 65600);
    hub.Attach(&more);
    EXPECT_TRUE(hub.Raise(&more, EventCmd));
    EXPECT_TRUE(Sets().empty());
    QWidget* popup = QApplication::activePopupWidget();
    ASSERT_TRUE(popup);
    popup->close();

    // bar_color0 is in no group but still triggers the lighting steps.
    Click("bar_color0");
    EXPECT_EQ(Sets(), std::vector<std::string>{"07 F7 00 00 01 03 03 00"});
    log.clear();

    // A slider event from a "bar_speed" that is no slider is consumed without a send.
    QPushButton fakeSlider(window.get());
    fakeSlider.setObjectName("bar_speed");
    EXPECT_TRUE(hub.Raise(&fakeSlider, EventSliderPos, 1));
    EXPECT_TRUE(Sets().empty());
    // The real slider, moved by the user, sends.
    window->m_speedSlider->setFocus();
    QTest::keyClick(window->m_speedSlider, Qt::Key_Left);
    EXPECT_EQ(Sets(), std::vector<std::string>{"07 F7 00 00 01 02 03 00"});
    // An unknown command is not handled.
    QPushButton other(window.get());
    other.setObjectName("something_else");
    EXPECT_FALSE(hub.Raise(&other, EventCmd));
}

// ---- lighting, driven like a person

TEST_F(MainWindowTest, LightingModesAndColoursSendTheirRecords) {
    Start();
    Pick("cmb_led_mode", 1);
    EXPECT_EQ(log, (Transcript{"sleep 50", "set 07 F7 01 01 01 03 03 00"}));
    EXPECT_TRUE(window->m_directionPanel->isVisible());
    EXPECT_TRUE(window->m_speedPanel->isVisible());
    EXPECT_TRUE(window->m_brightnessPanel->isVisible());
    EXPECT_TRUE(window->m_colorPanel->isVisible());
    EXPECT_FALSE(window->m_colorPanelBlack->isVisible());
    EXPECT_FALSE(window->m_userAreaPanel->isVisible());
    log.clear();

    Click("bar_color0");
    Click("bar_color7");
    EXPECT_EQ(Sets(), (std::vector<std::string>{"07 F7 01 00 01 03 03 00", "07 F7 01 07 01 03 03 00"}));
    log.clear();

    // Mode 3 reads the second colour row; the hidden speed slider's value goes along.
    Pick("cmb_led_mode", 3);
    EXPECT_FALSE(window->m_colorPanel->isVisible());
    EXPECT_TRUE(window->m_colorPanelBlack->isVisible());
    log.clear();
    const char* row2[] = {"bar_color00", "bar_color11", "bar_color22", "bar_color33",
                          "bar_color44", "bar_color55", "bar_color66", "bar_color77"};
    std::vector<std::string> expected;
    for (int k = 0; k < 8; ++k) {
        Click(row2[k]);
        char report[32];
        std::snprintf(report, sizeof report, "07 F7 03 %02X 01 03 03 00", k);
        expected.push_back(report);
    }
    EXPECT_EQ(Sets(), expected);
    log.clear();

    // Mode 8: area 1 off, areas 2-6 on their first colour.
    Pick("cmb_led_mode", 8);
    EXPECT_TRUE(window->m_userAreaPanel->isVisible());
    Click("udef_area1_color1");
    for (const char* name : {"udef_area2_color2", "udef_area3_color2", "udef_area4_color2", "udef_area5_color2",
                             "udef_area6_color2"})
        Click(name);
    EXPECT_EQ(Sets().back(), "07 F7 08 F0 00 00 03 00");

    // Back to mode 1: its record, colour 7 from before, is shown and sent again.
    log.clear();
    Pick("cmb_led_mode", 1);
    EXPECT_EQ(Sets(), std::vector<std::string>{"07 F7 01 07 01 03 03 00"});
    EXPECT_TRUE(Widget<QRadioButton>("bar_color7", "radio")->isChecked());
    EXPECT_EQ(keyboard.firmware().lighting(1)[0], 7);
}

// ---- profiles and factory reset

TEST_F(MainWindowTest, ChoosingAProfileSelectsItAndReadsBack) {
    keyboard.firmware().profile(1).remaps[0].owner = 0x05;
    Start();
    Pick("cmb_profile", 1);
    EXPECT_EQ(log, Join({{"set 07 FC 02 00 00 00 00 00", "sleep 50"}, ReadBackLines()}));
    EXPECT_EQ(window->m_state.m_profileIndex, 1);
    EXPECT_TRUE(window->m_keyboardImage->IsChecked(0x05));
}

TEST_F(MainWindowTest, FactoryResetAfterOkSendsInOrderAndCancelSendsNothing) {
    Start();
    Pick("cmb_led_mode", 4);
    Pick("cmb_profile", 2);
    log.clear();

    ModalSeam::QueueAnswer(ModalSeam::IdCancel);
    Click("btn_restore_factory");
    EXPECT_TRUE(log.empty());
    ModalSeam::TakeQuestions();

    ModalSeam::QueueAnswer(ModalSeam::IdOk);
    Click("btn_restore_factory");
    const auto asked = ModalSeam::TakeQuestions();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].caption, "Warning");
    EXPECT_EQ(asked[0].text, "All settings will be restored, are you sure you want to continue?");
    EXPECT_EQ(log, Join({{"sleep 50", "set 07 F0 AA 00 00 00 00 00"},
                         {"sleep 50", "set 07 F7 00 01 01 03 03 00"},
                         {"set 07 FC 01 00 00 00 00 00", "sleep 50"},
                         ReadBackLines(),
                         {"sleep 800"},
                         ReadBackLines()}));
    EXPECT_EQ(Widget<QComboBox>("cmb_profile", "combobox")->currentIndex(), 0);
    EXPECT_EQ(Widget<QComboBox>("cmb_led_mode", "combobox")->currentIndex(), 0);

    // Already at profile 1 and mode 0: only the reset and one read-back.
    log.clear();
    ModalSeam::QueueAnswer(ModalSeam::IdOk);
    Click("btn_restore_factory");
    EXPECT_EQ(log, Join({{"sleep 50", "set 07 F0 AA 00 00 00 00 00", "sleep 800"}, ReadBackLines()}));
}

TEST_F(MainWindowTest, FactoryResetQuestionIsAskedInTheUsersLanguage) {
    Start();
    UiLanguage::Install(SourceResources(), "lang_cn");
    ModalSeam::QueueAnswer(ModalSeam::IdCancel);
    Click("btn_restore_factory");
    const auto asked = ModalSeam::TakeQuestions();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].caption, QString::fromUtf8("警告"));
}

// ---- device changes

TEST_F(MainWindowTest, UnplugAndReplugFollowTheKeyboard) {
    keyboard.firmware().profile(0).macros[2].owner = 0x1E;
    Start();
    keyboard.Unplug();
    window->OnDeviceChange();
    EXPECT_EQ(ConnectionText(), "Disconnected");
    EXPECT_TRUE(log.empty());  // nothing reopened, nothing read
    EXPECT_TRUE(window->m_keyboardImage->IsChecked(0x1E));  // the marks stay

    keyboard.Replug();
    window->OnDeviceChange();
    EXPECT_EQ(ConnectionText(), "Connected");
    EXPECT_EQ(log, Join({{"set 07 FC 01 00 00 00 00 00", "sleep 50"}, ReadBackLines()}));

    // Any other device coming or going reopens and reads back again; the text stays.
    log.clear();
    window->OnDeviceChange();
    EXPECT_EQ(ConnectionText(), "Connected");
    EXPECT_EQ(Sets().front(), "07 FC 01 00 00 00 00 00");

    // Present but not openable: the balloon on every change.
    backend.failOpen = true;
    const int before = Tray()->balloonCount();
    window->OnDeviceChange();
    window->OnDeviceChange();
    EXPECT_EQ(Tray()->balloonCount(), before + 2);
    EXPECT_EQ(Tray()->lastBalloon(), "Failed to open USB");
    EXPECT_EQ(ConnectionText(), "Disconnected");
}

TEST_F(MainWindowTest, ABurstOfDeviceEventsReopensOnce) {
    Start();
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    int pending = 0;
    window->WatchDeviceChanges(fds[0], [&] {
        char buf[64];
        const ssize_t n = read(fds[0], buf, sizeof buf);
        pending = 0;
        return static_cast<int>(n > 0 ? n : 0);
    });
    ASSERT_EQ(write(fds[1], "aaaaa", 5), 5);  // five events at once
    QTest::qWait(50);
    int selects = 0;
    for (const std::string& s : Sets()) selects += s.rfind("07 FC", 0) == 0;
    EXPECT_EQ(selects, 1);
    close(fds[0]);
    close(fds[1]);
}

// ---- chrome

TEST_F(MainWindowTest, OnCommandRunsTheUpdaterOrClosesAndIgnoresTheRest) {
    Start();
    QSignalSpy destroyed(window.get(), &CMainDlg::windowDestroyed);
    QTemporaryDir dir;
    window->SetUpdaterPath(dir.filePath("update"));  // no such program

    window->OnCommand(1, 1);  // an accelerator: ignored
    window->OnCommand(0, 2);
    EXPECT_EQ(Tray()->balloonCount(), 0);
    EXPECT_TRUE(log.empty());

    window->OnCommand(0, 1);
    EXPECT_EQ(Tray()->lastBalloon(), "Failed to start the upgrade exe");
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(ConnectionText(), "Connected");  // reopened, no read-back
    EXPECT_TRUE(Sets().empty());

    window->OnCommand(0, 6);
    EXPECT_EQ(destroyed.count(), 0);  // posted, like a close message
    QApplication::processEvents();
    EXPECT_EQ(destroyed.count(), 1);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, TheUpdaterRunsWithTheChannelClosedAndTheWindowHidden) {
    Start();
    QTemporaryDir dir;
    const QString marker = dir.filePath("ran");
    WriteFile(dir.path(), "update", QByteArray("#!/bin/sh\necho ran > '") + marker.toUtf8() + "'\n");
    QFile::setPermissions(dir.filePath("update"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    window->SetUpdaterPath(dir.filePath("update"));
    window->OnCommand(0, 1);
    EXPECT_TRUE(QFile::exists(marker));
    EXPECT_EQ(Tray()->balloonCount(), 0);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(ConnectionText(), "Connected");

    keyboard.Unplug();
    window->OnCommand(0, 1);
    EXPECT_EQ(Tray()->lastBalloon(), "Failed to open USB");
    EXPECT_EQ(ConnectionText(), "Disconnected");
}

TEST_F(MainWindowTest, TitleButtonsLinkAndTray) {
    Start();
    QSignalSpy destroyed(window.get(), &CMainDlg::windowDestroyed);
    Click("logo_link");
    ASSERT_EQ(openedUrls.size(), 1u);
    EXPECT_TRUE(openedUrls[0].startsWith("https://"));

    // No tray here: minimising iconifies, so the window can still be found.
    Click("btn_min");
    EXPECT_TRUE(window->isMinimized() || !window->isVisible());
    window->BringToFront();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isMinimized());

    // The tray's left click hides a visible window and shows a hidden one in front.
    Tray()->Activate(QSystemTrayIcon::Trigger);
    EXPECT_FALSE(window->isVisible());
    Tray()->Activate(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(window->isVisible());

    // Tray menu items report their ids.
    ASSERT_TRUE(Tray()->menu());
    QSignalSpy commands(Tray(), &ShellNotifyIcon::command);
    for (QAction* a : Tray()->menu()->actions())
        if (!a->isSeparator() && WidgetTree::Id(a) == 6) a->trigger();
    EXPECT_EQ(commands.count(), 1);
    QApplication::processEvents();
    EXPECT_EQ(destroyed.count(), 1);
}

TEST_F(MainWindowTest, TheCloseButtonEndsTheWindowAtOnce) {
    Start();
    QSignalSpy destroyed(window.get(), &CMainDlg::windowDestroyed);
    Click("btn_close");
    EXPECT_EQ(destroyed.count(), 1);
    EXPECT_TRUE(ModalSeam::TakeQuestions().empty());
}

TEST_F(MainWindowTest, TheLanguageSwitchesAtOnceFromTheMoreMenu) {
    Start();
    window->ShowMoreMenu();
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_TRUE(menu);
    auto find = [&](const char* name) {
        for (QAction* a : menu->findChildren<QAction*>())
            if (a->objectName() == name) return a;
        return static_cast<QAction*>(nullptr);
    };
    ASSERT_TRUE(find("zh_cn"));
    find("zh_cn")->trigger();
    menu->close();
    EXPECT_EQ(ConnectionText(), QString::fromUtf8("已连接"));
    EXPECT_EQ(Widget<QPushButton>("btn_restore_factory", "button")->text(), QString::fromUtf8("恢复出厂设置"));
    EXPECT_EQ(Widget<QComboBox>("cmb_profile", "combobox")->itemText(1), QString::fromUtf8("配置 2"));

    window->SwitchLanguage(false);
    EXPECT_EQ(ConnectionText(), "Connected");
    EXPECT_EQ(Widget<QComboBox>("cmb_led_mode", "combobox")->itemText(8), "Custom zones");
}

// ---- the picture

TEST_F(MainWindowTest, AKeyReleasedOnThePicturePicksItForTheAssignmentDialog) {
    Start();
    CoordButtonImage* picture = window->m_keyboardImage;
    ASSERT_TRUE(picture->HasKey(0x04));
    const CoordKey* a = nullptr;
    for (const CoordKey& k : picture->Keys())
        if (k.id == 0x04) a = &k;
    ASSERT_TRUE(a);
    const QPoint centre((a->left + a->right) / 2, (a->top + a->bottom) / 2);
    QTest::mousePress(picture, Qt::LeftButton, {}, centre);
    EXPECT_TRUE(window->m_selectedKeys.empty());
    // The release opens the dialog with the key picked; cancelling it sends nothing.
    std::vector<SelectedKey> whileOpen;
    QTimer::singleShot(0, [&] {
        whileOpen.assign(window->m_selectedKeys.begin(), window->m_selectedKeys.end());
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->done(2);
    });
    QTest::mouseRelease(picture, Qt::LeftButton, {}, centre);
    ASSERT_EQ(whileOpen.size(), 1u);
    EXPECT_EQ(whileOpen[0].keyCode, 0x04);
    EXPECT_EQ(whileOpen[0].name, "A");
    EXPECT_TRUE(window->m_selectedKeys.empty());
    EXPECT_TRUE(Sets().empty());
}

TEST(SelectedKeySet, OrdersBySignedCodeWithOneEntryPerCode) {
    SelectedKeySet keys;
    for (uint8_t code : {0x04, 0xE0, 0x29, 0x04, 0x80}) keys.insert({code, QString::number(code)});
    std::vector<uint8_t> order;
    for (const SelectedKey& k : keys) order.push_back(k.keyCode);
    EXPECT_EQ(order, (std::vector<uint8_t>{0x80, 0xE0, 0x04, 0x29}));
}
