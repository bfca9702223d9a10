#pragma once
#include <string_view>

// One macro event as the macro library holds it: decimal texts, converted only when encoded.
// The views must outlive the call they are passed to.
struct MacroStepText {
    std::string_view code;   // HID usage of the key
    std::string_view state;  // "0" press, anything else release
    std::string_view delay;  // milliseconds to wait after the event
};
