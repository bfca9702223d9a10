#include "emulator/KeyboardFirmware.h"

#include <algorithm>

#include "protocol/FeatureReport.h"

namespace {
constexpr size_t kPartSize = 7;
constexpr size_t kAnswerParts = 4;
constexpr size_t kPayload = 6;
}  // namespace

KeyboardFirmware::KeyboardFirmware() { FactoryReset(); }

void KeyboardFirmware::FactoryReset() {
    activeProfile_ = 0;
    profiles_ = {};
    lighting_ = InitialLightingModes();
    assembled_ = 0;
    answerParts_ = 0;
}

bool KeyboardFirmware::Set(const uint8_t (&r)[kReportSize]) {
    if (r[0] != FeatureCommand::kReportId) return false;
    ++sets_;
    const uint8_t* payload = r + 2;
    switch (r[1]) {
        case FeatureCommand::kReadKeySlots: {
            if (payload[0] != 0x01) break;
            const Profile& p = profiles_[activeProfile_];
            answer_.fill(0);
            for (int i = 0; i < kSlotCount; ++i) {
                answer_[1 + i] = p.macros[i].owner;
                answer_[14 + i] = p.remaps[i].owner;
            }
            answerParts_ = kAnswerParts;
            break;
        }
        case FeatureCommand::kSelectProfile:
            if (payload[0] >= 1 && payload[0] <= kProfileCount) activeProfile_ = payload[0] - 1;
            break;
        case FeatureCommand::kWriteRemapSlot: {
            const int profile = payload[0] - 1, slot = payload[1] - 1;
            if (profile < 0 || profile >= kProfileCount || slot < 0 || slot >= kSlotCount) break;
            RemapSlot& s = profiles_[profile].remaps[slot];
            s.owner = payload[2];
            s.target = s.owner == 0 ? 0 : payload[4];
            break;
        }
        case FeatureCommand::kWriteMacroSlot:
            assembly_.Clear();
            std::copy_n(payload, kPayload, assembly_.bytes.begin());
            assembled_ = kPayload;
            break;
        case FeatureCommand::kContinuation:
            if (assembled_ == 0) break;
            std::copy_n(payload, kPayload, assembly_.bytes.begin() + assembled_);
            assembled_ += kPayload;
            if (assembled_ == KeyAssignment::kSize) StoreImage();
            break;
        case FeatureCommand::kSetLighting:
            if (payload[0] >= kLedModeCount) break;
            std::copy_n(payload + 1, 5, lighting_[payload[0]].bytes.begin());
            break;
        case FeatureCommand::kFactoryReset:
            if (payload[0] == FeatureCommand::kFactoryResetMagic) FactoryReset();
            break;
        default:
            break;
    }
    return true;
}

void KeyboardFirmware::StoreImage() {
    assembled_ = 0;
    const int profile = assembly_[0] - 1, slot = assembly_[1] - 1;
    if (profile < 0 || profile >= kProfileCount || slot < 0 || slot >= kSlotCount) return;
    MacroSlot& s = profiles_[profile].macros[slot];
    s.owner = assembly_[2];
    s.image = assembly_;
    if (s.owner == 0) s.image.Clear();
}

void KeyboardFirmware::Get(uint8_t (&r)[kReportSize]) {
    ++gets_;
    std::fill(std::begin(r), std::end(r), 0);
    r[0] = FeatureCommand::kReportId;
    if (answerParts_ == 0) return;
    const size_t part = kAnswerParts - answerParts_--;
    std::copy_n(answer_.begin() + part * kPartSize, kPartSize, r + 1);
}

bool KeyboardFirmware::Set(std::span<const uint8_t> report) {
    if (report.size() != kReportSize) return false;
    uint8_t r[kReportSize];
    std::copy(report.begin(), report.end(), r);
    return Set(r);
}

bool KeyboardFirmware::Get(std::span<uint8_t> report) {
    if (report.size() != kReportSize) return false;
    uint8_t r[kReportSize];
    Get(r);
    std::copy(std::begin(r), std::end(r), report.begin());
    return true;
}
