#include "macro/AssignmentDialogState.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <string>

#include "TestFiles.h"

namespace {

std::array<int32_t, 8> Fields(const AssignmentDialogState& s) {
    return {s.page, s.repeat, s.delay, s.dlymode, s.mediasel, s.functsel, s.sgcode, s.groupsel};
}

TEST(AssignmentDialogState, ReadsFieldsByTheirRules) {
    using F = std::array<int32_t, 8>;
    const F defaults{0, 1, 10, 0, 0, 0, 0, 0};
    struct Case {
        const char* what;
        std::string text;
        F fields;
    };
    const Case cases[] = {
        {"no file", "", defaults},
        {"not XML", "page=2", defaults},
        {"truncated", "<?xml version=\"1.0\"?>\n<macro page=\"2\" repeat=", defaults},
        {"no macro element", "<store page=\"2\"/>", defaults},
        {"macro not at the top", "<root><macro page=\"2\"/></root>", defaults},
        {"only page", "<macro page=\"2\"/>", F{2, 0, 0, 0, 0, 0, 0, 0}},
        {"all fields",
         "<macro page=\"3\" repeat=\"300\" delay=\"25\" dlymode=\"1\" mediasel=\"-1\" functsel=\"4\" sgcode=\"41\" "
         "groupsel=\"7\"/>",
         F{3, 300, 25, 1, -1, 4, 41, 7}},
        {"loose numbers", "<macro page=\" 2x\" repeat=\"abc\" delay=\"+15ms\" dlymode=\"-1\" sgcode=\"99999999999\"/>",
         F{2, 0, 15, -1, 0, 0, INT32_MAX, 0}},
        {"first macro wins", "<macro page=\"1\"/><macro page=\"2\"/>", F{1, 0, 0, 0, 0, 0, 0, 0}},
        {"UTF-16 with byte-order mark", std::string("\xff\xfe<\0m\0a\0c\0r\0o\0 \0p\0a\0g\0e\0=\0\"\0" "2\0\"\0/\0>\0", 36),
         F{2, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        TempFolder dir;
        if (!c.text.empty()) WriteTextFile(dir / "store.xml", c.text);
        EXPECT_EQ(Fields(AssignmentDialogState(dir / "store.xml")), c.fields) << c.what;
    }
    EXPECT_EQ(Fields(AssignmentDialogState()), defaults);
}

TEST(AssignmentDialogState, SavesTwoLinesAndReadsThemBack) {
    TempFolder dir;
    AssignmentDialogState state(dir / "store.xml");
    ASSERT_TRUE(state.Save());
    EXPECT_EQ(ReadTextFile(dir / "store.xml"),
              "<?xml version=\"1.0\"?>\n"
              "<macro page=\"0\" repeat=\"1\" delay=\"10\" dlymode=\"0\" mediasel=\"0\" functsel=\"0\" sgcode=\"0\" "
              "groupsel=\"0\" />\n");
    state.mediasel = -1;
    state.groupsel = 2;
    state.repeat = INT32_MIN;
    ASSERT_TRUE(state.Save());
    EXPECT_EQ(Fields(AssignmentDialogState(dir / "store.xml")), Fields(state));
}

TEST(AssignmentDialogState, DialogStartResetsOnlyUnknownPositiveModes) {
    struct Case {
        int32_t inFile;
        int32_t after;
        bool rewritten;
    };
    for (const Case c : {Case{5, 0, true}, Case{3, 0, true}, Case{2, 2, false}, Case{-1, -1, false}}) {
        TempFolder dir;
        const std::string text = "<macro dlymode=\"" + std::to_string(c.inFile) + "\"/>";
        WriteTextFile(dir / "store.xml", text);
        AssignmentDialogState state(dir / "store.xml");
        EXPECT_EQ(state.NormalizeDelayMode(), c.rewritten) << c.inFile;
        EXPECT_EQ(state.dlymode, c.after);
        EXPECT_EQ(AssignmentDialogState(dir / "store.xml").dlymode, c.after) << c.inFile;
        if (!c.rewritten) {
            EXPECT_EQ(ReadTextFile(dir / "store.xml"), text);
        }
    }
}

TEST(AssignmentDialogState, FailedSaveKeepsFileAndRecord) {
    TempFolder dir;
    AssignmentDialogState state(dir / "store.xml");
    ASSERT_TRUE(state.Save());
    const std::string before = ReadTextFile(dir / "store.xml");
    state.sgcode = 41;
    EXPECT_TRUE(FailsUnderFileSizeLimit([&] { return state.Save(); }, 0));
    EXPECT_EQ(ReadTextFile(dir / "store.xml"), before);
    EXPECT_EQ(state.sgcode, 41);

    AssignmentDialogState gone(dir / "gone/store.xml");
    EXPECT_FALSE(gone.Save());
}

TEST(AssignmentDialogState, OneInstanceBesideTheExecutable) {
    AssignmentDialogState& a = AssignmentDialogState::instance();
    EXPECT_EQ(&a, &AssignmentDialogState::instance());
    char exe[4096];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    ASSERT_GT(n, 0);
    std::string folder(exe, static_cast<size_t>(n));
    folder.resize(folder.rfind('/'));
    EXPECT_EQ(a.path, folder + "/store.xml");
}

}  // namespace
