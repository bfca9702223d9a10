#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

// One key event of a macro slot with the delay that follows it.
//   byte 0: key code (HID usage)
//   byte 1: bit 7 release (1) or press (0); bits 6-5 delay unit (0 = 10 ms, 1 = 50 ms,
//           2 = 100 ms, 3 = 1000 ms); bits 4-0 delay count 1-31
struct MacroStep {
    uint8_t code = 0;
    uint8_t timing = 0;

    bool operator==(const MacroStep&) const = default;
};
static_assert(sizeof(MacroStep) == 2);

// The image of one slot as the keyboard receives it in 28 reports of six bytes.
//   byte 0: profile 1-3      byte 1: slot 1-12
//   byte 2: owner key code (for a remap assignment: the target code)
//   byte 3: macro repeat count; 0 marks an assignment that is not a macro
//   bytes 4-167: 82 steps, step k in bytes 4 + 2k and 5 + 2k; positions after the last step 0
struct KeyAssignment {
    static constexpr size_t kSize = 168;
    static constexpr size_t kStepOffset = 4;
    static constexpr size_t kMaxSteps = (kSize - kStepOffset) / sizeof(MacroStep);

    std::array<uint8_t, kSize> bytes{};

    uint8_t& operator[](size_t i) { return bytes[i]; }
    uint8_t operator[](size_t i) const { return bytes[i]; }
    void Clear() { bytes.fill(0); }
    // k < kMaxSteps.
    void SetStep(size_t k, MacroStep step) {
        bytes[kStepOffset + 2 * k] = step.code;
        bytes[kStepOffset + 2 * k + 1] = step.timing;
    }
    MacroStep Step(size_t k) const { return {bytes[kStepOffset + 2 * k], bytes[kStepOffset + 2 * k + 1]}; }
};
static_assert(sizeof(KeyAssignment) == 168);
static_assert(KeyAssignment::kMaxSteps == 82);
