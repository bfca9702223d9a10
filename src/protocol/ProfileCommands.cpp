#include "protocol/ProfileCommands.h"

#include <algorithm>

#include "protocol/ReportExchange.h"

namespace {

constexpr uint32_t kSelectProfilePauseMs = 50;
constexpr uint32_t kBeforeReadBackMs = 50;
constexpr uint32_t kReadBackStepMs = 10;

// Two data reports of the answer, 14 bytes.
void ReadHalfAnswer(ProtocolContext& ctx, uint8_t (&half)[14]) {
    std::fill(std::begin(half), std::end(half), 0);
    for (int i = 0; i < 2; ++i) {
        ctx.pacer.Sleep(kReadBackStepMs);
        uint8_t data[7];
        GetReportData(ctx.device, data);
        std::copy_n(data, 7, half + 7 * i);
    }
}

void StoreOwners(ProtocolContext& ctx, std::array<uint8_t, kSlotCount>& table, const uint8_t* owners) {
    for (int i = 0; i < kSlotCount; ++i) {
        table[i] = owners[i];
        if (table[i] != 0) ctx.picture.CheckKey(table[i]);
    }
}

}  // namespace

void SwitchProfile(ProtocolContext& ctx) {
    const int32_t index = ctx.state.m_profileIndex;
    if (index < 0 || index >= kProfileCount) return;
    ctx.device.SetFeature(MakeFeatureReport(FeatureCommand::kSelectProfile, {static_cast<uint8_t>(index + 1)}));
    ctx.pacer.Sleep(kSelectProfilePauseMs);
    ReadBack(ctx);
}

void ReadBack(ProtocolContext& ctx) {
    ctx.pacer.Sleep(kBeforeReadBackMs);
    ctx.state.m_macroKeyCodes.fill(0);
    ctx.state.m_remapKeyCodes.fill(0);
    ctx.picture.UncheckAllKeys();
    ctx.device.SetFeature(MakeFeatureReport(FeatureCommand::kReadKeySlots, {0x01}));
    ctx.pacer.Sleep(kReadBackStepMs);

    uint8_t half[14];
    ReadHalfAnswer(ctx, half);
    StoreOwners(ctx, ctx.state.m_macroKeyCodes, half + 1);  // answer bytes 1-12
    ReadHalfAnswer(ctx, half);
    StoreOwners(ctx, ctx.state.m_remapKeyCodes, half);  // answer bytes 14-25
}

void OnProfileSelectionChanged(ProtocolContext& ctx) {
    ctx.state.m_profileIndex = ctx.profileCombo.CurrentSelection();
    SwitchProfile(ctx);
}
