#include "protocol/AssignmentCommands.h"

#include <algorithm>

#include "protocol/ProfileCommands.h"
#include "protocol/ReportExchange.h"

namespace {

constexpr uint32_t kAfterMacroWriteMs = 20;
constexpr uint32_t kAfterRemapWriteMs = 20;
constexpr uint32_t kAfterRemapClearMs = 10;
constexpr uint8_t kRemapFlag = 0x01;

std::optional<int> FindOwnedSlot(std::span<const uint8_t, kSlotCount> table, uint8_t keyCode) {
    const auto it = std::find(table.begin(), table.end(), keyCode);
    if (it == table.end()) return std::nullopt;
    return static_cast<int>(it - table.begin());
}

uint8_t MacroProfileByte(const KeyboardState& state) {
    const int32_t index = state.m_profileIndex;
    return static_cast<uint8_t>(index >= 0 && index < kProfileCount ? index + 1 : 1);
}

FeatureReport RemapReport(int profile, int slot, uint8_t key, uint8_t target) {
    return MakeFeatureReport(FeatureCommand::kWriteRemapSlot,
                             {static_cast<uint8_t>(profile + 1), static_cast<uint8_t>(slot + 1), key, kRemapFlag,
                              target, kRemapFlag});
}

enum class KeyOutcome { Next, Stop };

KeyOutcome ApplyOne(ProtocolContext& ctx, KeyAssignment& image, uint8_t key) {
    const std::optional<int> macroSlot = FindSlotFor(ctx.state.m_macroKeyCodes, key);
    if (!macroSlot) {
        ctx.prompt.ShowMessage(kNoSlotMessage, kWarningCaption);
        return KeyOutcome::Stop;
    }
    if (image[3] != 0) {
        image[0] = MacroProfileByte(ctx.state);
        image[1] = static_cast<uint8_t>(*macroSlot + 1);
        image[2] = key;
        SendBufferInChunks(ctx.device, ctx.pacer, image);
        ctx.pacer.Sleep(kAfterMacroWriteMs);
        ReadBack(ctx);
        return KeyOutcome::Next;
    }
    const std::optional<int> remapSlot = FindSlotFor(ctx.state.m_remapKeyCodes, key);
    if (!remapSlot) {
        ctx.prompt.ShowMessage(kNoSlotMessage, kWarningCaption);
        return KeyOutcome::Stop;
    }
    const int profile = ctx.profileCombo.CurrentSelection();
    if (profile < 0) return KeyOutcome::Next;
    ctx.device.SetFeature(RemapReport(profile, *remapSlot, key, image[2]));
    ctx.pacer.Sleep(kAfterRemapWriteMs);
    ReadBack(ctx);
    return KeyOutcome::Next;
}

void ClearOne(ProtocolContext& ctx, KeyAssignment& image, uint8_t key) {
    if (const std::optional<int> slot = FindOwnedSlot(ctx.state.m_macroKeyCodes, key)) {
        image[0] = MacroProfileByte(ctx.state);
        image[1] = static_cast<uint8_t>(*slot + 1);
        SendBufferInChunks(ctx.device, ctx.pacer, image);
        return;
    }
    if (const std::optional<int> slot = FindOwnedSlot(ctx.state.m_remapKeyCodes, key)) {
        const int profile = ctx.profileCombo.CurrentSelection();
        if (profile < 0) return;
        ctx.device.SetFeature(RemapReport(profile, *slot, 0, 0));
        ctx.pacer.Sleep(kAfterRemapClearMs);
    }
}

}  // namespace

std::optional<int> FindSlotFor(std::span<const uint8_t, kSlotCount> table, uint8_t keyCode) {
    if (std::optional<int> owned = FindOwnedSlot(table, keyCode)) return owned;
    return FindOwnedSlot(table, 0);
}

void NormaliseProfileForClick(KeyboardState& state) {
    if (state.m_profileIndex < 0 || state.m_profileIndex >= kProfileCount) state.m_profileIndex = 0;
}

void ApplyAssignment(ProtocolContext& ctx, KeyAssignment& image, std::span<const uint8_t> keys) {
    for (uint8_t key : keys) {
        try {
            if (ApplyOne(ctx, image, key) == KeyOutcome::Stop) return;
        } catch (...) {
            // One key's failure (a widget call that threw) must not cost the others their write.
        }
    }
}

void ClearAssignment(ProtocolContext& ctx, KeyAssignment& image, std::span<const uint8_t> keys) {
    image.Clear();
    for (uint8_t key : keys) {
        try {
            ClearOne(ctx, image, key);
        } catch (...) {
            // As in ApplyAssignment: go on with the next key.
        }
    }
    ReadBack(ctx);
}
