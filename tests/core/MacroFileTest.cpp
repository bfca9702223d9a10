#include "macro/MacroLibrary.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <sstream>
#include <string>
#include <vector>

#include "TestFiles.h"

namespace {

const std::string kData = std::string(KBDCONF_TEST_DATA) + "/macro/";

// A library in one line: groups separated by " | ", each "name: code,name,state,delay; …".
std::string Describe(const MacroLibrary& lib) {
    std::string out;
    for (const MacroGroup& g : lib.groups) {
        if (!out.empty()) out += " | ";
        out += g.name + ":";
        for (const MacroEvent& e : g.events) out += " " + e.code + "," + e.name + "," + e.state + "," + e.delay + ";";
    }
    return out;
}

MacroLibrary Sample() {
    MacroLibrary lib;
    lib.AddGroup("Group 0");
    lib.Group(0)->AddEvent(4, 0, "A", 120);
    lib.Group(0)->AddEvent(4, 1, "A", 0);
    lib.groups.push_back(MacroGroup{"", {}});
    lib.AddGroup("Empty");
    return lib;
}

TEST(MacroFile, WritesTheExactFormat) {
    EXPECT_EQ(Sample().Serialize(),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<group>\n"
              "\t<items name=\"Group 0\">\n"
              "\t\t<item code=\"4\" name=\"A\" state=\"0\" delay=\"120\" />\n"
              "\t\t<item code=\"4\" name=\"A\" state=\"1\" delay=\"0\" />\n"
              "\t</items>\n"
              "\t<items name=\"\" />\n"
              "\t<items name=\"Empty\" />\n"
              "</group>\n");
    EXPECT_EQ(MacroLibrary().Serialize(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<group />\n");

    MacroLibrary blanks;
    blanks.groups.push_back(MacroGroup{"G", {MacroEvent{"", "", "", ""}}});
    EXPECT_NE(blanks.Serialize().find("\t\t<item code=\"\" name=\"\" state=\"\" delay=\"\" />\n"), std::string::npos);

    TempFolder dir;
    MacroLibrary lib = Sample();
    ASSERT_TRUE(lib.SaveMacroFile(dir / "out.mcr"));
    EXPECT_EQ(ReadTextFile(dir / "out.mcr"), lib.Serialize());
}

// What pugixml writes for the same library, one tab per level: the file must not depend on
// whether it is written by hand or through a document.
std::string PugixmlText(const MacroLibrary& lib) {
    pugi::xml_document doc;
    pugi::xml_node declaration = doc.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    pugi::xml_node root = doc.append_child("group");
    for (const MacroGroup& g : lib.groups) {
        pugi::xml_node items = root.append_child("items");
        items.append_attribute("name") = g.name.c_str();
        for (const MacroEvent& e : g.events) {
            pugi::xml_node item = items.append_child("item");
            item.append_attribute("code") = e.code.c_str();
            item.append_attribute("name") = e.name.c_str();
            item.append_attribute("state") = e.state.c_str();
            item.append_attribute("delay") = e.delay.c_str();
        }
    }
    std::ostringstream out;
    doc.save(out, "\t", pugi::format_default, pugi::encoding_utf8);
    return out.str();
}

TEST(MacroFile, WritesWhatPugixmlWrites) {
    std::string every;
    for (int c = 1; c < 256; ++c) every += static_cast<char>(c);
    MacroLibrary lib = Sample();
    lib.groups.push_back(MacroGroup{every, {MacroEvent{every, "", "&amp;", "<\"'>"}}});
    lib.groups.push_back(MacroGroup{"", {MacroEvent{"1", "2", "3", "4"}}});
    lib.groups.push_back(MacroGroup{std::string("cut\0here", 8), {}});
    EXPECT_EQ(lib.Serialize(), PugixmlText(lib));
}

TEST(MacroFile, RefusesToWriteWhatItCouldNotLoad) {
    TempFolder dir;
    const std::string path = dir / "macro.xml";
    MacroLibrary lib = Sample();
    ASSERT_TRUE(lib.SaveMacroFile(path));
    const std::string before = ReadTextFile(path);
    struct Case {
        const char* what;
        MacroGroup added;
    };
    Case cases[] = {
        {"too many events", MacroGroup{"many", std::vector<MacroEvent>(MacroLibrary::kMaxMarkup, MacroEvent{})}},
        {"too long a name", MacroGroup{std::string(MacroLibrary::kMaxFileBytes, 'n'), {}}},
    };
    for (Case& c : cases) {
        MacroLibrary big = lib;
        big.groups.push_back(std::move(c.added));
        EXPECT_FALSE(big.SaveMacroFile(path)) << c.what;
        EXPECT_EQ(ReadTextFile(path), before) << c.what;
    }
    // Exactly at the limit is written and loads again; one event more is refused.
    MacroLibrary edge;
    edge.groups.push_back(MacroGroup{"edge", std::vector<MacroEvent>(MacroLibrary::kMaxMarkup - 5, MacroEvent{"4", "", "0", "0"})});
    ASSERT_TRUE(edge.SaveMacroFile(path));
    const std::string written = ReadTextFile(path);
    EXPECT_EQ(static_cast<size_t>(std::count(written.begin(), written.end(), '<')), MacroLibrary::kMaxMarkup);
    MacroLibrary back;
    ASSERT_TRUE(back.LoadMacroFile(path));
    EXPECT_EQ(back.groups, edge.groups);
    edge.Group(0)->AddEvent(4, 0, "", 0);
    EXPECT_FALSE(edge.SaveMacroFile(path));
}

TEST(MacroFile, LoadsFixtures) {
    struct Case {
        const char* file;
        const char* library;
    };
    const Case cases[] = {
        {"foreign_names.xml", "Foreign: 4,A,1,5; 0,,0,0; | Second:"},
        {"missing_name.xml", "Kept: 5,B,0,0;"},
        {"empty_name.xml", ": 6,C,0,0;"},
        {"bare_item.xml", "Bare: 0,,0,0; 0,only a name,0,0;"},
        // References decoded, a literal tab becomes a space, every text kept verbatim.
        {"odd_texts.xml", "Odd & <odd> \"texts\": 004,L Shift,2,12ms; -7,,x, 0x10 ;"},
        {"second_root.xml", "first group root wins:"},
        {"no_group_root.xml", ""},
    };
    for (const Case& c : cases) {
        MacroLibrary lib;
        lib.AddGroup("previous");
        EXPECT_TRUE(lib.LoadMacroFile(kData + c.file)) << c.file;
        EXPECT_EQ(Describe(lib), c.library) << c.file;
    }
}

TEST(MacroFile, RoundTripsThroughAFile) {
    TempFolder dir;
    MacroLibrary lib;
    ASSERT_TRUE(lib.LoadMacroFile(kData + "odd_texts.xml"));
    lib.AddGroup("tab\there, line\nfeed, cr\r, quote \" apostrophe ' and &amp; < >");
    lib.Group(1)->AddEvent(224, 0, "Left Ctrl", 33);
    lib.groups.push_back(MacroGroup{"\xe4\xb8\xad\xe6\x96\x87 \xff raw bytes", {MacroEvent{"9", "\x01", "1", "7 ms"}}});
    ASSERT_TRUE(lib.SaveMacroFile(dir / "export.mcr"));

    MacroLibrary back;
    ASSERT_TRUE(back.LoadMacroFile(dir / "export.mcr"));
    EXPECT_EQ(back.groups, lib.groups);
    // Saving what was loaded gives the same bytes again.
    EXPECT_EQ(back.Serialize(), ReadTextFile(dir / "export.mcr"));

    // A group whose name was cleared keeps its events through a save and a load.
    lib.groups.insert(lib.groups.begin(), MacroGroup{"", {MacroEvent{"4", "A", "0", "0"}}});
    ASSERT_TRUE(lib.SaveMacroFile(dir / "export.mcr"));
    EXPECT_NE(ReadTextFile(dir / "export.mcr").find("\t<items name=\"\">\n"), std::string::npos);
    ASSERT_TRUE(back.LoadMacroFile(dir / "export.mcr"));
    EXPECT_EQ(back.groups, lib.groups);
}

// Builds a file from a head, a part repeated count times and a tail.
std::string Repeated(const std::string& head, const std::string& part, size_t count, const std::string& tail) {
    std::string s = head;
    s.reserve(head.size() + part.size() * count + tail.size());
    for (size_t i = 0; i < count; ++i) s += part;
    return s + tail;
}

TEST(MacroFile, BadInputLeavesTheLibraryUnchanged) {
    TempFolder dir;
    struct Case {
        const char* what;
        std::string text;
    };
    const Case cases[] = {
        {"empty", ""},
        {"binary", std::string("\x00\x01\x02\xff\xfe<group>\x00", 12)},
        {"not xml", "Group 0\n4 A 0 120\n"},
        {"unclosed", "<group><items name=\"a\">"},
        {"mismatched", "<group><items name=\"a\"></item></group>"},
        {"too many elements",
         Repeated("<group><items name=\"x\">", "<i/>", MacroLibrary::kMaxMarkup, "</items></group>")},
        {"too large", Repeated("<group><items name=\"", "x", MacroLibrary::kMaxFileBytes, "\"/></group>")},
    };
    for (const Case& c : cases) {
        WriteTextFile(dir / "bad.mcr", c.text);
        MacroLibrary lib = Sample();
        EXPECT_FALSE(lib.LoadMacroFile(dir / "bad.mcr")) << c.what;
        EXPECT_EQ(Describe(lib), Describe(Sample())) << c.what;
    }
    MacroLibrary lib = Sample();
    EXPECT_FALSE(lib.LoadMacroFile(kData + "truncated.xml"));
    EXPECT_FALSE(lib.LoadMacroFile(dir / "missing.mcr"));
    EXPECT_FALSE(lib.LoadMacroFile(dir.path()));
    EXPECT_EQ(Describe(lib), Describe(Sample()));
}

TEST(MacroFile, ExtremeButWellFormedFilesLoad) {
    TempFolder dir;
    const size_t depth = 140'000;
    struct Case {
        const char* what;
        std::string text;
        int groups;
        int events;
    };
    const Case cases[] = {
        {"deep nesting inside a group",
         Repeated("<group><items name=\"deep\"><item code=\"4\">", "<d>", depth, "") +
             Repeated("", "</d>", depth, "</item></items></group>"),
         1, 1},
        {"deep nesting beside the groups", Repeated("<group>", "<d>", depth, "") + Repeated("", "</d>", depth, "</group>"),
         0, 0},
        {"huge attribute value", Repeated("<group><items name=\"", "n", 12u << 20, "\"/></group>"), 1, 0},
        {"many events", Repeated("<group><items name=\"x\">", "<item code=\"4\"/>", 250'000, "</items></group>"), 1,
         250'000},
        {"not UTF-8", "<group><items name=\"caf\xe9\"/></group>", 1, 0},
    };
    for (const Case& c : cases) {
        WriteTextFile(dir / "big.mcr", c.text);
        MacroLibrary lib;
        ASSERT_TRUE(lib.LoadMacroFile(dir / "big.mcr")) << c.what;
        EXPECT_EQ(lib.GroupCount(), c.groups) << c.what;
        if (c.groups > 0) {
            EXPECT_EQ(lib.Group(0)->EventCount(), c.events) << c.what;
        }
        // Nothing unbounded happens when writing it back either.
        EXPECT_TRUE(lib.SaveMacroFile(dir / "back.mcr")) << c.what;
    }
    MacroLibrary lib;
    ASSERT_TRUE(lib.LoadMacroFile(dir / "big.mcr"));
    EXPECT_EQ(lib.Group(0)->name, "caf\xe9");
}

class OwnMacroFile : public ::testing::Test {
protected:
    TempFolder dir;
    std::string path = dir / "macro.xml";
    const std::string broken = "<group><items name=\"precious\"><item code=\"4\"";

    std::vector<std::string> KeptCopies() {
        std::vector<std::string> found;
        DIR* d = opendir(dir.path().c_str());
        while (const dirent* e = readdir(d))
            if (std::string(e->d_name).rfind("macro.xml.bad-", 0) == 0) found.push_back(dir / e->d_name);
        closedir(d);
        return found;
    }
};

TEST_F(OwnMacroFile, BrokenFileIsKeptAsideBeforeTheFirstSave) {
    WriteTextFile(path, broken);
    MacroLibrary lib(path);
    EXPECT_FALSE(lib.Load());
    EXPECT_EQ(lib.GroupCount(), 0);
    EXPECT_TRUE(KeptCopies().empty());  // loading alone touches nothing

    lib.AddDefaultGroup();
    ASSERT_TRUE(lib.Save());
    const std::vector<std::string> kept = KeptCopies();
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(lib.KeptAsidePath(), kept[0]);
    EXPECT_EQ(ReadTextFile(kept[0]), broken);
    EXPECT_EQ(ReadTextFile(path), lib.Serialize());

    // Later saves overwrite the now good file without further copies.
    lib.AddDefaultGroup();
    ASSERT_TRUE(lib.Save());
    EXPECT_EQ(KeptCopies().size(), 1u);

    // A missing file or a good one is never kept aside.
    unlink(path.c_str());
    MacroLibrary fresh(path);
    EXPECT_FALSE(fresh.Load());
    ASSERT_TRUE(fresh.Save());
    MacroLibrary good(path);
    EXPECT_TRUE(good.Load());
    ASSERT_TRUE(good.Save());
    EXPECT_EQ(KeptCopies().size(), 1u);
}

TEST_F(OwnMacroFile, ImportOverABrokenFileStillKeepsItAside) {
    WriteTextFile(path, broken);
    MacroLibrary lib(path);
    EXPECT_FALSE(lib.Load());
    ASSERT_TRUE(lib.LoadMacroFile(kData + "foreign_names.xml"));
    ASSERT_TRUE(lib.Save());
    ASSERT_EQ(KeptCopies().size(), 1u);
    EXPECT_EQ(ReadTextFile(KeptCopies()[0]), broken);
}

TEST_F(OwnMacroFile, UnreadableFileIsKeptAsideOrNotOverwritten) {
    // Another user's file that this user cannot read: kept aside when the folder lets us, and
    // otherwise never overwritten.
    struct Case {
        mode_t folderMode;
        bool saved;
    };
    for (const Case c : {Case{0755, false}, Case{0777, true}}) {
        for (const std::string& k : KeptCopies()) unlink(k.c_str());
        WriteTextFile(path, broken);
        chmod(path.c_str(), 0600);
        chmod(dir.path().c_str(), c.folderMode);
        const int rc = InChild([&] {
            if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) return 77;
            if (geteuid() == 0 || access(path.c_str(), R_OK) == 0) return 77;
            MacroLibrary lib(path);
            if (lib.Load()) return 2;
            lib.AddDefaultGroup();
            return lib.Save() ? 1 : 0;
        });
        chmod(dir.path().c_str(), 0700);
        if (rc == 77) GTEST_SKIP() << "cannot become another user";
        EXPECT_EQ(rc, c.saved ? 1 : 0) << c.folderMode;
        const std::vector<std::string> kept = KeptCopies();
        if (c.saved) {
            ASSERT_EQ(kept.size(), 1u);
            EXPECT_EQ(ReadTextFile(kept[0]), broken);
            EXPECT_NE(ReadTextFile(path).find("Group 0"), std::string::npos);
        } else {
            EXPECT_TRUE(kept.empty());
            EXPECT_EQ(ReadTextFile(path), broken);
        }
    }
}

TEST_F(OwnMacroFile, FailedSaveKeepsTheOldFile) {
    MacroLibrary lib = Sample();
    lib.path = path;
    ASSERT_TRUE(lib.Save());
    const std::string before = ReadTextFile(path);
    lib.AddGroup(std::string(100000, 'n'));
    EXPECT_TRUE(FailsUnderFileSizeLimit([&] { return lib.Save(); }, 8192));
    EXPECT_EQ(ReadTextFile(path), before);

    MacroLibrary gone(dir / "no-such-folder/macro.xml");
    gone.AddDefaultGroup();
    EXPECT_FALSE(gone.Save());
    EXPECT_EQ(gone.GroupCount(), 1);
}

}  // namespace
