#pragma once
#include <cstdint>
#include <string>

// One clickable key of the keyboard picture. The rectangle is in the picture's logical pixels,
// right and bottom exclusive. Colours are 0xAABBGGRR: red in the low byte, opacity in the high
// byte (0 = invisible).
struct CoordKey {
    int32_t id = -1;
    std::string name;  // UTF-8
    int32_t checked = 0;
    int32_t hover = 0;
    int32_t pressed = 0;
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    uint32_t color = 0xFFFFFFFF;

    bool Contains(int32_t x, int32_t y) const { return left <= x && x < right && top <= y && y < bottom; }
};
