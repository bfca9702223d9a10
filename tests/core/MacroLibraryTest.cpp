#include "macro/ExtensionMatches.h"
#include "macro/MacroLibrary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Names(const MacroLibrary& lib) {
    std::vector<std::string> names;
    for (const MacroGroup& g : lib.groups) names.push_back(g.name);
    return names;
}

// The codes of a group's events, in order: "1,2,3".
std::string Codes(const MacroGroup& g) {
    std::string out;
    for (const MacroEvent& e : g.events) out += (out.empty() ? "" : ",") + e.code;
    return out;
}

MacroGroup GroupWithCodes(int count) {
    MacroGroup g{"G", {}};
    for (int code = 1; code <= count; ++code) g.AddEvent(code, 0, "", 0);
    return g;
}

TEST(MacroLibrary, DefaultGroupsAreNamedAfterTheCountBeforeAdding) {
    MacroLibrary lib;
    lib.AddDefaultGroup();
    EXPECT_EQ(Names(lib), std::vector<std::string>{"Group 0"});
    lib.AddDefaultGroup();
    lib.AddDefaultGroup();
    lib.AddDefaultGroup();
    EXPECT_EQ(lib.Group(3)->name, "Group 3");
    // After a deletion names repeat.
    lib.RemoveGroup(1);
    lib.AddDefaultGroup();
    EXPECT_EQ(Names(lib), (std::vector<std::string>{"Group 0", "Group 2", "Group 3", "Group 3"}));

    EXPECT_FALSE(lib.AddGroup(""));
    EXPECT_TRUE(lib.AddGroup("Mine"));
    EXPECT_EQ(lib.GroupCount(), 5);
    EXPECT_EQ(lib.Group(4)->name, "Mine");
    EXPECT_TRUE(lib.Group(4)->events.empty());
}

TEST(MacroLibrary, RemoveAndLookupIndices) {
    struct Case {
        int index;
        std::vector<std::string> left;
    };
    const Case cases[] = {
        {-1, {"a", "b"}}, {0, {"b", "c"}}, {2, {"a", "b"}}, {3, {"a", "b", "c"}}, {-2, {"a", "b", "c"}},
    };
    for (const Case& c : cases) {
        MacroLibrary lib;
        for (const char* n : {"a", "b", "c"}) lib.AddGroup(n);
        lib.RemoveGroup(c.index);
        EXPECT_EQ(Names(lib), c.left) << c.index;

        MacroGroup g = GroupWithCodes(3);
        g.RemoveEvent(c.index);
        std::string expected;
        for (const std::string& n : c.left) expected += (expected.empty() ? "" : ",") + std::to_string(n[0] - 'a' + 1);
        EXPECT_EQ(Codes(g), expected) << c.index;
    }
    MacroLibrary empty;
    empty.RemoveGroup(-1);
    empty.RemoveGroup(0);
    EXPECT_EQ(empty.GroupCount(), 0);
    MacroGroup none;
    none.RemoveEvent(-1);
    EXPECT_EQ(none.EventCount(), 0);

    MacroLibrary lib;
    lib.AddGroup("a");
    EXPECT_NE(lib.Group(0), nullptr);
    EXPECT_EQ(lib.Group(-1), nullptr);
    EXPECT_EQ(lib.Group(1), nullptr);
    MacroGroup g = GroupWithCodes(1);
    EXPECT_NE(g.Event(0), nullptr);
    EXPECT_EQ(g.Event(-1), nullptr);
    EXPECT_EQ(g.Event(1), nullptr);
}

TEST(MacroGroup, AddEventWritesDecimalTextsAndRefusesCodeZero) {
    MacroGroup g;
    EXPECT_FALSE(g.AddEvent(0, 0, "none", 5));
    EXPECT_TRUE(g.AddEvent(225, 1, "Left Shift", -3));
    ASSERT_EQ(g.EventCount(), 1);
    EXPECT_EQ(*g.Event(0), (MacroEvent{"225", "Left Shift", "1", "-3"}));
    g.ClearEvents();
    EXPECT_EQ(g.EventCount(), 0);
}

TEST(MacroGroup, MoveEvent) {
    struct Case {
        int from, to;
        bool moved;
        const char* order;
    };
    const Case cases[] = {
        {0, -1, true, "2,3,4,1"},  {0, 1, true, "2,1,3,4"},   {1, 0, true, "2,1,3,4"},
        {3, 4, true, "1,2,3,4"},   {3, 2, true, "1,2,4,3"},   {0, 3, true, "2,3,4,1"},
        {0, 9, true, "2,3,4,1"},   {2, 2, false, "1,2,3,4"},  {-1, 0, false, "1,2,3,4"},
        {4, 0, false, "1,2,3,4"},  {-1, -1, false, "1,2,3,4"},
    };
    for (const Case& c : cases) {
        MacroGroup g = GroupWithCodes(4);
        EXPECT_EQ(g.MoveEvent(c.from, c.to), c.moved) << c.from << "->" << c.to;
        EXPECT_EQ(Codes(g), c.order) << c.from << "->" << c.to;
    }
}

TEST(ExtensionMatches, OnlyLowerCaseMcrAfterTheLastDot) {
    const std::pair<const char*, bool> cases[] = {
        {"/home/u/a.mcr", true},      {"/home/u/my.macros/a.mcr", true}, {"a.MCR", false},
        {"a.Mcr", false},             {"a.mcr.bak", false},              {"/home/u.mcr/a", false},
        {"/home/u/a", false},         {"a.", false},                     {".mcr", true},
        {"mcr", true},                {"", false},                       {"a.mcr ", false},
    };
    for (const auto& [path, matches] : cases) EXPECT_EQ(ExtensionMatches(path), matches) << path;
}

}  // namespace
