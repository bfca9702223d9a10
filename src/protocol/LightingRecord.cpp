#include "protocol/LightingRecord.h"

namespace {

// Area N's nibble: areas 1, 3, 5 in the high nibble of bytes 0, 1, 2; areas 2, 4, 6 in the low.
constexpr int AreaByte(int area) { return area / 2; }
constexpr int AreaShift(int area) { return area % 2 == 0 ? 4 : 0; }

void SetBits(uint8_t& byte, uint8_t mask, int value) {
    byte = static_cast<uint8_t>((byte & ~mask) | (value & mask));
}

bool ValidMode(int mode) { return mode >= 0 && mode < kLedModeCount; }

// A check group shows values 0-6; anything else leaves no member checked.
int32_t GroupValue(int value) { return value >= 0 && value <= 6 ? value : -1; }

}  // namespace

LightingRecord InitialLightingRecord(int mode) {
    if (mode == kUserAreaMode) return {{0x00, 0x00, 0x00, 0x03, 0x00}};
    return {{0x01, 0x01, 0x03, 0x03, 0x00}};
}

std::array<LightingRecord, kLedModeCount> InitialLightingModes() {
    std::array<LightingRecord, kLedModeCount> modes;
    for (int m = 0; m < kLedModeCount; ++m) modes[m] = InitialLightingRecord(m);
    return modes;
}

LightingPanels PanelsForMode(int mode) {
    //                      direction speed  bright  row 1  row 2  areas
    static constexpr LightingPanels kTable[kLedModeCount] = {
        {true, true, true, false, false, false},    // 0
        {true, true, true, true, false, false},     // 1
        {true, true, true, true, false, false},     // 2
        {false, false, true, false, true, false},   // 3
        {false, true, true, true, false, false},    // 4
        {false, true, true, false, false, false},   // 5
        {true, true, true, false, false, false},    // 6
        {false, false, true, false, false, false},  // 7
        {false, false, true, false, false, true},   // 8
        {false, false, true, false, false, false},  // 9
    };
    return ValidMode(mode) ? kTable[mode] : LightingPanels{};
}

void ShowRecordInControls(int mode, const LightingRecord& r, LightingControlValues& controls) {
    if (!ValidMode(mode)) return;
    controls.brightness = r[3] & 3;
    if (mode == kUserAreaMode) {
        for (int area = 0; area < 6; ++area)
            controls.areas[area] = GroupValue((r[AreaByte(area)] >> AreaShift(area)) & 0xF);
        return;
    }
    controls.speed = r[2] & 3;
    const int color = r[0] & 7;
    if (color != 0) (mode == kSecondColorRowMode ? controls.colorRow2 : controls.colorRow1) = color - 1;
    controls.direction = (r[1] & 3) == 2 ? 1 : 0;
}

void StoreControlsInRecord(int mode, const LightingControlValues& controls, LightingRecord& r) {
    if (!ValidMode(mode)) return;
    SetBits(r[3], 0x03, controls.brightness);
    if (mode == kUserAreaMode) {
        for (int area = 0; area < 6; ++area) {
            const int shift = AreaShift(area);
            SetBits(r[AreaByte(area)], static_cast<uint8_t>(0xF << shift), (controls.areas[area] & 0xF) << shift);
        }
        return;
    }
    SetBits(r[2], 0x03, controls.speed);
    SetBits(r[1], 0x03, controls.direction == 1 ? 2 : 1);
    const int32_t group = mode == kSecondColorRowMode ? controls.colorRow2 : controls.colorRow1;
    SetBits(r[0], 0x07, group + 1);
}
