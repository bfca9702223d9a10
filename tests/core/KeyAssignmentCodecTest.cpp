#include "protocol/KeyAssignmentCodec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(EncodeMacroStep, DelayTable) {
    struct Case {
        const char* delay;
        uint8_t press;
    };
    const Case cases[] = {
        {"0", 0x01},     {"9", 0x01},     {"125", 0x0C},   {"310", 0x1F},   {"311", 0x26},
        {"1550", 0x3F},  {"1551", 0x4F},  {"3100", 0x5F},  {"3101", 0x63},  {"31000", 0x7F},
        {"45000", 0x7F}, {"-5", 0x7F},    {"abc", 0x01},   {"", 0x01},      {"60x", 0x06},
        {"4294967295", 0x7F},  // clamps to the 32-bit range, then counts as unsigned
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EncodeMacroStep("4", "0", c.delay), (MacroStep{4, c.press})) << c.delay;
        EXPECT_EQ(EncodeMacroStep("4", "1", c.delay).timing, c.press | 0x80) << c.delay;
    }
}

TEST(EncodeMacroStep, CodeAndState) {
    EXPECT_EQ(EncodeMacroStep("abc", "0", "0").code, 0) << "a code that is no number";
    EXPECT_EQ(EncodeMacroStep("260", "0", "0").code, 4) << "the low byte";
    EXPECT_EQ(EncodeMacroStep("224", "0", "0").code, 224);
    EXPECT_EQ(EncodeMacroStep("4", "2", "125").timing, 0x8C) << "any state but 0 releases";
    EXPECT_EQ(EncodeMacroStep("4", "x", "125").timing, 0x0C) << "a state that is no number presses";
}

std::vector<MacroStepText> Events(std::initializer_list<MacroStepText> e) { return e; }

TEST(FillMacroPage, TwoEventMacro) {
    KeyAssignment image;
    const auto events = Events({{"4", "0", "100"}, {"4", "1", "0"}});
    EXPECT_EQ(FillMacroPage(image, 0x3A, 1, std::span<const MacroStepText>(events)).dropped, 0u);
    KeyAssignment want;
    want[2] = 0x3A, want[3] = 1, want[4] = 4, want[5] = 0x0A, want[6] = 4, want[7] = 0x81;
    EXPECT_EQ(image.bytes, want.bytes);
}

TEST(FillMacroPage, WhatIsFilledWhenInputIsMissing) {
    const auto events = Events({{"4", "0", "100"}});
    const std::span<const MacroStepText> group(events);
    KeyAssignment image;
    FillMacroPage(image, std::nullopt, 1, group);
    EXPECT_EQ(image.bytes, KeyAssignment{}.bytes) << "empty selected-key set";

    FillMacroPage(image, 0x3A, 258, std::nullopt);  // no group row selected
    EXPECT_EQ(image[2], 0x3A);
    EXPECT_EQ(image[3], 2) << "low byte of the repeat count";
    EXPECT_EQ(image[4], 0);

    KeyAssignment zero;
    FillMacroPage(zero, 0, 1, group);
    EXPECT_EQ(zero[3], 1);
    EXPECT_EQ(zero[4], 0) << "key code 0 writes no steps";

    KeyAssignment empty;
    FillMacroPage(empty, 0x3A, 1, std::span<const MacroStepText>());
    for (size_t i = 4; i < KeyAssignment::kSize; ++i) EXPECT_EQ(empty[i], 0);
}

TEST(FillMacroPage, KeepsTheFirst82StepsOfALongerGroup) {
    std::vector<std::string> codes;
    for (int i = 0; i < 90; ++i) codes.push_back(std::to_string(i + 1));
    std::vector<MacroStepText> events;
    for (const std::string& c : codes) events.push_back({c, "0", "0"});

    KeyAssignment image;
    EXPECT_EQ(FillMacroPage(image, 5, 1, std::span<const MacroStepText>(events)).dropped, 8u);
    EXPECT_EQ(image[166], 82) << "the 82nd step occupies bytes 166-167";
    EXPECT_EQ(image[167], 0x01);
    EXPECT_EQ(image[2], 5);
}

TEST(FillRemapPages, SingleKeyAndMediaKey) {
    KeyAssignment image;
    image.bytes.fill(0x55);
    FillSingleKeyPage(image, 41, 4);
    EXPECT_EQ((std::vector<uint8_t>(image.bytes.begin(), image.bytes.begin() + 7)),
              (std::vector<uint8_t>{0, 0, 4, 0, 0, 0, 0x55}));

    KeyAssignment none;
    none.bytes.fill(0x55);
    FillSingleKeyPage(none, 41, 0);
    EXPECT_EQ(none[2], 0) << "no captured key: only byte 2";
    EXPECT_EQ(none[3], 0x55);

    const KeyListEntry mute{"Mute", {226}}, wide{"W", {0x1E9}}, zero{"Z", {0x100}}, noCode{"N", {}};
    KeyAssignment media;
    FillMediaKeyPage(media, 41, &mute);
    EXPECT_EQ(media[2], 226);
    EXPECT_EQ(media[3], 0);
    FillMediaKeyPage(media, 41, &wide);
    EXPECT_EQ(media[2], 0xE9) << "low byte of the first code";

    KeyAssignment untouched;
    untouched.bytes.fill(0x55);
    FillMediaKeyPage(untouched, 41, nullptr);
    FillMediaKeyPage(untouched, 41, &noCode);
    FillMediaKeyPage(untouched, std::nullopt, &mute);
    EXPECT_EQ(untouched[2], 0x55);
    FillMediaKeyPage(untouched, 41, &zero);
    EXPECT_EQ(untouched[2], 0);
    EXPECT_EQ(untouched[3], 0x55) << "a code with low byte 0 writes only byte 2";
}

TEST(FillFunctionKeyPage, PressesInOrderThenReleasesTheRestThenTheFirst) {
    const KeyListEntry desktop{"Show desktop", {227, 7}};
    KeyAssignment image;
    FillFunctionKeyPage(image, 0x3A, &desktop);
    KeyAssignment want;
    const uint8_t head[] = {0, 0, 0x3A, 1, 227, 0x45, 7, 0x45, 7, 0x81, 227, 0x81};
    std::copy(std::begin(head), std::end(head), want.bytes.begin());
    EXPECT_EQ(image.bytes, want.bytes);

    const KeyListEntry three{"Task manager", {224, 225, 41}};
    KeyAssignment t;
    FillFunctionKeyPage(t, 1, &three);
    const std::vector<MacroStep> steps{{224, 0x45}, {225, 0x45}, {41, 0x45}, {225, 0x81}, {41, 0x81}, {224, 0x81}};
    for (size_t k = 0; k < steps.size(); ++k) EXPECT_EQ(t.Step(k), steps[k]) << k;
    EXPECT_EQ(t.Step(6), MacroStep{});
}

TEST(FillFunctionKeyPage, MissingInputAndOverlongChord) {
    const KeyListEntry empty{"E", {}};
    KeyAssignment image;
    FillFunctionKeyPage(image, 0x3A, &empty);
    EXPECT_EQ(image[2], 0x3A);
    EXPECT_EQ(image[3], 0) << "an entry without codes writes only byte 2";
    KeyAssignment none;
    FillFunctionKeyPage(none, 0x3A, nullptr);
    EXPECT_EQ(none[2], 0);

    KeyListEntry big{"Big", {}};
    for (int i = 0; i < 50; ++i) big.codes.push_back(10 + i);
    KeyAssignment b;
    EXPECT_EQ(FillFunctionKeyPage(b, 0x3A, &big).dropped, 9u);
    EXPECT_EQ(b.Step(40), (MacroStep{50, 0x45})) << "the 41st code is the last one pressed";
    EXPECT_EQ(b.Step(41), (MacroStep{11, 0x81}));
    EXPECT_EQ(b.Step(81), (MacroStep{10, 0x81})) << "the first code is released last, in bytes 166-167";
}

}  // namespace
