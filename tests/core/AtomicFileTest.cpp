#include "platform/AtomicFile.h"
#include "platform/BoundedFileRead.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>
#include <vector>

#include "TestFiles.h"

namespace {

const std::string kOld = "<?xml version=\"1.0\"?>\n<old content=\"keep me\" />\n";

std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* d = opendir(folder.c_str())) {
        while (const dirent* e = readdir(d))
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") names.push_back(e->d_name);
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(AtomicFile, CreatesAndReplacesKeepingPermissions) {
    TempFolder dir;
    const std::string path = dir / "store.xml";
    ASSERT_TRUE(WriteFileAtomically(path, "first"));
    EXPECT_EQ(ReadTextFile(path), "first");
    const mode_t mask = umask(0);
    umask(mask);
    struct stat st{};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);

    chmod(path.c_str(), 0640);
    ASSERT_TRUE(WriteFileAtomically(path, std::string("second\0with nul", 15)));
    EXPECT_EQ(ReadTextFile(path), std::string("second\0with nul", 15));
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"store.xml"});
}

TEST(AtomicFile, FollowsSymbolicLinks) {
    TempFolder dir;
    mkdir((dir / "real").c_str(), 0700);
    WriteTextFile(dir / "real/macro.xml", kOld);
    ASSERT_EQ(symlink("real/macro.xml", (dir / "macro.xml").c_str()), 0);
    ASSERT_TRUE(WriteFileAtomically(dir / "macro.xml", "new"));
    struct stat st{};
    ASSERT_EQ(lstat((dir / "macro.xml").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadTextFile(dir / "real/macro.xml"), "new");
}

TEST(AtomicFile, FailedSaveKeepsOldFile) {
    TempFolder dir;
    WriteTextFile(dir / "file", "not a folder");
    mkdir((dir / "adir").c_str(), 0700);
    struct Case {
        const char* what;
        std::string path;
    };
    const Case cases[] = {
        {"folder gone", dir / "gone/macro.xml"},
        {"folder is a file", dir / "file/macro.xml"},
        {"target is a folder", dir / "adir"},
        {"empty path", ""},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(WriteFileAtomically(c.path, kOld)) << c.what;
    }
    EXPECT_EQ(ReadTextFile(dir / "file"), "not a folder");
    EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"adir", "file"}));
    EXPECT_TRUE(Entries(dir / "adir").empty());
}

TEST(AtomicFile, FileSizeLimitKeepsOldFile) {
    TempFolder dir;
    const std::string path = dir / "macro.xml";
    WriteTextFile(path, kOld);
    EXPECT_TRUE(FailsUnderFileSizeLimit([&] { return WriteFileAtomically(path, std::string(100000, 'x')); }, 4096));
    EXPECT_EQ(ReadTextFile(path), kOld);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"macro.xml"});
}

TEST(AtomicFile, FullDiskKeepsOldFile) {
    TempFolder dir;
    const std::string path = dir / "macro.xml";
    // A 64 KiB file system of our own, in a mount namespace that dies with the child.
    const int rc = InChild([&] {
        if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount("tmpfs", dir.path().c_str(), "tmpfs", 0, "size=64k") != 0) {
            return 77;
        }
        if (!WriteFileAtomically(path, kOld)) return 2;
        if (WriteFileAtomically(path, std::string(200000, 'x')) || errno != ENOSPC) return 3;
        if (ReadTextFile(path) != kOld) return 4;
        if (Entries(dir.path()) != std::vector<std::string>{"macro.xml"}) return 5;
        return 0;
    });
    if (rc == 77) GTEST_SKIP() << "cannot mount a small file system here";
    EXPECT_EQ(rc, 0);
}

TEST(AtomicFile, NoPermissionKeepsOldFile) {
    // Neither a folder nor a file that this user may not write is changed. Root may write
    // anywhere: the child gives that up first.
    for (const mode_t folderMode : {0755, 0777}) {
        TempFolder dir;
        const std::string path = dir / "macro.xml";
        WriteTextFile(path, kOld);
        chmod(path.c_str(), 0644);
        chmod(dir.path().c_str(), folderMode);
        const int rc = InChild([&] {
            if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) return 77;
            if (geteuid() == 0 || access(path.c_str(), W_OK) == 0) return 77;
            return !WriteFileAtomically(path, "new") && errno == EACCES ? 0 : 1;
        });
        chmod(dir.path().c_str(), 0700);
        if (rc == 77) GTEST_SKIP() << "cannot become another user";
        EXPECT_EQ(rc, 0) << folderMode;
        EXPECT_EQ(ReadTextFile(path), kOld);
        EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"macro.xml"});
    }
}

TEST(AtomicFile, RemovesTempFilesOfDeadWritersOnly) {
    TempFolder dir;
    const std::string path = dir / "macro.xml";
    const std::string stale = dir / ".macro.xml.tmp-AAAAAA";
    const std::string busy = dir / ".macro.xml.tmp-BBBBBB";
    const std::string fresh = dir / ".macro.xml.tmp-CCCCCC";
    const std::string other = dir / ".store.xml.tmp-DDDDDD";
    for (const std::string& p : {stale, busy, fresh, other}) WriteTextFile(p, "half");
    const timeval old[2] = {{1000, 0}, {1000, 0}};
    for (const std::string& p : {stale, busy, other}) utimes(p.c_str(), old);
    // A live writer holds its temporary file locked.
    const int fd = open(busy.c_str(), O_RDONLY);
    ASSERT_EQ(flock(fd, LOCK_EX), 0);

    ASSERT_TRUE(WriteFileAtomically(path, "ok"));
    close(fd);
    EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{".macro.xml.tmp-BBBBBB", ".macro.xml.tmp-CCCCCC",
                                                             ".store.xml.tmp-DDDDDD", "macro.xml"}));
}

TEST(AtomicFile, KeepsAFileAsideUnderNewNames) {
    TempFolder dir;
    const std::string path = dir / "macro.xml";
    std::string first, second, none = "unchanged";
    EXPECT_TRUE(KeepFileAside(path, &none));  // nothing there: nothing to keep
    EXPECT_EQ(none, "unchanged");

    WriteTextFile(path, kOld);
    ASSERT_TRUE(KeepFileAside(path, &first));
    ASSERT_TRUE(KeepFileAside(path, &second));
    EXPECT_EQ(first.rfind(path + ".bad-", 0), 0u) << first;
    EXPECT_NE(first, second);
    EXPECT_EQ(ReadTextFile(first), kOld);
    EXPECT_EQ(ReadTextFile(second), kOld);
    EXPECT_EQ(ReadTextFile(path), kOld);
    // A save over the original leaves the copies alone.
    ASSERT_TRUE(WriteFileAtomically(path, "new"));
    EXPECT_EQ(ReadTextFile(first), kOld);
}

TEST(BoundedFileRead, RefusesWhatItCannotReadSafely) {
    TempFolder dir;
    WriteTextFile(dir / "small", "12345");
    WriteTextFile(dir / "big", std::string(101, 'x'));
    mkfifo((dir / "pipe").c_str(), 0600);
    mkdir((dir / "folder").c_str(), 0700);
    struct Case {
        std::string path;
        FileReadResult result;
    };
    const Case cases[] = {
        {dir / "small", FileReadResult::Ok},       {dir / "big", FileReadResult::TooLarge},
        {dir / "pipe", FileReadResult::Failed},    {dir / "folder", FileReadResult::Failed},
        {dir / "absent", FileReadResult::Missing}, {dir / "small/below", FileReadResult::Missing},
        {"/dev/zero", FileReadResult::Failed},
    };
    for (const Case& c : cases) {
        std::string data = "stale";
        EXPECT_EQ(ReadFileBounded(c.path, 100, data), c.result) << c.path;
        if (c.result != FileReadResult::Ok) {
            EXPECT_TRUE(data.empty()) << c.path;
        }
    }
    std::string data;
    ASSERT_EQ(ReadFileBounded(dir / "small", 5, data), FileReadResult::Ok);
    EXPECT_EQ(data, "12345");
    // A file that reports size 0 but has content is read up to the limit and no further.
    EXPECT_EQ(ReadFileBounded("/proc/self/maps", 10, data), FileReadResult::TooLarge);
}

}  // namespace
