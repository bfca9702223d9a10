#pragma once
#include <cstdint>

// The keyboard messages a hook listener receives.
inline constexpr uint32_t kMsgKeyDown = 0x0100;
inline constexpr uint32_t kMsgKeyUp = 0x0101;
inline constexpr uint32_t kMsgSysKeyDown = 0x0104;
inline constexpr uint32_t kMsgSysKeyUp = 0x0105;

// Flag bits of KeyboardHookEvent::flags.
inline constexpr uint32_t kHookFlagAltDown = 0x20;
inline constexpr uint32_t kHookFlagUp = 0x80;

// One low-level key event as the hook delivers it; the virtual-key code comes first, as every
// listener reads it from there.
struct KeyboardHookEvent {
    uint32_t virtualKey = 0;  // Windows virtual-key code, left and right modifiers apart
    uint32_t scanCode = 0;    // the platform's native scan code
    uint32_t flags = 0;
    uint32_t time = 0;  // the platform's event time stamp in milliseconds
};
