#include "protocol/KeyAssignmentCodec.h"

#include <algorithm>

#include "app/NumberText.h"

namespace {

constexpr uint8_t kReleaseBit = 0x80;
constexpr uint32_t kMaxCount = 31;
constexpr uint32_t kMaxDelayMs = kMaxCount * 1000;
constexpr size_t kMaxChordCodes = KeyAssignment::kMaxSteps / 2;

// Bytes 4-5 of a remap image: the keyboard reads them as "no step".
void ClearRemapHeader(KeyAssignment& image) {
    image[0] = image[1] = 0;
    image[3] = 0;
    image[4] = image[5] = 0;
}

void ClearSteps(KeyAssignment& image, size_t fromStep) {
    for (size_t k = fromStep; k < KeyAssignment::kMaxSteps; ++k) image.SetStep(k, {});
}

}  // namespace

uint8_t EncodeStepTiming(bool release, uint32_t delayMs) {
    uint32_t unit = 0;
    uint32_t count = 0;
    if (delayMs <= 310) {
        unit = 0, count = delayMs / 10;
    } else if (delayMs <= 1550) {
        unit = 1, count = delayMs / 50;
    } else if (delayMs <= 3100) {
        unit = 2, count = delayMs / 100;
    } else {
        unit = 3, count = std::min(delayMs, kMaxDelayMs) / 1000;
    }
    count = std::clamp<uint32_t>(count, 1, kMaxCount);
    return static_cast<uint8_t>((release ? kReleaseBit : 0) | (unit << 5) | count);
}

MacroStep EncodeMacroStep(std::string_view code, std::string_view state, std::string_view delay) {
    const auto delayMs = static_cast<uint32_t>(ParseDecimal32(delay));
    return {static_cast<uint8_t>(ParseDecimal32(code) & 0xFF), EncodeStepTiming(ParseDecimal32(state) != 0, delayMs)};
}

MacroStep EncodeMacroStep(const MacroStepText& event) { return EncodeMacroStep(event.code, event.state, event.delay); }

FillResult FillMacroPage(KeyAssignment& image, std::optional<uint8_t> firstSelectedKey, int32_t repeat,
                         std::optional<std::span<const MacroStepText>> groupEvents) {
    if (!firstSelectedKey) return {};
    image[2] = *firstSelectedKey;
    image[3] = static_cast<uint8_t>(repeat & 0xFF);
    if (image[2] == 0 || !groupEvents) return {};
    const size_t kept = std::min(groupEvents->size(), KeyAssignment::kMaxSteps);
    for (size_t k = 0; k < kept; ++k) image.SetStep(k, EncodeMacroStep((*groupEvents)[k]));
    ClearSteps(image, kept);
    return {groupEvents->size() - kept};
}

void FillSingleKeyPage(KeyAssignment& image, std::optional<uint8_t> firstSelectedKey, uint8_t capturedUsage) {
    if (!firstSelectedKey) return;
    image[2] = capturedUsage;
    if (capturedUsage != 0) ClearRemapHeader(image);
}

void FillMediaKeyPage(KeyAssignment& image, std::optional<uint8_t> firstSelectedKey, const KeyListEntry* chosen) {
    if (!firstSelectedKey || !chosen || chosen->codes.empty()) return;
    image[2] = static_cast<uint8_t>(chosen->codes.front() & 0xFF);
    if (image[2] != 0) ClearRemapHeader(image);
}

FillResult FillFunctionKeyPage(KeyAssignment& image, std::optional<uint8_t> firstSelectedKey,
                               const KeyListEntry* chosen) {
    if (!firstSelectedKey || !chosen) return {};
    image[2] = *firstSelectedKey;
    if (image[2] == 0 || chosen->codes.empty()) return {};
    image[0] = image[1] = 0;
    image[3] = 1;
    ClearSteps(image, 0);

    const size_t n = std::min(chosen->codes.size(), kMaxChordCodes);
    auto code = [&](size_t i) { return static_cast<uint8_t>(chosen->codes[i] & 0xFF); };
    // Presses wait 5 × 100 ms (written out: the encoder would choose 10 × 50 ms), releases 1 × 10 ms.
    constexpr uint8_t press = (2 << 5) | 5;
    constexpr uint8_t release = kReleaseBit | 1;
    size_t k = 0;
    for (size_t i = 0; i < n; ++i) image.SetStep(k++, {code(i), press});
    for (size_t i = 1; i < n; ++i) image.SetStep(k++, {code(i), release});
    image.SetStep(k, {code(0), release});
    return {chosen->codes.size() - n};
}
