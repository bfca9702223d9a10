#include "protocol/FactoryReset.h"

#include "protocol/AssignmentCommands.h"
#include "protocol/LightingCommands.h"
#include "protocol/ProfileCommands.h"

namespace {
constexpr uint32_t kBeforeResetMs = 50;
constexpr uint32_t kResetSettleMs = 800;
}  // namespace

void RestoreFactorySettings(ProtocolContext& ctx) {
    if (!ctx.prompt.AskOkCancel(kFactoryResetQuestion, kWarningCaption)) return;
    ctx.pacer.Sleep(kBeforeResetMs);
    ctx.device.SetFeature(MakeFeatureReport(FeatureCommand::kFactoryReset, {FeatureCommand::kFactoryResetMagic}));
    ctx.state.m_profileIndex = 0;
    ctx.state.m_lightingModes = InitialLightingModes();
    ctx.ledModeCombo.SelectWithNotification(0);
    UpdateLightingView(ctx, kRecordToControls);
    ctx.profileCombo.SelectWithNotification(ctx.state.m_profileIndex);
    ctx.pacer.Sleep(kResetSettleMs);
    ReadBack(ctx);
}
