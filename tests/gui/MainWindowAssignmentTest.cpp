// The road of a key assignment through the real main window and the real dialog, against the
// emulated keyboard: click a key on the picture, record a macro, confirm; then delete it again.
#include "AssignmentFlowFixture.h"
#include "macro/KeyboardHook.h"

namespace {

TEST_F(AssignmentFlowTest, RecordConfirmAndDeleteAMacroOnAKey) {
    Start();
    constexpr uint8_t kKey = 0x3A;  // F1
    ClickKey(kKey, [](MacroRecordDlg& dlg) {
        EXPECT_EQ(dlg.findChild<QLabel*>("text_recording_keys")->text(), "F1");
        ClickIn(dlg, "groupAdd");
        QTest::mouseClick(dlg.groupList()->Row(0)->FindChild("group_name", "edit"), Qt::LeftButton);
        ClickIn(dlg, "chk_macro_no_delay");
        ClickIn(dlg, "chk_macro_record");
        Press(dlg, QEvent::KeyPress, Qt::Key_A, 30);
        Press(dlg, QEvent::KeyRelease, Qt::Key_A, 30);
        ClickIn(dlg, "chk_macro_record");
        ClickIn(dlg, "btnOK");
    });
    EXPECT_FALSE(KeyboardHook::Instance().IsInstalled());
    EXPECT_TRUE(window->m_selectedKeys.empty());
    const KeyboardFirmware::MacroSlot& slot = keyboard.firmware().profile(0).macros[0];
    EXPECT_EQ(slot.owner, kKey);
    const std::array<uint8_t, 10> expected = {1, 1, kKey, 1, 4, 0x01, 4, 0x81, 0, 0};
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), slot.image.bytes.begin()));
    EXPECT_TRUE(window->m_keyboardImage->IsChecked(kKey));
    // The recorded macro stays in the library.
    MacroLibrary onDisk(MacroLibrary::DefaultPath());
    ASSERT_TRUE(onDisk.Load());
    EXPECT_EQ(onDisk.groups.at(0).events.size(), 2u);

    ClickKey(kKey, [](MacroRecordDlg& dlg) { ClickIn(dlg, "btnDelete"); });
    EXPECT_EQ(keyboard.firmware().profile(0).macros[0].owner, 0);
    EXPECT_FALSE(window->m_keyboardImage->IsChecked(kKey));
}

TEST_F(AssignmentFlowTest, ASingleKeyGoesIntoARemapSlotAndCancelSendsNothing) {
    Start();
    ClickKey(0x29, [](MacroRecordDlg& dlg) {
        dlg.findChild<QTabWidget*>("tab_macro_mode_selection")->setCurrentIndex(AssignmentPageSingleKey);
        Press(dlg, QEvent::KeyPress, Qt::Key_A, 30);
        Press(dlg, QEvent::KeyRelease, Qt::Key_A, 30);
        ClickIn(dlg, "btnOK");
    });
    EXPECT_TRUE(Sent("07 FA 01 01 29 01 04 01"));
    EXPECT_EQ(keyboard.firmware().profile(0).remaps[0].target, 4);
    EXPECT_TRUE(window->m_keyboardImage->IsChecked(0x29));

    log.clear();
    ClickKey(0x29, [](MacroRecordDlg& dlg) { ClickIn(dlg, "btnCancel"); });
    EXPECT_TRUE(Sets().empty());
}

}  // namespace
