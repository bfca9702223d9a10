#pragma once
#include <string>

// One key event of a macro. The four properties are kept as the text they were read or recorded
// as (a delay such as "12ms" survives load and save); they become numbers only where they are used.
struct MacroEvent {
    std::string code = "0";   // the keyboard's key code (the key's HID usage), decimal
    std::string name;         // display name of the key
    std::string state = "0";  // "0" press, "1" release; anything else is shown as "replace"
    std::string delay = "0";  // milliseconds to wait after this event, decimal

    bool operator==(const MacroEvent&) const = default;
};
