#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "device/HidBackend.h"
#include "emulator/EmulatorLog.h"
#include "emulator/KeyboardFirmware.h"

// The emulated keyboard as a HID backend: the device behind `kbdconf --demo` and the peer of the
// protocol tests. It enumerates as one keyboard with two interfaces — typing keys on interface 0,
// and on interface 1 three collections: media keys, system keys and the vendor command collection
// (col03) that takes feature report 7. With the identity of config.xml (1a2c:9c01, any
// interface, collection 3) the program finds the command collection.
//
// Reports on the command node go to the firmware model; the typing-key node has no report 7, so
// its transfers fail. Faults for tests: refuse the next N sets, answer every get with zeros,
// unplug (gone from enumeration, every transfer fails, handles opened before stay dead for good)
// and plug back in.
class EmulatedKeyboard : public HidBackend {
public:
    static constexpr uint16_t kVendorId = 0x1A2C;
    static constexpr uint16_t kProductId = 0x9C01;
    static constexpr const char* kTypingKeysNode = "emulator:/hidraw0";
    static constexpr const char* kCommandNode = "emulator:/hidraw1";

    // Logs to the file named by KBDCONF_EMULATOR_LOG when it is set.
    EmulatedKeyboard();
    explicit EmulatedKeyboard(EmulatorLog log);
    ~EmulatedKeyboard() override;

    std::vector<HidInterfaceInfo> Enumerate() override;
    std::unique_ptr<HidHandle> OpenPath(const std::string& openPath) override;

    KeyboardFirmware& firmware() { return firmware_; }
    const KeyboardFirmware& firmware() const { return firmware_; }

    void RefuseNextSets(int count) { refuseSets_ = count; }
    void SetGetsAnswerZeros(bool zeros) { zeroGets_ = zeros; }
    void Unplug() { plugged_ = false; }
    void Replug();
    bool plugged() const { return plugged_; }

private:
    class Handle;
    int SetFrom(uint32_t generation, const uint8_t* data, size_t length);
    int GetInto(uint32_t generation, uint8_t* data, size_t length);

    KeyboardFirmware firmware_;
    EmulatorLog log_;
    bool plugged_ = true;
    uint32_t generation_ = 1;  // bumped on every replug; older handles are stale
    uint32_t opened_ = 0;
    int refuseSets_ = 0;
    bool zeroGets_ = false;
    std::shared_ptr<EmulatedKeyboard*> self_;  // handles outliving the keyboard see nullptr
};
