#include "platform/InstanceLock.h"

#include <sys/stat.h>

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "TestFiles.h"
#include "platform/ApplicationFolder.h"

TEST(InstanceLock, TheFirstHolderWinsUntilItLetsGo) {
    char dir[] = "/tmp/kbdconf-lock-XXXXXX";
    ASSERT_TRUE(mkdtemp(dir));
    const std::string path = std::string(dir) + "/instance.lock";
    {
        InstanceLock first(path);
        EXPECT_EQ(first.Acquire(), InstanceLock::Result::Acquired);
        EXPECT_EQ(first.Acquire(), InstanceLock::Result::Acquired);  // asking again changes nothing
        InstanceLock second(path);
        EXPECT_EQ(second.Acquire(), InstanceLock::Result::HeldElsewhere);
    }
    InstanceLock later(path);
    EXPECT_EQ(later.Acquire(), InstanceLock::Result::Acquired);

    InstanceLock nowhere(std::string(dir) + "/no/such/folder/instance.lock");
    EXPECT_EQ(nowhere.Acquire(), InstanceLock::Result::Failed);
    unlink(path.c_str());
    rmdir(dir);
}

TEST(InstanceLock, LockFileAndRuntimeFolderAreTheUsersAloneEvenUnderAnOpenUmask) {
    char dir[] = "/tmp/kbdconf-lock-XXXXXX";
    ASSERT_TRUE(mkdtemp(dir));
    const std::string path = std::string(dir) + "/instance.lock";
    const mode_t old = umask(0);
    {
        InstanceLock lock(path);
        EXPECT_EQ(lock.Acquire(), InstanceLock::Result::Acquired);
    }
    umask(old);
    struct stat st{};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    unlink(path.c_str());
    rmdir(dir);

    // Without XDG_RUNTIME_DIR the folder under /tmp is made owner-only, and one that others may
    // enter is closed first; an XDG_RUNTIME_DIR of another user is not used.
    const int rc = InChild([] {
        umask(0);
        unsetenv("XDG_RUNTIME_DIR");
        const std::string folder = RuntimeFolder();
        if (folder.empty()) return 2;
        chmod(folder.c_str(), 0777);
        if (RuntimeFolder() != folder) return 3;
        struct stat fs{};
        if (lstat(folder.c_str(), &fs) != 0 || !S_ISDIR(fs.st_mode) || (fs.st_mode & 0777) != 0700 ||
            fs.st_uid != getuid())
            return 4;
        setenv("XDG_RUNTIME_DIR", "/", 1);  // root's, so ours only when we are root
        if (getuid() != 0 && RuntimeFolder() == "/") return 5;
        return 0;
    });
    EXPECT_EQ(rc, 0);
}
