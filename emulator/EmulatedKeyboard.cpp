#include "emulator/EmulatedKeyboard.h"

#include <algorithm>
#include <cstdio>

class EmulatedKeyboard::Handle : public HidHandle {
public:
    Handle(std::shared_ptr<EmulatedKeyboard*> keyboard, uint32_t generation, bool commandNode, uint32_t value)
        : keyboard_(std::move(keyboard)), generation_(generation), commandNode_(commandNode), value_(value) {}

    int SendFeatureReport(const uint8_t* data, size_t length) override {
        EmulatedKeyboard* k = *keyboard_;
        return k && commandNode_ ? k->SetFrom(generation_, data, length) : -1;
    }
    int GetFeatureReport(uint8_t* data, size_t length) override {
        EmulatedKeyboard* k = *keyboard_;
        return k && commandNode_ ? k->GetInto(generation_, data, length) : -1;
    }
    uint32_t DiagnosticValue() const override { return value_; }

private:
    std::shared_ptr<EmulatedKeyboard*> keyboard_;
    uint32_t generation_;
    bool commandNode_;
    uint32_t value_;
};

EmulatedKeyboard::EmulatedKeyboard() : EmulatedKeyboard(EmulatorLog::FromEnvironment()) {}

EmulatedKeyboard::EmulatedKeyboard(EmulatorLog log)
    : log_(std::move(log)), self_(std::make_shared<EmulatedKeyboard*>(this)) {}

EmulatedKeyboard::~EmulatedKeyboard() { *self_ = nullptr; }

void EmulatedKeyboard::Replug() {
    if (plugged_) return;
    plugged_ = true;
    ++generation_;
}

std::vector<HidInterfaceInfo> EmulatedKeyboard::Enumerate() {
    if (!plugged_) return {};
    char prefix[48];
    std::snprintf(prefix, sizeof prefix, "\\\\?\\hid#vid_%04x&pid_%04x", kVendorId, kProductId);
    const std::string p = prefix;
    return {
        {p + "&mi_00#emu0", kTypingKeysNode},
        {p + "&mi_01&col01#emu1", kCommandNode},  // media keys
        {p + "&mi_01&col02#emu1", kCommandNode},  // system keys
        {p + "&mi_01&col03#emu1", kCommandNode},  // vendor commands, report 7
    };
}

std::unique_ptr<HidHandle> EmulatedKeyboard::OpenPath(const std::string& openPath) {
    if (!plugged_) return nullptr;
    const bool command = openPath == kCommandNode;
    if (!command && openPath != kTypingKeysNode) return nullptr;
    return std::make_unique<Handle>(self_, generation_, command, 0xE0000000u | ++opened_);
}

int EmulatedKeyboard::SetFrom(uint32_t generation, const uint8_t* data, size_t length) {
    if (!plugged_ || generation != generation_ || length != KeyboardFirmware::kReportSize) return -1;
    const bool refused = refuseSets_ > 0;
    if (refused) --refuseSets_;
    const bool accepted = !refused && firmware_.Set(std::span<const uint8_t>(data, length));
    log_.Write("set", data, length, !accepted);
    return accepted ? static_cast<int>(length) : -1;
}

int EmulatedKeyboard::GetInto(uint32_t generation, uint8_t* data, size_t length) {
    if (!plugged_ || generation != generation_ || length != KeyboardFirmware::kReportSize) return -1;
    if (data[0] != 0x07) return -1;  // only the command report exists
    uint8_t report[KeyboardFirmware::kReportSize];
    firmware_.Get(report);
    if (zeroGets_) std::fill(report + 1, std::end(report), 0);
    std::copy_n(report, length, data);
    log_.Write("get", report, length);
    return static_cast<int>(length);
}
