#include "app/KeyCodeTable.h"

namespace {
constexpr uint32_t K(uint32_t usage, uint32_t virtualKey) { return (usage << 8) | virtualKey; }
}  // namespace

// clang-format off
const KeyCodeEntry KeyCodeTable[kKeyCodeCount] = {
    {K(0x29, 0x1B), "Esc"},  // 0
    {K(0x3A, 0x70), "F1"},  // 1
    {K(0x3B, 0x71), "F2"},  // 2
    {K(0x3C, 0x72), "F3"},  // 3
    {K(0x3D, 0x73), "F4"},  // 4
    {K(0x3E, 0x74), "F5"},  // 5
    {K(0x3F, 0x75), "F6"},  // 6
    {K(0x40, 0x76), "F7"},  // 7
    {K(0x41, 0x77), "F8"},  // 8
    {K(0x42, 0x78), "F9"},  // 9
    {K(0x43, 0x79), "F10"},  // 10
    {K(0x44, 0x7A), "F11"},  // 11
    {K(0x45, 0x7B), "F12"},  // 12
    {K(0x46, 0x2C), "PrintScreen"},  // 13
    {K(0x47, 0x91), "ScrollLock"},  // 14
    {K(0x48, 0x13), "PAUSE"},  // 15
    {K(0x35, 0xC0), "~"},  // 16
    {K(0x1E, 0x31), "1"},  // 17
    {K(0x1F, 0x32), "2"},  // 18
    {K(0x20, 0x33), "3"},  // 19
    {K(0x21, 0x34), "4"},  // 20
    {K(0x22, 0x35), "5"},  // 21
    {K(0x23, 0x36), "6"},  // 22
    {K(0x24, 0x37), "7"},  // 23
    {K(0x25, 0x38), "8"},  // 24
    {K(0x26, 0x39), "9"},  // 25
    {K(0x27, 0x30), "0"},  // 26
    {K(0x2D, 0xBD), "-"},  // 27
    {K(0x2E, 0xBB), "="},  // 28
    {K(0x2A, 0x08), "Backspace"},  // 29
    {K(0x49, 0x2D), "Insert"},  // 30
    {K(0x4A, 0x24), "Home"},  // 31
    {K(0x4B, 0x21), "PageUp"},  // 32
    {K(0x53, 0x90), "NumLock"},  // 33
    {K(0x54, 0x6F), "Pad /"},  // 34
    {K(0x55, 0x6A), "Pad *"},  // 35
    {K(0x56, 0x6D), "Pad -"},  // 36
    {K(0x2B, 0x09), "Tab"},  // 37
    {K(0x14, 0x51), "Q"},  // 38
    {K(0x1A, 0x57), "W"},  // 39
    {K(0x08, 0x45), "E"},  // 40
    {K(0x15, 0x52), "R"},  // 41
    {K(0x17, 0x54), "T"},  // 42
    {K(0x1C, 0x59), "Y"},  // 43
    {K(0x18, 0x55), "U"},  // 44
    {K(0x0C, 0x49), "I"},  // 45
    {K(0x12, 0x4F), "O"},  // 46
    {K(0x13, 0x50), "P"},  // 47
    {K(0x2F, 0xDB), "["},  // 48
    {K(0x30, 0xDD), "]"},  // 49
    {K(0x31, 0xDC), "\\"},  // 50
    {K(0x4C, 0x2E), "Delete"},  // 51
    {K(0x4D, 0x23), "End"},  // 52
    {K(0x4E, 0x22), "PageDown"},  // 53
    {K(0x5F, 0x67), "Pad 7"},  // 54
    {K(0x60, 0x68), "Pad 8"},  // 55
    {K(0x61, 0x69), "Pad 9"},  // 56
    {K(0x57, 0x6B), "Pad +"},  // 57
    {K(0x39, 0x14), "CapsLock"},  // 58
    {K(0x04, 0x41), "A"},  // 59
    {K(0x16, 0x53), "S"},  // 60
    {K(0x07, 0x44), "D"},  // 61
    {K(0x09, 0x46), "F"},  // 62
    {K(0x0A, 0x47), "G"},  // 63
    {K(0x0B, 0x48), "H"},  // 64
    {K(0x0D, 0x4A), "J"},  // 65
    {K(0x0E, 0x4B), "K"},  // 66
    {K(0x0F, 0x4C), "L"},  // 67
    {K(0x33, 0xBA), ";"},  // 68
    {K(0x34, 0xDE), "\u2018"},  // 69
    {K(0x28, 0x0D), "Enter"},  // 70
    {K(0x5C, 0x64), "Pad 4"},  // 71
    {K(0x5D, 0x65), "Pad 5"},  // 72
    {K(0x5E, 0x66), "Pad 6"},  // 73
    {K(0xE1, 0xA0), "Shift Left"},  // 74
    {K(0x1D, 0x5A), "Z"},  // 75
    {K(0x1B, 0x58), "X"},  // 76
    {K(0x06, 0x43), "C"},  // 77
    {K(0x19, 0x56), "V"},  // 78
    {K(0x05, 0x42), "B"},  // 79
    {K(0x11, 0x4E), "N"},  // 80
    {K(0x10, 0x4D), "M"},  // 81
    {K(0x36, 0xBC), ","},  // 82
    {K(0x37, 0xBE), "."},  // 83
    {K(0x38, 0xBF), "/"},  // 84
    {K(0xE5, 0xA1), "Shift Right"},  // 85
    {K(0x52, 0x26), "Arrow Up"},  // 86
    {K(0x59, 0x61), "Pad 1"},  // 87
    {K(0x5A, 0x62), "Pad 2"},  // 88
    {K(0x5B, 0x63), "Pad 3"},  // 89
    {K(0x58, 0x0D), "Pad Enter"},  // 90
    {K(0xE0, 0xA2), "Ctrl Left"},  // 91
    {K(0xE3, 0x5B), "Win Left"},  // 92
    {K(0xE2, 0xA4), "Alt Left"},  // 93
    {K(0x2C, 0x20), "SpaceBar"},  // 94
    {K(0xE6, 0xA5), "Alt Right"},  // 95
    {K(0xE7, 0x5C), "Win Right"},  // 96
    {K(0x65, 0x5D), "App"},  // 97
    {K(0xE4, 0xA3), "Ctrl Right"},  // 98
    {K(0x50, 0x25), "Arrow Left"},  // 99
    {K(0x51, 0x28), "Arrow Down"},  // 100
    {K(0x4F, 0x27), "Arrow Right"},  // 101
    {K(0x62, 0x60), "Pad 0"},  // 102
    {K(0x63, 0x6E), "Pad ."},  // 103
};
// clang-format on

const char* NameForUsage(uint8_t usage) {
    for (const KeyCodeEntry& e : KeyCodeTable)
        if (e.usage() == usage) return e.name;
    return nullptr;
}

std::optional<uint8_t> UsageForVirtualKey(uint8_t virtualKey) {
    for (const KeyCodeEntry& e : KeyCodeTable)
        if (e.virtualKey() == virtualKey) return e.usage();
    return std::nullopt;
}

bool UsageForVirtualKey(uint8_t virtualKey, uint8_t& usage) {
    const std::optional<uint8_t> found = UsageForVirtualKey(virtualKey);
    if (found) usage = *found;
    return found.has_value();
}
