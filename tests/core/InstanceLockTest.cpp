#include "platform/InstanceLock.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

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
