#pragma once
#include <array>
#include <cstdint>

// The values of the lighting controls, as plain numbers. A check group's value is the position of
// its first checked member, -1 when none is; setting a value outside 0-6 unchecks the whole group.
struct LightingControlValues {
    int32_t speed = 0;          // slider, 0-3
    int32_t brightness = 0;     // slider, 0-3
    int32_t direction = -1;     // group: 0 left, 1 right
    int32_t colorRow1 = -1;     // group bar_color1 … bar_color7
    int32_t colorRow2 = -1;     // group bar_color11 … bar_color77 (mode 3)
    std::array<int32_t, 6> areas{-1, -1, -1, -1, -1, -1};  // groups color2 … color8 of areas 1-6

    bool operator==(const LightingControlValues&) const = default;
};
