#pragma once
#include <cstdint>
#include <optional>

// One key of the keyboard: bits 0-7 the Windows virtual-key code, bits 8-15 the HID usage
// (Keyboard/Keypad page); name is UTF-8.
struct KeyCodeEntry {
    uint32_t code;
    const char* name;

    constexpr uint8_t virtualKey() const { return static_cast<uint8_t>(code & 0xFF); }
    constexpr uint8_t usage() const { return static_cast<uint8_t>((code >> 8) & 0xFF); }
};

inline constexpr int kKeyCodeCount = 104;

// The 104 keys in their fixed order; lookups scan from row 0 and the first match wins.
extern const KeyCodeEntry KeyCodeTable[kKeyCodeCount];

// Name of the first row with this usage, or nullptr.
const char* NameForUsage(uint8_t usage);

// HID usage of the first row with this virtual-key code (0x0D gives Enter, never Pad Enter).
bool UsageForVirtualKey(uint8_t virtualKey, uint8_t& usage);
std::optional<uint8_t> UsageForVirtualKey(uint8_t virtualKey);
