#include <QComboBox>
#include <QHeaderView>
#include <QTreeView>

#include "MacroDialogFixture.h"

namespace {

QString Text(QWidget* w) {
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
    return {};
}

TEST_F(MacroDialogTest, FirstOpeningShowsTheDefaults) {
    Open();
    EXPECT_EQ(W<QTabWidget>("tab_macro_mode_selection")->currentIndex(), 0);
    EXPECT_EQ(Text(W("edit_macro_repeat_times")), "1");
    EXPECT_EQ(Text(W("edit_macro_delay_time")), "10");
    EXPECT_FALSE(W("edit_macro_delay_time")->isEnabled());
    EXPECT_TRUE(W<QCheckBox>("chk_macro_realy_delay")->isChecked());
    EXPECT_FALSE(W<QCheckBox>("chk_macro_fixed_delay")->isChecked());
    EXPECT_FALSE(W<QCheckBox>("chk_macro_record")->isChecked());
    EXPECT_EQ(Text(W("chk_macro_record")), "Start record");
    EXPECT_EQ(Text(W("text_recording_keys")), "F1");
    EXPECT_EQ(dlg->eventList()->RowCount(), 0);
    EXPECT_EQ(W<QComboBox>("cmb_media_keys")->currentIndex(), 0);
    EXPECT_TRUE(KeyboardHook::Instance().IsInstalled());
    // Showing the remembered group is the only thing opening writes, and it changes no value.
    EXPECT_EQ(StoredState().Serialize(), AssignmentDialogState().Serialize());
}

TEST_F(MacroDialogTest, RecordingAPressAndReleaseInEachDelayMode) {
    struct Case { const char* box; const char* first; };
    for (Case c : {Case{"chk_macro_realy_delay", "4/A/0/120"}, {"chk_macro_fixed_delay", "4/A/0/10"},
                   {"chk_macro_no_delay", "4/A/0/0"}}) {
        WriteLibrary({{"Group 0", {}}});
        Open();
        Click(c.box);
        SelectGroup(0);
        Click("chk_macro_record");
        ASSERT_TRUE(W<QCheckBox>("chk_macro_record")->isChecked());
        EXPECT_EQ(Text(W("chk_macro_record")), "Stop record");
        W<QLineEdit>("edit_macro_repeat_times")->setFocus();
        Press(Qt::Key_A, 30, "a");
        clock.now += 120;
        Release(Qt::Key_A, 30, "a");
        EXPECT_EQ(Events(), (std::vector<std::string>{c.first, "4/A/1/0"})) << c.box;
        // The keys went into the macro and nowhere else.
        EXPECT_EQ(Text(W("edit_macro_repeat_times")), "1");
        EXPECT_EQ(OnDisk().groups[0].events.size(), 2u);
        EXPECT_EQ(dlg->eventList()->RowCount(), 2);
        EXPECT_EQ(Text(dlg->eventList()->Row(1)->FindChild("key_state", "text")), "key up");
        dlg.reset();
    }
}

TEST_F(MacroDialogTest, AReleaseFirstAndUnknownKeysAreSwallowedWithoutAnEvent) {
    WriteLibrary({{"g", {}}});
    Open();
    SelectGroup(0);
    Click("chk_macro_record");
    Release(Qt::Key_A, 30, "a");
    Press(Qt::Key_unknown, 84);
    EXPECT_TRUE(Events().empty());
}

TEST_F(MacroDialogTest, TheRecordBoxNeedsASelectedGroup) {
    WriteLibrary({{"g", {}}});
    Open();
    dlg->groupList()->SetSelectedRow(-1);
    Click("chk_macro_record");
    EXPECT_FALSE(W<QCheckBox>("chk_macro_record")->isChecked());
    EXPECT_FALSE(KeyboardHook::Instance().IsInstalled());
    W<QLineEdit>("edit_macro_repeat_times")->setFocus();
    TypeA();
    EXPECT_TRUE(Events().empty());
}

TEST_F(MacroDialogTest, LeavingForTheMediaTabTurnsRecordingOff) {
    WriteLibrary({{"g", {}}});
    Open();
    SelectGroup(0);
    Click("chk_macro_record");
    ShowTab(AssignmentPageMediaKey);
    EXPECT_FALSE(KeyboardHook::Instance().IsInstalled());
    ShowTab(AssignmentPageMacro);
    EXPECT_FALSE(KeyboardHook::Instance().IsInstalled());
    TypeA();
    EXPECT_TRUE(Events().empty());
    EXPECT_EQ(StoredState().page, 0);
    // Unchecking and checking again records.
    Click("chk_macro_record");
    Click("chk_macro_record");
    TypeA();
    EXPECT_EQ(Events().size(), 2u);
}

TEST_F(MacroDialogTest, TheSingleKeyTabSwallowsEverythingAndRemembersTheKey) {
    WriteLibrary({{"g", {}}});
    Open();
    ShowTab(AssignmentPageSingleKey);
    EXPECT_TRUE(KeyboardHook::Instance().IsInstalled());
    Press(Qt::Key_Control, 97);
    Release(Qt::Key_Control, 97);
    EXPECT_EQ(Text(W("edit_single_key")), "Ctrl Right");
    EXPECT_EQ(dlg->capturedSingleKey(), 0xE4);
    EXPECT_EQ(StoredState().sgcode, 0xE4);
    // Escape would close the dialog; here it is just the key captured.
    Press(Qt::Key_Escape, 1);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(Text(W("edit_single_key")), "Esc");
    Press(Qt::Key_unknown, 84);
    EXPECT_EQ(Text(W("edit_single_key")), "Esc");
    EXPECT_EQ(dlg->capturedSingleKey(), 0);
    EXPECT_TRUE(Events().empty());
}

TEST_F(MacroDialogTest, TheEightyFirstEventWarnsOnceAndTheKeyGoesThrough) {
    std::vector<std::string> full;
    for (int i = 0; i < 40; ++i) full.insert(full.end(), {"4:0:10", "4:1:10"});
    WriteLibrary({{"g", full}});
    Open();
    SelectGroup(0);
    Click("chk_macro_record");
    auto* repeat = W<QLineEdit>("edit_macro_repeat_times");
    repeat->setFocus();
    repeat->selectAll();
    Press(Qt::Key_7, 8, "7");
    const auto questions = ModalSeam::TakeQuestions();
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].text, "Insufficient space, recording up to 40 buttons!");
    EXPECT_EQ(questions[0].caption, "Warning");
    EXPECT_EQ(Events().size(), 80u);
    EXPECT_EQ(repeat->text(), "7");  // it reached the focused edit
}

TEST_F(MacroDialogTest, GroupButtonsMoveTheSelectionAsSpecified) {
    WriteLibrary({{"a", {}}, {"b", {}}, {"c", {"5:0:0"}}, {"d", {}}, {"e", {}}});
    Open();
    auto* list = dlg->groupList();
    SelectGroup(1);
    Click("groupAdd");
    EXPECT_EQ(dlg->library().GroupCount(), 6);
    EXPECT_EQ(dlg->library().groups[5].name, "Group 5");
    EXPECT_EQ(list->SelectedRow(), 2);
    EXPECT_EQ(dlg->eventList()->RowCount(), 1);  // group c is shown
    EXPECT_EQ(StoredState().groupsel, 2);

    SelectGroup(5);
    Click("groupDel");
    EXPECT_EQ(list->SelectedRow(), 4);
    EXPECT_EQ(OnDisk().GroupCount(), 5);

    list->SetSelectedRow(-1);
    Click("groupDel");  // no selection: the last group goes
    EXPECT_EQ(dlg->library().GroupCount(), 4);
    EXPECT_EQ(dlg->library().groups[3].name, "d");
    EXPECT_EQ(dlg->eventList()->RowCount(), 0);
}

TEST_F(MacroDialogTest, RenamingSavesEveryKeystrokeWithoutRebuilding) {
    WriteLibrary({{"a", {"4:0:0"}}, {"b", {}}});
    Open();
    SelectGroup(0);
    auto* name = qobject_cast<QLineEdit*>(dlg->groupList()->Row(1)->FindChild("group_name", "edit"));
    name->setFocus();
    name->end(false);
    QTest::keyClicks(name, "xy");
    EXPECT_EQ(OnDisk().groups[1].name, "bxy");
    EXPECT_EQ(dlg->eventList()->RowCount(), 1);  // still group a
    EXPECT_EQ(name->cursorPosition(), 3);
}

TEST_F(MacroDialogTest, EventButtonsWithAndWithoutASelection) {
    WriteLibrary({{"g", {"4:0:1", "5:0:2", "6:0:3"}}});
    Open();
    SelectGroup(0);
    auto* list = dlg->eventList();
    Click("item_up");  // no selection: nothing
    Click("item_down");
    EXPECT_EQ(Events()[0], "4/A/0/1");
    list->SetSelectedRow(1);
    Click("item_up");
    EXPECT_EQ(OnDisk().groups[0].events[0].code, "5");
    EXPECT_EQ(list->SelectedRow(), 0);
    Click("item_up");  // first row: nothing
    EXPECT_EQ(Events()[0], "5/B/0/2");
    list->SetSelectedRow(2);
    Click("item_down");  // last row: nothing visible
    EXPECT_EQ(Events()[2], "6/C/0/3");
    EXPECT_EQ(list->SelectedRow(), 2);
    list->SetSelectedRow(-1);
    Click("item_delete");  // no selection: the last event
    EXPECT_EQ(Events().size(), 2u);
    Click("item_clear");
    EXPECT_TRUE(OnDisk().groups[0].events.empty());
    EXPECT_EQ(OnDisk().GroupCount(), 1);
}

TEST_F(MacroDialogTest, DelayEditsKeepNumbersAsTypedAndRevertTheRest) {
    WriteLibrary({{"g", {"4:0:120"}}});
    Open();
    SelectGroup(0);
    auto* delay = qobject_cast<QLineEdit*>(dlg->eventList()->Row(0)->FindChild("key_delay", "editex"));
    ASSERT_NE(delay, nullptr);
    EXPECT_EQ(delay->text(), "120");
    struct Case { const char* typed; const char* stored; const char* shown; };
    for (Case c : {Case{"250", "250", "250"}, {"1x", "1x", "1x"}, {"x", "1x", "1x"}, {"", "", ""}}) {
        delay->setFocus();
        delay->selectAll();
        if (*c.typed) QTest::keyClicks(delay, c.typed);
        else QTest::keyClick(delay, Qt::Key_Backspace);
        EXPECT_EQ(OnDisk().groups[0].events[0].delay, c.stored) << c.typed;
        EXPECT_EQ(delay->text(), c.shown) << c.typed;
    }
}

TEST_F(MacroDialogTest, HeaderClicksMoveTheMarksButNeverTheRows) {
    WriteLibrary({{"g", {"5:0:0", "4:0:0"}}});
    Open();
    SelectGroup(0);
    auto* view = W<QTreeView>("key_info");
    emit view->header()->sectionClicked(1);
    EXPECT_EQ(view->header()->sortIndicatorSection(), 1);
    EXPECT_EQ(view->header()->sortIndicatorOrder(), Qt::AscendingOrder);
    emit view->header()->sectionClicked(1);
    EXPECT_EQ(view->header()->sortIndicatorOrder(), Qt::DescendingOrder);
    EXPECT_EQ(Text(dlg->eventList()->Row(0)->FindChild("key_code", "text")), "5");
    EXPECT_EQ(Events()[0], "5/B/0/0");
}

TEST_F(MacroDialogTest, ConfirmingEachTabFillsTheImage) {
    WriteLibrary({{"g", {"4:0:100", "4:1:0"}}});
    State().page = AssignmentPageMacro;
    Open();
    SelectGroup(0);
    Click("btnOK");
    EXPECT_EQ(dlg->result(), MacroRecordDlg::kResultConfirmed);
    const std::array<uint8_t, 8> macro = {0, 0, 0x3A, 1, 4, 0x0A, 4, 0x81};
    EXPECT_TRUE(std::equal(macro.begin(), macro.end(), image.bytes.begin()));

    image.Clear();
    Open();
    ShowTab(AssignmentPageSingleKey);
    Press(Qt::Key_B, 48, "b");
    Click("btnOK");
    EXPECT_EQ(image[2], 5);
    EXPECT_EQ(image[3], 0);

    image.Clear();
    Open();  // the remembered single key is shown but not used
    EXPECT_EQ(Text(W("edit_single_key")), "B");
    Click("btnOK");
    EXPECT_EQ(image[2], 0);

    image.Clear();
    Open();
    ShowTab(AssignmentPageMediaKey);
    W<QComboBox>("cmb_media_keys")->setCurrentIndex(6);  // Mute, 226
    Click("btnOK");
    EXPECT_EQ(image[2], 226);
    EXPECT_EQ(image[3], 0);

    image.Clear();
    Open();
    ShowTab(AssignmentPageFunction);
    Click("btnOK");  // Copy (Ctrl+C): 224, 6
    const std::array<uint8_t, 12> chord = {0, 0, 0x3A, 1, 224, 0x45, 6, 0x45, 0x06, 0x81, 0xE0, 0x81};
    EXPECT_TRUE(std::equal(chord.begin(), chord.end(), image.bytes.begin()));
}

TEST_F(MacroDialogTest, DeleteAndCancelLeaveTheImageAlone) {
    Open();
    Click("btnDelete");
    EXPECT_EQ(dlg->result(), MacroRecordDlg::kResultDelete);
    Open();
    Click("btnCancel");
    EXPECT_EQ(dlg->result(), MacroRecordDlg::kResultCancel);
    Open();
    static_cast<QDialog*>(dlg.get())->reject();
    EXPECT_EQ(dlg->result(), MacroRecordDlg::kResultCancel);
    EXPECT_EQ(image.bytes, KeyAssignment().bytes);
}

TEST_F(MacroDialogTest, ClosingTakesTheListenerAndTheHookAway) {
    Open();
    dlg.reset();
    EXPECT_FALSE(KeyboardHook::Instance().IsInstalled());
    EXPECT_FALSE(KeyboardHook::Instance().HasListeners());
}

TEST_F(MacroDialogTest, DelayModesAndTheFixedDelay) {
    State().delay = 40;
    Open();
    auto* delay = W<QLineEdit>("edit_macro_delay_time");
    Click("chk_macro_fixed_delay");
    EXPECT_TRUE(delay->isEnabled());
    EXPECT_EQ(delay->text(), "40");
    delay->selectAll();
    QTest::keyClicks(delay, "75");
    EXPECT_EQ(StoredState().delay, 75);
    Click("chk_macro_no_delay");
    EXPECT_EQ(delay->text(), "0");
    EXPECT_FALSE(delay->isEnabled());
    EXPECT_EQ(StoredState().dlymode, 2);
    Click("chk_macro_fixed_delay");
    EXPECT_EQ(delay->text(), "75");
    auto* repeat = W<QLineEdit>("edit_macro_repeat_times");
    repeat->selectAll();
    QTest::keyClicks(repeat, "300");
    EXPECT_EQ(StoredState().repeat, 300);
}

TEST_F(MacroDialogTest, ImportReplacesTheLibraryAndExportWritesItWhole) {
    WriteLibrary({{"a", {"4:0:0"}}, {"b", {"5:0:0"}}});
    Open();
    SelectGroup(1);
    const QString exported = dir.filePath("out.mcr");
    ModalSeam::QueueFileName(exported);
    Click("groupExport");
    MacroLibrary copy(exported.toStdString());
    ASSERT_TRUE(copy.Load());
    EXPECT_EQ(copy.groups, dlg->library().groups);
    EXPECT_EQ(ModalSeam::TakeQuestions().at(0).text, "mcr文件(mcr) (*.mcr)");

    // A wrong extension does nothing.
    ModalSeam::QueueFileName(dir.filePath("out.MCR"));
    Click("groupExport");
    EXPECT_FALSE(QFile::exists(dir.filePath("out.MCR")));

    MacroLibrary other(dir.filePath("in.mcr").toStdString());
    other.AddGroup("only");
    other.groups[0].AddEvent(7, 0, "D", 5);
    ASSERT_TRUE(other.Save());
    ModalSeam::QueueFileName(dir.filePath("in.mcr"));
    Click("groupImport");
    EXPECT_EQ(OnDisk().groups, other.groups);
    EXPECT_EQ(dlg->groupList()->RowCount(), 1);
    EXPECT_EQ(dlg->groupList()->SelectedRow(), -1);
    EXPECT_EQ(dlg->eventList()->RowCount(), 0);  // the shown group went with the old library

    // A broken file changes nothing and says so.
    QFile broken(dir.filePath("broken.mcr"));
    broken.open(QIODevice::WriteOnly);
    broken.write("<group><items name=\"x\">");
    broken.close();
    ModalSeam::TakeQuestions();
    ModalSeam::QueueFileName(broken.fileName());
    Click("groupImport");
    EXPECT_EQ(OnDisk().groups, other.groups);
    EXPECT_EQ(ModalSeam::TakeQuestions().size(), 2u);  // the file dialog and the warning
}

TEST_F(MacroDialogTest, ALibraryThatCannotBeWrittenIsReportedAndKeptInTheDialog) {
    dlg = std::make_unique<MacroRecordDlg>(keys, image, dir.filePath("gone/macro.xml").toStdString(), nullptr, clock);
    ASSERT_TRUE(dlg->Create(SourceResources()));
    dlg->show();
    EXPECT_EQ(Text(W("macro_status")), "");
    Click("groupAdd");
    EXPECT_EQ(dlg->library().GroupCount(), 1);
    EXPECT_EQ(Text(W("macro_status")), "The macro library could not be saved to macro.xml.");
}

TEST_F(MacroDialogTest, AMacroLongerThanTheImageIsCutAndSaidSo) {
    std::vector<std::string> events(90, "4:0:10");
    WriteLibrary({{"long", events}});
    Open();
    SelectGroup(0);
    Click("btnOK");
    EXPECT_EQ(dlg->result(), MacroRecordDlg::kResultConfirmed);
    EXPECT_EQ(image[166], 4);  // the 82nd step is the last
    ASSERT_EQ(ModalSeam::TakeQuestions().size(), 1u);
}

}  // namespace

namespace {

TEST_F(MacroDialogTest, EnterInARowEditDoesNotEndTheDialog) {
    WriteLibrary({{"a", {"4:0:1"}}});
    Open();
    SelectGroup(0);
    auto* name = qobject_cast<QLineEdit*>(dlg->groupList()->Row(0)->FindChild("group_name", "edit"));
    name->setFocus();
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(image.bytes, KeyAssignment().bytes);
}

}  // namespace
