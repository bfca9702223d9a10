#include "device/DeviceChangeHandler.h"
#include "platform/linux/UdevDeviceWatcher.h"
#include "FakeHidBackend.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <unistd.h>

#include <cstdio>

#include <sstream>

namespace {

using namespace fakehid;

const DeviceIdentity kIdentity{0x1A2C, 0x9C01, 1, 3};

class DeviceChangeHandlerTest : public ::testing::Test {
protected:
    FakeBackend backend;
    OpenGate gate;
    std::ostringstream diag;
    HidDevice device{backend, gate, diag};
    DeviceChangeHandler handler{device, kIdentity, diag};
};

struct Step {
    bool present;
    bool openable;
    DeviceChangeOutcome outcome;
    bool openAfter;
};

// One channel through plug, unplug and a refusing keyboard, as successive messages see it.
TEST_F(DeviceChangeHandlerTest, OutcomesFollowPresenceAndOpen) {

    const Step steps[] = {
        {false, true, DeviceChangeOutcome::Absent, false},     // nothing plugged in yet
        {true, true, DeviceChangeOutcome::Connected, true},    // plugged in
        {true, true, DeviceChangeOutcome::Connected, true},    // another device came: reopened
        {false, true, DeviceChangeOutcome::Absent, true},      // unplugged: stale handle kept
        {true, false, DeviceChangeOutcome::OpenFailed, false}, // back, but refuses to open
        {true, false, DeviceChangeOutcome::OpenFailed, false}, // again on every message
        {true, true, DeviceChangeOutcome::Connected, true},
    };
    int step = 0;
    for (const Step& s : steps) {
        backend.present = s.present;
        backend.openable = s.openable;
        EXPECT_EQ(handler.OnDeviceChange(), s.outcome) << "step " << step;
        EXPECT_EQ(device.IsOpen(), s.openAfter) << "step " << step;
        ++step;
    }
    EXPECT_EQ(backend.traffic.opens, 3);
    EXPECT_EQ(backend.traffic.closes, 2) << "the reopen and the refused open each drop the old handle";
}

TEST_F(DeviceChangeHandlerTest, StaleHandleFailsTransfersUntilReopened) {
    ASSERT_EQ(handler.OnDeviceChange(), DeviceChangeOutcome::Connected);

    backend.present = false;
    backend.traffic.transferResult = -1;  // the node is gone behind the handle
    ASSERT_EQ(handler.OnDeviceChange(), DeviceChangeOutcome::Absent);
    HidDevice::Report r{7};
    EXPECT_FALSE(device.SetFeature(r));

    backend.present = true;
    backend.traffic.transferResult = 8;
    ASSERT_EQ(handler.OnDeviceChange(), DeviceChangeOutcome::Connected);
    EXPECT_TRUE(device.SetFeature(r));
}

TEST_F(DeviceChangeHandlerTest, PresenceTestSkipsTheGate) {
    backend.present = false;
    EXPECT_EQ(handler.OnDeviceChange(), DeviceChangeOutcome::Absent);
    EXPECT_EQ(gate.passes, 0);
    backend.present = true;
    EXPECT_EQ(handler.OnDeviceChange(), DeviceChangeOutcome::Connected);
    EXPECT_EQ(gate.passes, 1) << "only Open passes the gate";
}

TEST_F(DeviceChangeHandlerTest, OtherIdentityIsAbsent) {
    DeviceChangeHandler other(device, DeviceIdentity{0x1A2C, 0x9C01, 1, 2}, diag);
    EXPECT_EQ(other.OnDeviceChange(), DeviceChangeOutcome::Absent);
    EXPECT_EQ(backend.traffic.opens, 0);
}

// This machine has no hotplug to provoke; the events themselves are proven in the VM test.
TEST(UdevDeviceWatcher, QuietWatcherDrainsNothingAndStaysQuiet) {
    for (const char* source : {"kernel", "udev"}) {
        UdevDeviceWatcher watcher(source);
        if (!watcher.IsValid()) {
            std::printf("no %s netlink source in this sandbox\n", source);
            continue;
        }
        EXPECT_EQ(watcher.source(), source);
        ASSERT_GE(watcher.fd(), 0);
        EXPECT_TRUE(watcher.Drain().empty()) << source;
        pollfd p{watcher.fd(), POLLIN, 0};
        EXPECT_EQ(poll(&p, 1, 0), 0) << source << ": nothing pending after a drain";
        EXPECT_TRUE(watcher.Drain().empty()) << source << ": a second drain must not block";
    }
}

TEST(UdevDeviceWatcher, PicksTheKernelSourceWithoutADaemon) {
    UdevDeviceWatcher watcher;
    const bool daemon = access("/run/udev/control", F_OK) == 0;
    EXPECT_EQ(watcher.source(), daemon ? "udev" : "kernel");
}

}  // namespace
