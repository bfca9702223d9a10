// Runs inside the QEMU guest: the real hidapi backend, hidraw and the kernel's uevents against
// the emulated keyboard bridged in through uhid.
#include <gtest/gtest.h>
#include <poll.h>

#include <chrono>
#include <memory>
#include <sstream>
#include <string>

#include "UhidKeyboard.h"
#include "app/AppConfig.h"
#include "device/DeviceChangeHandler.h"
#include "device/HidDevice.h"
#include "device/KeyboardInterface.h"
#include "device/hidapi/HidapiBackend.h"
#include "platform/linux/FlockDeviceGate.h"
#include "platform/linux/UdevDeviceWatcher.h"

namespace {

using Bytes = std::vector<uint8_t>;

// The shipped configuration, copied beside the program into the guest.
DeviceIdentity ShippedIdentity() {
    const char* path = std::getenv("KBDCONF_VM_CONFIG");
    return AppConfig::Load(path ? path : "config.xml").identity;
}

// A stand-in command interface for the raw channel: answers a get with the last set report,
// every data byte plus one, and refuses transfers on request.
class LoopbackInterface : public HidHandle {
public:
    bool refuse = false;
    int SendFeatureReport(const uint8_t* data, size_t length) override {
        if (refuse) return -1;
        last_.assign(data, data + length);
        return static_cast<int>(length);
    }
    int GetFeatureReport(uint8_t* data, size_t length) override {
        if (refuse || length != 8) return -1;
        for (size_t i = 1; i < length; ++i) data[i] = i < last_.size() ? last_[i] + 1 : 0;
        return static_cast<int>(length);
    }
    uint32_t DiagnosticValue() const override { return 0; }

private:
    Bytes last_;
};

class RealKernel : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(watcher.IsValid()) << "no kernel uevent source";
        ASSERT_TRUE(keyboard->IsValid()) << "no /dev/uhid";
        identity = ShippedIdentity();
        Plug();
    }

    // Waits (bounded) for the watcher to announce `action`; returns its node, or "" on timeout.
    std::string AwaitChange(const std::string& action) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < deadline) {
            pollfd p{watcher.fd(), POLLIN, 0};
            if (poll(&p, 1, 100) <= 0) continue;
            for (const DeviceChange& change : watcher.Drain()) {
                seen.push_back(change.action + " " + change.devnode);
                if (change.action == action) return change.devnode;
            }
        }
        return "";
    }

    void Plug() {
        ASSERT_TRUE(keyboard->Create());
        node = AwaitChange("add");
        ASSERT_FALSE(node.empty()) << "the watcher saw no hidraw add";
    }
    void Unplug() {
        ASSERT_TRUE(keyboard->Destroy());
        ASSERT_EQ(AwaitChange("remove"), node) << "the watcher saw no hidraw remove";
    }

    UdevDeviceWatcher watcher;  // before the keyboard, so it hears the first add
    LoopbackInterface loopback;
    std::unique_ptr<UhidKeyboard> keyboard = std::make_unique<UhidKeyboard>(loopback);
    HidapiBackend backend;
    FlockDeviceGate gate;
    std::ostringstream diagnostics;
    HidDevice device{backend, gate, diagnostics};
    DeviceIdentity identity;
    std::string node;
    std::vector<std::string> seen;
};

TEST_F(RealKernel, EnumerationWritesOnePathPerCollectionAndPicksTheVendorOne) {
    std::vector<std::string> texts;
    for (const HidInterfaceInfo& info : backend.Enumerate())
        if (info.openPath == node) texts.push_back(info.pathText);
    const std::vector<std::string> expected = {
        "\\\\?\\hid#vid_1a2c&pid_9c01&col01#" + node,
        "\\\\?\\hid#vid_1a2c&pid_9c01&col02#" + node,
        "\\\\?\\hid#vid_1a2c&pid_9c01&col03#" + node,
    };
    EXPECT_EQ(texts, expected) << "no &mi_: a uhid device has no USB interface";

    const std::optional<HidInterfaceInfo> found = FindKeyboardInterface(backend, identity, diagnostics);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->pathText, expected[2]);
    EXPECT_EQ(found->openPath, node);
    DeviceIdentity typingKeys = identity;
    typingKeys.subdevice = 1;
    const std::optional<HidInterfaceInfo> typing = FindKeyboardInterface(backend, typingKeys, diagnostics);
    ASSERT_TRUE(typing);
    EXPECT_EQ(typing->pathText, expected[0]);
    typingKeys.interface = 0;
    EXPECT_FALSE(FindKeyboardInterface(backend, typingKeys, diagnostics)) << "interface 0 is not 'none'";
}

TEST_F(RealKernel, FeatureReportsCrossTheKernelWhole) {
    ASSERT_TRUE(device.Open(identity));
    const HidDevice::Report sent{7, 0xF1, 1, 2, 3, 4, 5, 6};
    ASSERT_TRUE(device.SetFeature(sent));
    const std::vector<Bytes> arrived = keyboard->SetReports();
    ASSERT_EQ(arrived.size(), 1u);
    EXPECT_EQ(arrived[0], Bytes(sent.begin(), sent.end())) << "all 8 bytes, report id first";

    HidDevice::Report answer{7};
    ASSERT_TRUE(device.GetFeature(answer));
    EXPECT_EQ(keyboard->GetReportCount(), 1);
    const HidDevice::Report expected{7, 0xF2, 2, 3, 4, 5, 6, 7};
    EXPECT_EQ(answer, expected);
}

TEST_F(RealKernel, TransfersTheDeviceRefusesFailAndTheNextOneWorks) {
    ASSERT_TRUE(device.Open(identity));
    loopback.refuse = true;
    HidDevice::Report r{7, 0xFC, 1};
    EXPECT_FALSE(device.SetFeature(r));
    EXPECT_FALSE(device.GetFeature(r));
    EXPECT_TRUE(device.IsOpen());
    loopback.refuse = false;
    EXPECT_TRUE(device.SetFeature(r));
    EXPECT_TRUE(device.GetFeature(r));
}

TEST_F(RealKernel, UnplugAndReplugAreSeenAndTheChannelReopens) {
    DeviceChangeHandler handler(device, identity, diagnostics);
    ASSERT_EQ(handler.OnDeviceChange(), DeviceChangeOutcome::Connected);
    HidDevice::Report r{7, 0xFC, 1};
    ASSERT_TRUE(device.SetFeature(r));

    Unplug();
    EXPECT_EQ(handler.OnDeviceChange(), DeviceChangeOutcome::Absent);
    EXPECT_TRUE(device.IsOpen()) << "the stale handle stays";
    EXPECT_FALSE(device.SetFeature(r)) << "a transfer on the stale handle fails";
    EXPECT_FALSE(device.GetFeature(r));

    Plug();
    EXPECT_EQ(handler.OnDeviceChange(), DeviceChangeOutcome::Connected);
    EXPECT_TRUE(device.SetFeature(r));
    EXPECT_TRUE(device.GetFeature(r));
    for (const std::string& s : seen) std::printf("  watcher: %s\n", s.c_str());
}

}  // namespace
