#include "device/HidDevice.h"
#include "platform/linux/FlockDeviceGate.h"
#include "FakeHidBackend.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <sstream>
#include <thread>

namespace {

using namespace std::chrono_literals;
using namespace fakehid;

const DeviceIdentity kIdentity{0x1A2C, 0x9C01, 1, 3};

TEST(HidDevice, ClosedChannelSendsNothing) {
    FakeBackend backend;
    OpenGate gate;
    std::ostringstream diag;
    HidDevice device(backend, gate, diag);
    HidDevice::Report r{7, 0xFB};
    EXPECT_FALSE(device.IsOpen());
    EXPECT_FALSE(device.SetFeature(r));
    EXPECT_FALSE(device.GetFeature(r));
    EXPECT_EQ(backend.traffic.sets + backend.traffic.gets, 0);
    EXPECT_EQ(gate.passes, 2);
    device.Close();
    device.Close();  // harmless twice
    EXPECT_FALSE(device.IsOpen());
}

TEST(HidDevice, OpenReopensAndKeepsStaleHandleWhenAbsent) {
    FakeBackend backend;
    OpenGate gate;
    std::ostringstream diag;
    HidDevice device(backend, gate, diag);
    ASSERT_TRUE(device.Open(kIdentity));
    EXPECT_NE(diag.str().find("open dev: 00000101\n"), std::string::npos);
    ASSERT_TRUE(device.Open(kIdentity));  // present: the old handle is closed, a new one opened
    EXPECT_EQ(backend.traffic.opens, 2);
    EXPECT_EQ(backend.traffic.closes, 1);

    backend.present = false;
    EXPECT_FALSE(device.Open(kIdentity));
    EXPECT_TRUE(device.IsOpen()) << "an open that finds nothing keeps the handle";
    EXPECT_EQ(backend.traffic.closes, 1);

    backend.present = true;
    backend.openable = false;
    EXPECT_FALSE(device.Open(kIdentity));
    EXPECT_FALSE(device.IsOpen()) << "a failed open leaves the channel closed";
    EXPECT_NE(diag.str().find("open dev: ffffffff\n"), std::string::npos);
}

TEST(HidDevice, OnlyFullEightByteTransfersSucceed) {
    FakeBackend backend;
    OpenGate gate;
    std::ostringstream diag;
    HidDevice device(backend, gate, diag);
    ASSERT_TRUE(device.Open(kIdentity));
    HidDevice::Report r{7};
    for (int moved : {8, 7, 9, 0, -1, 1}) {
        backend.traffic.transferResult = moved;
        EXPECT_EQ(device.SetFeature(r), moved == 8) << moved;
        EXPECT_EQ(device.GetFeature(r), moved == 8) << moved;
    }
    EXPECT_TRUE(device.IsOpen()) << "a failed transfer keeps the handle";
    device.Close();
    EXPECT_EQ(backend.traffic.closes, 1);
}

class ExpiredGate : public DeviceGate {
public:
    bool Pass() override { return false; }
};

TEST(HidDevice, ExpiredGateTransfersNothing) {
    FakeBackend backend;
    OpenGate open;
    ExpiredGate expired;
    std::ostringstream diag;
    {
        HidDevice device(backend, open, diag);
        ASSERT_TRUE(device.Open(kIdentity));
    }
    HidDevice device(backend, expired, diag);
    EXPECT_FALSE(device.Open(kIdentity));
    EXPECT_EQ(backend.traffic.opens, 1);
}

std::string GatePath(const char* name) {
    const std::string path = ::testing::TempDir() + name;
    unlink(path.c_str());
    return path;
}

// Forks a child that takes the gate, tells us, holds it for `hold` and then lets go (or dies).
pid_t HoldGateInChild(const std::string& path, std::chrono::milliseconds hold, bool dieHolding) {
    int ready[2];
    if (pipe(ready) != 0) return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        const int fd = open(path.c_str(), O_RDWR | O_CREAT, 0600);
        flock(fd, LOCK_EX);
        (void)!write(ready[1], "x", 1);
        std::this_thread::sleep_for(hold);
        if (dieHolding) _exit(0);  // the kernel frees the lock
        flock(fd, LOCK_UN);
        std::this_thread::sleep_for(hold);
        _exit(0);
    }
    char c;
    (void)!read(ready[0], &c, 1);
    close(ready[0]);
    close(ready[1]);
    return pid;
}

TEST(FlockDeviceGate, AnotherProcessHoldingTheGateDelaysEveryAccess) {
    const std::string path = GatePath("kbdconf_gate_hold");
    FakeBackend backend;
    FlockDeviceGate gate(path, 5000ms);
    std::ostringstream diag;
    HidDevice device(backend, gate, diag);
    ASSERT_TRUE(device.Open(kIdentity));

    const pid_t child = HoldGateInChild(path, 300ms, false);
    const auto start = std::chrono::steady_clock::now();
    HidDevice::Report r{7};
    EXPECT_TRUE(device.SetFeature(r));
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, 250ms);

    // We never keep holding it: the child (still alive) can take it again at once.
    const int fd = open(path.c_str(), O_RDWR);
    EXPECT_EQ(flock(fd, LOCK_EX | LOCK_NB), 0);
    close(fd);
    waitpid(child, nullptr, 0);

    struct stat st{};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(FlockDeviceGate, HolderThatDiesFreesTheGate) {
    const std::string path = GatePath("kbdconf_gate_die");
    FlockDeviceGate gate(path, 5000ms);
    const pid_t child = HoldGateInChild(path, 200ms, true);
    EXPECT_TRUE(gate.Pass());
    waitpid(child, nullptr, 0);
}

TEST(FlockDeviceGate, ExpiresAfterItsBoundThenFailsFastUntilFree) {
    const std::string path = GatePath("kbdconf_gate_expire");
    FlockDeviceGate gate(path, 200ms);
    const pid_t child = HoldGateInChild(path, 1500ms, false);
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(gate.Pass());
    EXPECT_GE(std::chrono::steady_clock::now() - start, 190ms);
    start = std::chrono::steady_clock::now();
    EXPECT_FALSE(gate.Pass());
    EXPECT_LT(std::chrono::steady_clock::now() - start, 150ms) << "a stuck gate is not waited for again";
    waitpid(child, nullptr, 0);
    EXPECT_TRUE(gate.Pass());
}

TEST(FlockDeviceGate, GateFileIsTheUsersAloneEvenUnderAnOpenUmask) {
    const std::string path = GatePath("kbdconf_gate_umask");
    const mode_t old = umask(0);
    FlockDeviceGate gate(path, 100ms);
    EXPECT_TRUE(gate.Pass());
    umask(old);
    struct stat st{};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(FlockDeviceGate, UnusableGateFileDoesNotBlockTheDevice) {
    FlockDeviceGate gate("/nonexistent-folder/HidDevice", 100ms);
    EXPECT_TRUE(gate.Pass());
}

}  // namespace
