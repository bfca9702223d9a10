#pragma once
#include <array>
#include <cstdint>

#include "protocol/FeatureReport.h"
#include "protocol/LightingRecord.h"

// What the main window knows of the keyboard and sends to it. The window owns one; the protocol
// reads and writes it. Only the read-back writes the two slot tables.
struct KeyboardState {
    // Zero-based profile chosen in the profile selector; 0-2 select a profile.
    int32_t m_profileIndex = 0;
    // Owner key code of macro slot i / remap slot i of the active profile; 0 = free.
    std::array<uint8_t, kSlotCount> m_macroKeyCodes{};
    std::array<uint8_t, kSlotCount> m_remapKeyCodes{};
    // One record per LED mode, shared by all profiles; never read from the keyboard.
    std::array<LightingRecord, kLedModeCount> m_lightingModes = InitialLightingModes();
};
