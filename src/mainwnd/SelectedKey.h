#pragma once
#include <QString>
#include <cstdint>
#include <set>

// A key clicked on the keyboard picture: its one-byte code (the low 8 bits of the picture key's
// id) and its display name.
struct SelectedKey {
    uint8_t keyCode = 0;
    QString name;
};

// The window's selected-key set is ordered by code compared as a signed byte, so 0x80-0xFF come
// before 0x00-0x7F; one entry per code.
struct SelectedKeyOrder {
    bool operator()(const SelectedKey& a, const SelectedKey& b) const {
        return static_cast<int8_t>(a.keyCode) < static_cast<int8_t>(b.keyCode);
    }
};
using SelectedKeySet = std::set<SelectedKey, SelectedKeyOrder>;
