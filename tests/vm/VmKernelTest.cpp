// Runs inside the QEMU guest: the real hidapi backend, hidraw, the kernel's feature-report path
// and its uevents, against the emulated keyboard's firmware model bridged in through uhid.
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "ProtocolFakes.h"
#include "UhidKeyboard.h"
#include "app/AppConfig.h"
#include "device/DeviceChangeHandler.h"
#include "device/HidDevice.h"
#include "device/KeyboardInterface.h"
#include "device/hidapi/HidapiBackend.h"
#include "emulator/EmulatedKeyboard.h"
#include "platform/linux/FlockDeviceGate.h"
#include "platform/linux/UdevDeviceWatcher.h"
#include "protocol/AssignmentCommands.h"
#include "protocol/FactoryReset.h"
#include "protocol/LightingCommands.h"
#include "protocol/ProfileCommands.h"
#include "protocol/ThreadPacer.h"

namespace {

using namespace protocol_fakes;
using Bytes = std::vector<uint8_t>;

// The shipped configuration, copied into the guest.
DeviceIdentity ShippedIdentity() {
    const char* path = std::getenv("KBDCONF_VM_CONFIG");
    return AppConfig::Load(path ? path : "config.xml").identity;
}

// Waits (bounded) for the watcher to announce `action`; returns its node, "" on time-out.
std::string AwaitChange(UdevDeviceWatcher& watcher, const std::string& action, std::vector<std::string>& seen) {
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

// The guest runs everything as root, for whom file modes mean nothing. While this lives, the
// process lacks the capabilities that override them, as a user's program would.
class WithoutFileAccessOverride {
public:
    WithoutFileAccessOverride() { ok_ = Change(false); }
    ~WithoutFileAccessOverride() { Change(true); }
    bool ok() const { return ok_; }

private:
    static bool Change(bool on) {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct data[2] = {};
        if (syscall(SYS_capget, &header, data) != 0) return false;
        const uint32_t bits = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);
        data[0].effective = on ? data[0].effective | (data[0].permitted & bits) : data[0].effective & ~bits;
        return syscall(SYS_capset, &header, data) == 0;
    }
    bool ok_;
};

// The program's device stack as the main window builds it (real backend, gate and pauses), with
// the window's widgets replaced by the protocol tests' fakes, against the emulated keyboard
// plugged in through uhid.
class RealKernel : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(watcher.IsValid()) << "no kernel uevent source";
        ASSERT_EQ(watcher.source(), "kernel") << "the guest runs no udev daemon";
        ASSERT_TRUE(commandInterface) << "the emulated keyboard has no command interface";
        keyboard = std::make_unique<UhidKeyboard>(*commandInterface);
        ASSERT_TRUE(keyboard->IsValid()) << "no /dev/uhid";
        identity = ShippedIdentity();
        Plug();
        profileCombo.onChange = [this] { OnProfileSelectionChanged(ctx); };
        ledModeCombo.onChange = [this] { OnLedModeChanged(ctx); };
    }

    void Plug() {
        ASSERT_TRUE(keyboard->Create());
        node = AwaitChange(watcher, "add", seen);
        ASSERT_FALSE(node.empty()) << "the watcher saw no hidraw add";
    }
    void Unplug() {
        ASSERT_TRUE(keyboard->Destroy());
        ASSERT_EQ(AwaitChange(watcher, "remove", seen), node) << "the watcher saw no hidraw remove";
    }

    // What the bridged firmware holds, read under the bridge's lock.
    KeyboardFirmware::Profile FirmwareProfile(int index) {
        std::lock_guard<std::mutex> lock(keyboard->mutex());
        return emulated.firmware().profile(index);
    }
    int FirmwareActiveProfile() {
        std::lock_guard<std::mutex> lock(keyboard->mutex());
        return emulated.firmware().activeProfile();
    }

    UdevDeviceWatcher watcher;  // before the keyboard, so that it hears the first add
    EmulatedKeyboard emulated{EmulatorLog{}};
    std::unique_ptr<HidHandle> commandInterface = emulated.OpenPath(EmulatedKeyboard::kCommandNode);
    std::unique_ptr<UhidKeyboard> keyboard;
    DeviceIdentity identity;
    std::string node;
    std::vector<std::string> seen;

    HidapiBackend backend;
    FlockDeviceGate gate;
    std::ostringstream diagnostics;
    HidDevice device{backend, gate, diagnostics};
    ThreadPacer pacer;
    KeyboardState state;
    Transcript log;
    FakePicture picture{log};
    FakePrompt prompt{log};
    FakeCombo profileCombo, ledModeCombo;
    FakeLighting lighting;
    ProtocolContext ctx{device, pacer, state, picture, prompt, profileCombo, ledModeCombo, lighting};
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
    ASSERT_TRUE(found) << "the shipped identity finds nothing";
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
    const HidDevice::Report select{7, 0xFC, 3, 0, 0, 0, 0, 0};
    ASSERT_TRUE(device.SetFeature(select));
    const std::vector<Bytes> arrived = keyboard->SetReports();
    ASSERT_EQ(arrived.size(), 1u);
    EXPECT_EQ(arrived[0], Bytes(select.begin(), select.end())) << "all 8 bytes, report id first";
    EXPECT_EQ(FirmwareActiveProfile(), 2);

    {
        std::lock_guard<std::mutex> lock(keyboard->mutex());
        emulated.firmware().profile(2).macros[0].owner = 0x3A;
    }
    ASSERT_TRUE(device.SetFeature({7, 0xFB, 1}));
    HidDevice::Report answer{7};
    ASSERT_TRUE(device.GetFeature(answer));
    EXPECT_EQ(answer, (HidDevice::Report{7, 0, 0x3A, 0, 0, 0, 0, 0})) << "first part of the slot answer";
    EXPECT_EQ(keyboard->GetReportCount(), 1);
}

TEST_F(RealKernel, TransfersTheDeviceAnswersWithAnErrorFail) {
    ASSERT_TRUE(device.Open(identity));
    emulated.RefuseNextSets(1);
    EXPECT_FALSE(device.SetFeature({7, 0xFC, 2}));
    EXPECT_EQ(FirmwareActiveProfile(), 0);
    HidDevice::Report otherReport{2};  // the keyboard has no feature report 2
    EXPECT_FALSE(device.GetFeature(otherReport));
    EXPECT_TRUE(device.IsOpen()) << "a failed transfer keeps the handle";
    EXPECT_TRUE(device.SetFeature({7, 0xFC, 2}));
    EXPECT_EQ(FirmwareActiveProfile(), 1);
}

TEST_F(RealKernel, ProfileSwitchReadsBackTheSlotOwners) {
    {
        std::lock_guard<std::mutex> lock(keyboard->mutex());
        emulated.firmware().profile(1).macros[2].owner = 0x29;
        emulated.firmware().profile(1).remaps[4] = {0x04, 0x05};
        emulated.firmware().profile(1).remaps[11] = {0xE0, 0x06};
    }
    ASSERT_TRUE(device.Open(identity));
    profileCombo.selection = 1;
    state.m_profileIndex = 1;
    SwitchProfile(ctx);
    EXPECT_EQ(FirmwareActiveProfile(), 1);
    EXPECT_EQ(state.m_macroKeyCodes, (std::array<uint8_t, 12>{0, 0, 0x29}));
    EXPECT_EQ(state.m_remapKeyCodes, (std::array<uint8_t, 12>{0, 0, 0, 0, 0x04, 0, 0, 0, 0, 0, 0, 0xE0}));
    EXPECT_EQ(picture.checked, (std::vector<uint8_t>{0x29, 0x04, 0xE0}));
}

TEST_F(RealKernel, RemapMacroUploadAndFactoryResetReachTheFirmware) {
    ASSERT_TRUE(device.Open(identity));
    profileCombo.selection = 2;
    state.m_profileIndex = 2;
    SwitchProfile(ctx);

    // Remap: key 0x29 sends B (0x05).
    KeyAssignment remap;
    remap[2] = 0x05;
    const uint8_t remapKey[] = {0x29};
    ApplyAssignment(ctx, remap, remapKey);
    EXPECT_EQ(FirmwareProfile(2).remaps[0].owner, 0x29);
    EXPECT_EQ(FirmwareProfile(2).remaps[0].target, 0x05);
    EXPECT_EQ(state.m_remapKeyCodes[0], 0x29);

    // A macro of 82 steps fills every byte position of the 28 reports; one refused report on the
    // way is retried.
    KeyAssignment macro;
    macro[3] = 2;
    for (size_t k = 0; k < KeyAssignment::kMaxSteps; ++k)
        macro.SetStep(k, {static_cast<uint8_t>(4 + k / 2), static_cast<uint8_t>((k % 2 ? 0x80 : 0) | 0x21)});
    const size_t setsBefore = keyboard->SetReports().size();
    emulated.RefuseNextSets(1);
    const uint8_t macroKey[] = {0x3A};
    ApplyAssignment(ctx, macro, macroKey);
    const KeyboardFirmware::Profile held = FirmwareProfile(2);
    EXPECT_EQ(held.macros[0].owner, 0x3A);
    EXPECT_EQ(held.macros[0].image.bytes, macro.bytes) << "the image arrived whole";
    EXPECT_EQ(held.macros[0].image[0], 3);
    EXPECT_EQ(held.macros[0].image[1], 1);
    const std::vector<Bytes> sets = keyboard->SetReports();
    const size_t uploadReports = 28 + 1;  // one refused and sent again
    ASSERT_GE(sets.size(), setsBefore + uploadReports);
    EXPECT_EQ(sets[setsBefore][1], 0xF1);
    EXPECT_EQ(sets[setsBefore + uploadReports - 1],
              (Bytes{7, 0, macro[162], macro[163], macro[164], macro[165], macro[166], macro[167]}));
    EXPECT_EQ(state.m_macroKeyCodes[0], 0x3A);
    EXPECT_EQ(picture.checked, (std::vector<uint8_t>{0x3A, 0x29}));

    // Factory reset: every slot of every profile free, profile 1 active, the read-back empty.
    {
        std::lock_guard<std::mutex> lock(keyboard->mutex());
        emulated.firmware().profile(0).macros[5].owner = 0x10;
    }
    ledModeCombo.selection = 4;
    RestoreFactorySettings(ctx);
    EXPECT_EQ(FirmwareActiveProfile(), 0);
    for (int p = 0; p < kProfileCount; ++p) {
        const KeyboardFirmware::Profile after = FirmwareProfile(p);
        for (int s = 0; s < kSlotCount; ++s) {
            EXPECT_EQ(after.macros[s].owner, 0) << "profile " << p << " macro slot " << s;
            EXPECT_EQ(after.remaps[s].owner, 0) << "profile " << p << " remap slot " << s;
        }
    }
    {
        std::lock_guard<std::mutex> lock(keyboard->mutex());
        EXPECT_EQ(emulated.firmware().lighting(0), InitialLightingRecord(0)) << "mode 0 sent again";
    }
    EXPECT_EQ(state.m_macroKeyCodes, (std::array<uint8_t, 12>{}));
    EXPECT_EQ(state.m_remapKeyCodes, (std::array<uint8_t, 12>{}));
    EXPECT_TRUE(picture.checked.empty());
}

TEST_F(RealKernel, APresentKeyboardThatCannotBeOpenedIsOpenFailed) {
    DeviceChangeHandler handler(device, identity, diagnostics);
    ASSERT_EQ(handler.OnDeviceChange(), DeviceChangeOutcome::Connected);
    ASSERT_EQ(chmod(node.c_str(), 0), 0);
    {
        WithoutFileAccessOverride user;
        ASSERT_TRUE(user.ok());
        EXPECT_EQ(handler.OnDeviceChange(), DeviceChangeOutcome::OpenFailed);
        EXPECT_FALSE(device.IsOpen()) << "the old handle was dropped before the open was tried";
        EXPECT_EQ(handler.OnDeviceChange(), DeviceChangeOutcome::OpenFailed) << "on every message";
    }
    ASSERT_EQ(chmod(node.c_str(), 0600), 0);
    EXPECT_EQ(handler.OnDeviceChange(), DeviceChangeOutcome::Connected);
    EXPECT_TRUE(device.SetFeature({7, 0xFC, 2}));
    EXPECT_EQ(FirmwareActiveProfile(), 1);
}

TEST_F(RealKernel, UnplugAndReplugAreSeenAndTheChannelReopens) {
    DeviceChangeHandler handler(device, identity, diagnostics);
    ASSERT_EQ(handler.OnDeviceChange(), DeviceChangeOutcome::Connected);
    ASSERT_TRUE(device.SetFeature({7, 0xFC, 2}));

    Unplug();
    EXPECT_EQ(handler.OnDeviceChange(), DeviceChangeOutcome::Absent);
    EXPECT_TRUE(device.IsOpen()) << "the stale handle stays";
    EXPECT_FALSE(device.SetFeature({7, 0xFC, 3})) << "a transfer on the stale handle fails";
    HidDevice::Report r{7};
    EXPECT_FALSE(device.GetFeature(r));
    EXPECT_EQ(FirmwareActiveProfile(), 1);

    Plug();
    EXPECT_EQ(handler.OnDeviceChange(), DeviceChangeOutcome::Connected);
    EXPECT_TRUE(device.SetFeature({7, 0xFC, 3}));
    EXPECT_EQ(FirmwareActiveProfile(), 2);

    // Another device of the same maker comes and goes: each message reopens the keyboard.
    UhidKeyboard other(*commandInterface, 0x9C02);
    ASSERT_TRUE(other.Create());
    const std::string otherNode = AwaitChange(watcher, "add", seen);
    ASSERT_FALSE(otherNode.empty());
    EXPECT_NE(otherNode, node);
    EXPECT_EQ(handler.OnDeviceChange(), DeviceChangeOutcome::Connected);
    ASSERT_TRUE(other.Destroy());
    EXPECT_EQ(AwaitChange(watcher, "remove", seen), otherNode);
    EXPECT_EQ(handler.OnDeviceChange(), DeviceChangeOutcome::Connected);
    EXPECT_TRUE(device.SetFeature({7, 0xFC, 1}));
    EXPECT_EQ(FirmwareActiveProfile(), 0);

    for (const std::string& s : seen) std::printf("  watcher: %s\n", s.c_str());
}

}  // namespace
