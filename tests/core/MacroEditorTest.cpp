#include "macro/MacroEventEditor.h"
#include "macro/MacroGroupEditor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestFiles.h"

namespace {

class MacroEditor : public ::testing::Test {
protected:
    TempFolder dir;
    MacroLibrary lib{dir / "macro.xml"};

    void Groups(int count) {
        for (int i = 0; i < count; ++i) lib.AddDefaultGroup();
        ASSERT_TRUE(lib.Save());
    }
    // What the file says now, loaded back.
    MacroLibrary OnDisk() {
        MacroLibrary disk;
        disk.LoadMacroFile(lib.path);
        return disk;
    }
    std::string Codes(const MacroGroup* g) {
        std::string out;
        for (const MacroEvent& e : g->events) out += (out.empty() ? "" : ",") + e.code;
        return out;
    }
};

TEST_F(MacroEditor, GroupButtonsMoveTheSelectionAndSave) {
    struct Case {
        const char* what;
        int groups;
        bool add;
        int selected;
        int selectedAfter;
        int groupsAfter;
    };
    const Case cases[] = {
        {"add after row 1 of 5", 5, true, 1, 2, 6},
        {"add after the last row", 5, true, 4, 5, 6},
        {"add with no selection", 5, true, -1, -1, 6},
        {"add to an empty library", 0, true, -1, -1, 1},
        {"delete row 4 of 5", 5, false, 4, 3, 4},
        {"delete row 2 of 5", 5, false, 2, 2, 4},
        {"delete row 0 of 1", 1, false, 0, 0, 0},
        {"delete with no selection", 5, false, -1, -1, 4},
        {"delete in an empty library", 0, false, -1, -1, 0},
    };
    for (const Case& c : cases) {
        lib.groups.clear();
        Groups(c.groups);
        MacroGroupEditor editor(lib);
        const int after = c.add ? editor.AddButton(c.selected) : editor.DeleteButton(c.selected);
        EXPECT_EQ(after, c.selectedAfter) << c.what;
        EXPECT_EQ(lib.GroupCount(), c.groupsAfter) << c.what;
        EXPECT_EQ(OnDisk().groups, lib.groups) << c.what;
    }
    // The group deleted without a selection is the last one; the new group is "Group N".
    lib.groups.clear();
    Groups(3);
    MacroGroupEditor editor(lib);
    editor.DeleteButton(-1);
    editor.AddButton(-1);
    EXPECT_EQ(lib.Group(2)->name, "Group 2");
    EXPECT_EQ(OnDisk().Group(1)->name, "Group 1");
}

TEST_F(MacroEditor, RenameAndNamedAddSaveOnlyWhenSomethingChanges) {
    Groups(2);
    MacroGroupEditor editor(lib);
    EXPECT_TRUE(editor.Rename(1, "Combo"));
    EXPECT_EQ(OnDisk().Group(1)->name, "Combo");
    unlink(lib.path.c_str());
    EXPECT_FALSE(editor.Rename(1, "Combo"));  // same text: no save
    EXPECT_FALSE(editor.Rename(2, "x"));      // no such group
    EXPECT_FALSE(editor.AddNamedGroup(""));
    EXPECT_FALSE(FileExists(lib.path));
    EXPECT_TRUE(editor.AddNamedGroup("New"));
    EXPECT_EQ(OnDisk().GroupCount(), 3);
    // Clearing a name is stored, and the unnamed group survives the next load.
    EXPECT_TRUE(editor.Rename(0, ""));
    EXPECT_EQ(lib.GroupCount(), 3);
    EXPECT_EQ(OnDisk().GroupCount(), 3);
    EXPECT_EQ(OnDisk().Group(0)->name, "");
}

TEST_F(MacroEditor, EventOperationsAreInertWithoutAGroup) {
    Groups(1);
    MacroEventEditor events(lib);
    unlink(lib.path.c_str());
    EXPECT_FALSE(events.AddEvent(4, 0, "A", 0));
    EXPECT_FALSE(events.MoveUp(1));
    EXPECT_FALSE(events.MoveDown(0));
    EXPECT_FALSE(events.RemoveEvent(-1));
    EXPECT_FALSE(events.Clear());
    EXPECT_EQ(events.EditDelay(0, "5"), MacroEventEditor::DelayEdit::Ignored);
    EXPECT_EQ(events.UpButton(1), 1);
    EXPECT_EQ(events.DownButton(-1), -1);
    EXPECT_EQ(events.EventCount(), 0);
    EXPECT_FALSE(FileExists(lib.path));

    events.ShowGroup(lib.Group(0));
    EXPECT_FALSE(events.AddEvent(0, 0, "none", 0));  // code 0: nothing, not even a save
    EXPECT_FALSE(FileExists(lib.path));
}

TEST_F(MacroEditor, EventButtonsMoveDeleteAndClear) {
    struct Case {
        const char* what;
        bool up;
        int selected;
        int selectedAfter;
        const char* order;
    };
    const Case cases[] = {
        {"up from row 2", true, 2, 1, "1,3,2,4"},   {"up from row 0", true, 0, 0, "1,2,3,4"},
        {"up, no selection", true, -1, -1, "1,2,3,4"}, {"down from row 1", false, 1, 2, "1,3,2,4"},
        {"down from the last row", false, 3, 3, "1,2,3,4"}, {"down, no selection", false, -1, -1, "1,2,3,4"},
    };
    Groups(1);
    MacroEventEditor events(lib);
    events.ShowGroup(lib.Group(0));
    for (const Case& c : cases) {
        events.Clear();
        for (int code = 1; code <= 4; ++code) ASSERT_TRUE(events.AddEvent(code, 0, "", 0));
        unlink(lib.path.c_str());
        EXPECT_EQ(c.up ? events.UpButton(c.selected) : events.DownButton(c.selected), c.selectedAfter) << c.what;
        EXPECT_EQ(Codes(lib.Group(0)), c.order) << c.what;
        // Saved also when nothing moved, except for item_up's refusal before any move is tried.
        const bool triedMove = !c.up || c.selected > 0;
        EXPECT_EQ(FileExists(lib.path), triedMove) << c.what;
        if (triedMove) {
            EXPECT_EQ(Codes(OnDisk().Group(0)), c.order) << c.what;
        }
    }
    EXPECT_TRUE(events.RemoveEvent(-1));
    EXPECT_EQ(Codes(OnDisk().Group(0)), "1,2,3");
    EXPECT_TRUE(events.RemoveEvent(0));
    EXPECT_EQ(Codes(OnDisk().Group(0)), "2,3");
    EXPECT_TRUE(events.Clear());
    EXPECT_EQ(OnDisk().GroupCount(), 1);
    EXPECT_EQ(OnDisk().Group(0)->EventCount(), 0);
}

TEST_F(MacroEditor, DelayEditsKeepTheTypedText) {
    using D = MacroEventEditor::DelayEdit;
    struct Case {
        const char* typed;
        D result;
        const char* stored;
    };
    const Case cases[] = {
        {"250", D::Stored, "250"}, {"1x", D::Stored, "1x"},   {"x", D::Rejected, "10"},
        {"", D::Stored, ""},       {"   ", D::Stored, "   "}, {" -3", D::Stored, " -3"},
        {"+", D::Rejected, "10"},  {"-x", D::Rejected, "10"}, {"10", D::Unchanged, "10"},
    };
    Groups(1);
    MacroEventEditor events(lib);
    events.ShowGroup(lib.Group(0));
    ASSERT_TRUE(events.AddEvent(4, 0, "A", 10));
    for (const Case& c : cases) {
        lib.Group(0)->Event(0)->delay = "10";
        ASSERT_TRUE(lib.Save());
        EXPECT_EQ(events.EditDelay(0, c.typed), c.result) << '"' << c.typed << '"';
        EXPECT_EQ(lib.Group(0)->Event(0)->delay, c.stored) << '"' << c.typed << '"';
        EXPECT_EQ(OnDisk().Group(0)->Event(0)->delay, c.stored) << '"' << c.typed << '"';
    }
    EXPECT_EQ(events.EditDelay(1, "5"), D::Ignored);
}

TEST(MacroEventEditorText, StateColumn) {
    const std::pair<const char*, const char*> cases[] = {
        {"0", "key down"}, {"1", "key up"}, {"2", "replace"}, {"x", "key down"},
        {"", "key down"},  {"-1", "replace"}, {" 1", "key up"}, {"1x", "key up"},
    };
    for (const auto& [state, text] : cases) EXPECT_STREQ(MacroEventEditor::StateText(state), text) << state;
}

}  // namespace
