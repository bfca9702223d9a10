#include "protocol/LightingCommands.h"

#include <optional>

namespace {

constexpr uint32_t kBeforeSetLightingMs = 50;

std::optional<int> SelectedMode(ProtocolContext& ctx) {
    const int mode = ctx.ledModeCombo.CurrentSelection();
    if (mode < 0 || mode >= kLedModeCount) return std::nullopt;
    return mode;
}

}  // namespace

void UpdateLightingView(ProtocolContext& ctx, int direction) {
    const std::optional<int> mode = SelectedMode(ctx);
    if (!mode) return;
    LightingRecord& record = ctx.state.m_lightingModes[*mode];
    LightingControlValues values = ctx.lighting.Values();
    if (direction == kRecordToControls) {
        ctx.lighting.ShowPanels(PanelsForMode(*mode));
        ShowRecordInControls(*mode, record, values);
        ctx.lighting.SetValues(values);
    } else {
        StoreControlsInRecord(*mode, values, record);
    }
}

void SendLighting(ProtocolContext& ctx) {
    const std::optional<int> mode = SelectedMode(ctx);
    if (!mode) return;
    const LightingRecord& r = ctx.state.m_lightingModes[*mode];
    ctx.pacer.Sleep(kBeforeSetLightingMs);
    ctx.device.SetFeature(
        MakeFeatureReport(FeatureCommand::kSetLighting, {static_cast<uint8_t>(*mode), r[0], r[1], r[2], r[3], r[4]}));
}

void OnLedModeChanged(ProtocolContext& ctx) {
    UpdateLightingView(ctx, kRecordToControls);
    SendLighting(ctx);
}

void OnLightingControlChanged(ProtocolContext& ctx) {
    UpdateLightingView(ctx, kControlsToRecord);
    SendLighting(ctx);
}
