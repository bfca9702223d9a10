#pragma once
#include <cstdint>
#include <initializer_list>

#include "device/HidDevice.h"

// One 8-byte vendor feature report: byte 0 the report id 7, byte 1 the command, bytes 2-7 the
// payload (unused bytes 0). A get report goes out as 07 followed by seven zeros and comes back
// with seven data bytes in bytes 1-7.
using FeatureReport = HidDevice::Report;
static_assert(sizeof(FeatureReport) == 8);

namespace FeatureCommand {
inline constexpr uint8_t kReportId = 0x07;
inline constexpr uint8_t kReadKeySlots = 0xFB;
inline constexpr uint8_t kSelectProfile = 0xFC;
inline constexpr uint8_t kWriteRemapSlot = 0xFA;
inline constexpr uint8_t kWriteMacroSlot = 0xF1;
inline constexpr uint8_t kContinuation = 0x00;
inline constexpr uint8_t kSetLighting = 0xF7;
inline constexpr uint8_t kFactoryReset = 0xF0;
inline constexpr uint8_t kFactoryResetMagic = 0xAA;
}  // namespace FeatureCommand

// The keyboard counts its three profiles and twelve slots of each kind from 1; the program from 0.
inline constexpr int kProfileCount = 3;
inline constexpr int kSlotCount = 12;

// 07, the command, then up to six payload bytes; the rest stays 0.
inline FeatureReport MakeFeatureReport(uint8_t command, std::initializer_list<uint8_t> payload = {}) {
    FeatureReport report{FeatureCommand::kReportId, command};
    size_t i = 2;
    for (uint8_t b : payload) {
        if (i >= report.size()) break;
        report[i++] = b;
    }
    return report;
}
