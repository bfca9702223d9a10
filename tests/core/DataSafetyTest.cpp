// Every file the program writes, under every way a save can go wrong: the old file stays
// byte-identical, the save says it failed, and no temporary file survives the next start.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <functional>
#include <vector>

#include "TestFiles.h"
#include "macro/AssignmentDialogState.h"
#include "macro/MacroLibrary.h"
#include "platform/AtomicFile.h"

namespace {

MacroLibrary SampleLibrary(const std::string& path) {
    MacroLibrary lib(path);
    lib.AddGroup("Fire");
    lib.Group(0)->AddEvent(4, 0, "A", 120);
    lib.Group(0)->AddEvent(4, 1, "A", 0);
    return lib;
}

// One kind of file the program saves: its name, a save of changed content that reports success,
// and a file-size limit that this new content does not fit in.
struct SavedFile {
    const char* name;
    std::function<bool(const std::string& path)> saveChanged;
    rlim_t tooSmall;
};

void PrintTo(const SavedFile& f, std::ostream* os) { *os << f.name; }

const SavedFile kFiles[] = {
    {"macro.xml",
     [](const std::string& path) {
         MacroLibrary lib = SampleLibrary(path);
         lib.AddGroup(std::string(20000, 'n'));
         return lib.Save();
     },
     4096},
    {"store.xml",
     [](const std::string& path) {
         AssignmentDialogState state;
         state.path = path;
         state.repeat = 77;
         return state.Save();
     },
     64},
    // An export goes through the same writer to whatever file the user picks.
    {"exported.mcr",
     [](const std::string& path) {
         MacroLibrary lib = SampleLibrary("");
         lib.AddGroup(std::string(20000, 'e'));
         return lib.SaveMacroFile(path);
     },
     4096},
};

std::string OldContent(const SavedFile& f, const std::string& path) {
    if (std::string(f.name) == "store.xml") {
        AssignmentDialogState state;
        state.path = path;
        state.delay = 33;
        EXPECT_TRUE(state.Save());
    } else {
        EXPECT_TRUE(SampleLibrary(path).SaveMacroFile(path));
    }
    return ReadTextFile(path);
}

class DataSafety : public ::testing::TestWithParam<SavedFile> {
protected:
    TempFolder dir;
    std::string path = dir / GetParam().name;
    std::string old = OldContent(GetParam(), path);

    void ExpectOldFileAlone() {
        EXPECT_EQ(ReadTextFile(path), old);
        EXPECT_EQ(FolderEntries(dir.path()), std::vector<std::string>{GetParam().name});
    }
};

TEST_P(DataSafety, FullDisk) {
    // The file-size limit cuts the write short the way a full disk does.
    EXPECT_TRUE(FailsUnderFileSizeLimit([&] { return GetParam().saveChanged(path); }, GetParam().tooSmall));
    ExpectOldFileAlone();
}

TEST_P(DataSafety, ReadOnlyFolder) {
    // The file itself is writable; only the folder is not, so it cannot be replaced atomically.
    chmod(path.c_str(), 0666);
    chmod(dir.path().c_str(), 0555);
    const int rc = InChild([&] {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) return 77;
        if (geteuid() == 0 || access(dir.path().c_str(), W_OK) == 0) return 77;
        return GetParam().saveChanged(path) ? 1 : 0;
    });
    chmod(dir.path().c_str(), 0700);
    if (rc == 77) GTEST_SKIP() << "cannot become another user";
    EXPECT_EQ(rc, 0) << "a save into a read-only folder reported success";
    chmod(path.c_str(), 0644);
    ExpectOldFileAlone();
}

TEST_P(DataSafety, KilledBetweenWritingAndReplacing) {
    const int rc = InChild([&] {
        atomic_file_testing::beforeReplace = [](const char*) { raise(SIGKILL); };
        GetParam().saveChanged(path);
        return 0;
    });
    ASSERT_EQ(rc, 128 + SIGKILL);
    EXPECT_EQ(ReadTextFile(path), old);
    const std::vector<std::string> left = FolderEntries(dir.path());
    ASSERT_EQ(left.size(), 2u) << "the dead writer's temporary file";
    const std::string temp = dir / (left[0] == GetParam().name ? left[1] : left[0]);
    EXPECT_EQ(temp.rfind(dir / ("." + std::string(GetParam().name) + ".tmp-"), 0), 0u) << temp;

    // The next start comes later than the crash.
    const timeval earlier[2] = {{time(nullptr) - 60, 0}, {time(nullptr) - 60, 0}};
    utimes(temp.c_str(), earlier);
    RemoveStaleTempFiles(path);
    ExpectOldFileAlone();

    // And a later save over it simply works.
    EXPECT_TRUE(GetParam().saveChanged(path));
    EXPECT_NE(ReadTextFile(path), old);
    EXPECT_EQ(FolderEntries(dir.path()), std::vector<std::string>{GetParam().name});
}

INSTANTIATE_TEST_SUITE_P(Files, DataSafety, ::testing::ValuesIn(kFiles), [](const auto& info) {
    std::string name = info.param.name;
    std::replace(name.begin(), name.end(), '.', '_');
    return name;
});

TEST(DataSafety, SweepKeepsWhatIsNotAStaleTempFileOfThatFile) {
    TempFolder dir;
    const std::string path = dir / "macro.xml";
    WriteTextFile(path, "<group />");
    const std::vector<std::string> kept = {".macro.xml.tmp-young", ".macro.xmlx.tmp-other", ".store.xml.tmp-other",
                                           "macro.xml", "macro.xml.bad-20261211-040000"};
    for (const std::string& name : kept) {
        if (name != "macro.xml") WriteTextFile(dir / name, "x");
    }
    const timeval earlier[2] = {{1000, 0}, {1000, 0}};
    for (const char* name : {".macro.xmlx.tmp-other", ".store.xml.tmp-other"}) utimes((dir / name).c_str(), earlier);
    WriteTextFile(dir / ".macro.xml.tmp-stale", "x");
    utimes((dir / ".macro.xml.tmp-stale").c_str(), earlier);
    RemoveStaleTempFiles(path);
    EXPECT_EQ(FolderEntries(dir.path()), kept);
    RemoveStaleTempFiles(dir / "no-such-folder/macro.xml");  // harmless
}

}  // namespace
