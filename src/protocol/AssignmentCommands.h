#pragma once
#include <cstdint>
#include <optional>
#include <span>

#include "protocol/KeyAssignment.h"
#include "protocol/ProtocolContext.h"

// Writing a confirmed assignment into the active profile's slots, and clearing a key's slot.
// `keys` are the codes of the selected-key set in the set's order.

inline constexpr const char* kNoSlotMessage = "Insufficient space, please delete the record button first.";
inline constexpr const char* kWarningCaption = "Warning";

// The slot the key owns in the table, else the first free one, else nothing.
std::optional<int> FindSlotFor(std::span<const uint8_t, kSlotCount> table, uint8_t keyCode);

// The click flow's first step: a profile index that selects no profile is taken as profile 1.
void NormaliseProfileForClick(KeyboardState& state);

// For each key: a macro or key chord (byte 3 not 0) goes into the key's macro slot of profile
// m_profileIndex (28 reports, 20 ms), anything else into its remap slot of the profile selected
// in the profile selector (one report, 20 ms); each key written ends with a read-back. No free
// slot: the warning, and nothing more for any key. A failure on one key does not stop the next.
void ApplyAssignment(ProtocolContext& ctx, KeyAssignment& image, std::span<const uint8_t> keys);

// For each key: empties its macro slot, else its remap slot; then one read-back.
void ClearAssignment(ProtocolContext& ctx, KeyAssignment& image, std::span<const uint8_t> keys);
