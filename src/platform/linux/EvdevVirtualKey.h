#pragma once
#include <cstdint>

// The Windows virtual-key code of a Linux input event code (linux/input-event-codes.h), left and
// right modifiers apart, or 0 for a key without one. X11 and Wayland report the evdev code + 8 as
// the native scan code of a key event.
uint8_t VirtualKeyForEvdev(uint32_t evdevCode);

inline constexpr uint32_t kEvdevScanCodeOffset = 8;
