#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "app/KeyListEntry.h"
#include "protocol/KeyAssignment.h"
#include "protocol/MacroStepText.h"

// How the assignment dialog turns its confirmed page into a KeyAssignment. Each Fill function
// writes only the bytes its page owns and leaves the rest as they were (0 in a fresh image).
// `firstSelectedKey` is the code of the first key of the selected-key set, nothing when the set is
// empty (then nothing at all is filled).

// One macro event: the low byte of the code, bit 7 for a release, and the delay as the largest
// count of the smallest unit that holds it (count 1-31; delays beyond 31 s are clamped, and the
// delay text is read as unsigned, so a negative delay counts as very long).
MacroStep EncodeMacroStep(std::string_view code, std::string_view state, std::string_view delay);
MacroStep EncodeMacroStep(const MacroStepText& event);
// The same for a delay already in milliseconds.
uint8_t EncodeStepTiming(bool release, uint32_t delayMs);

// Steps and codes that did not fit the image were dropped (0 when everything fitted).
struct FillResult {
    size_t dropped = 0;
};

// Macro page. `groupEvents` is nothing when no group row is selected. More than 82 events: the
// first 82 are kept (the recorder stops at 80, so only hand-made files get here).
FillResult FillMacroPage(KeyAssignment& image, std::optional<uint8_t> firstSelectedKey, int32_t repeat,
                         std::optional<std::span<const MacroStepText>> groupEvents);

// Single-key page: the usage captured in the dialog (0 when none was captured).
void FillSingleKeyPage(KeyAssignment& image, std::optional<uint8_t> firstSelectedKey, uint8_t capturedUsage);

// Media-key page: `chosen` is the config entry at the combo's row, nullptr when the row is not an
// index into the list.
void FillMediaKeyPage(KeyAssignment& image, std::optional<uint8_t> firstSelectedKey, const KeyListEntry* chosen);

// Windows-function page: all keys pressed in order, then released in reverse-of-first order
// (c1 … cn-1, then c0). An entry of more than 41 codes keeps its first 41, so that every key
// pressed is also released.
FillResult FillFunctionKeyPage(KeyAssignment& image, std::optional<uint8_t> firstSelectedKey,
                               const KeyListEntry* chosen);
