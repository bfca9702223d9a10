#pragma once
#include <cstdint>
#include <set>
#include <string>

// A key clicked on the keyboard picture: its one-byte key code and its display name (UTF-8).
struct SelectedKey {
    uint8_t keyCode = 0;
    std::string name;
};

// The main window's selected-key set orders keys by code taken as a signed byte (so 0x80-0xFF
// come before 0x00-0x7F) and holds at most one key per code.
struct SelectedKeyOrder {
    bool operator()(const SelectedKey& a, const SelectedKey& b) const {
        return static_cast<int8_t>(a.keyCode) < static_cast<int8_t>(b.keyCode);
    }
};
using SelectedKeySet = std::set<SelectedKey, SelectedKeyOrder>;
