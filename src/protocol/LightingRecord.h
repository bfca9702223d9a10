#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "protocol/LightingControlValues.h"
#include "protocol/LightingPanels.h"

inline constexpr int kLedModeCount = 10;
inline constexpr int kUserAreaMode = 8;
inline constexpr int kSecondColorRowMode = 3;

// The five lighting bytes of one LED mode.
//   every mode but 8: byte 0 bits 2-0 colour code; byte 1 bits 1-0 direction (1 left, 2 right);
//                     byte 2 bits 1-0 speed; byte 3 bits 1-0 brightness; byte 4 0
//   mode 8:           bytes 0-2 the six area values as nibbles (area 1 = high nibble of byte 0,
//                     area 2 its low nibble, …); byte 3 bits 1-0 brightness; byte 4 0
// Bits outside the fields are never set, and updates touch only the fields.
struct LightingRecord {
    std::array<uint8_t, 5> bytes{};

    uint8_t& operator[](size_t i) { return bytes[i]; }
    uint8_t operator[](size_t i) const { return bytes[i]; }
    bool operator==(const LightingRecord&) const = default;
};
static_assert(sizeof(LightingRecord) == 5);

// 01 01 03 03 00 for every mode but 8, which starts at 00 00 00 03 00.
LightingRecord InitialLightingRecord(int mode);
std::array<LightingRecord, kLedModeCount> InitialLightingModes();

// Which panels of the lighting controls apply to a mode (0-9; other modes show nothing).
LightingPanels PanelsForMode(int mode);

// Record to controls: sets the brightness and, by mode, the area groups or the speed, colour
// group and direction. A colour code of 0 leaves the colour group as it is.
void ShowRecordInControls(int mode, const LightingRecord& record, LightingControlValues& controls);

// Controls to record: the fields of the mode, also those whose panel is hidden.
void StoreControlsInRecord(int mode, const LightingControlValues& controls, LightingRecord& record);
