#include "protocol/AssignmentCommands.h"

#include <gtest/gtest.h>

#include "ProtocolFakes.h"
#include "protocol/KeyAssignmentCodec.h"

using namespace protocol_fakes;

namespace {

Transcript Chunks(const KeyAssignment& image) {
    Transcript t;
    for (size_t off = 0; off < KeyAssignment::kSize; off += 6) {
        uint8_t r[8] = {7, static_cast<uint8_t>(off == 0 ? 0xF1 : 0x00)};
        std::copy_n(image.bytes.begin() + off, 6, r + 2);
        t.push_back("set " + Hex(r, 8));
        t.push_back("sleep 8");
    }
    return t;
}

struct AssignmentRig {
    Transcript log;
    RecordingBackend backend{log};
    Rig rig{backend};
    AssignmentRig() { rig.log.clear(); }
};

TEST(ApplyAssignment, SingleKeyGoesIntoTheFirstFreeRemapSlotOfTheSelectedProfile) {
    AssignmentRig r;
    r.rig.state.m_profileIndex = 1;
    r.rig.profileCombo.selection = 1;
    r.rig.state.m_remapKeyCodes = {5, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    std::array<uint8_t, 12> remapsAfter = r.rig.state.m_remapKeyCodes;
    remapsAfter[2] = 41;
    QueueSlotAnswer(r.backend, {}, remapsAfter);

    KeyAssignment image;
    FillSingleKeyPage(image, 41, 4);
    const uint8_t keys[] = {41};
    ApplyAssignment(r.rig.ctx, image, keys);
    EXPECT_EQ(r.rig.log,
              Concat({{"set 07 FA 02 03 29 01 04 01", "sleep 20"}, ReadBackTranscript({}, {5, 6, 41})}));
    EXPECT_EQ(r.rig.picture.checked, (std::vector<uint8_t>{5, 6, 41}));
}

TEST(ApplyAssignment, TwoEventMacroUploadIntoTheFirstFreeMacroSlot) {
    AssignmentRig r;
    const std::vector<MacroStepText> events{{"4", "0", "100"}, {"4", "1", "0"}};
    KeyAssignment image;
    FillMacroPage(image, 0x3A, 1, std::span<const MacroStepText>(events));
    const uint8_t keys[] = {0x3A};
    ApplyAssignment(r.rig.ctx, image, keys);

    KeyAssignment sent;
    const uint8_t head[] = {1, 1, 0x3A, 1, 4, 0x0A, 4, 0x81};
    std::copy(std::begin(head), std::end(head), sent.bytes.begin());
    const Transcript want = Concat({Chunks(sent), {"sleep 20"}, ReadBackTranscript()});
    EXPECT_EQ(r.rig.log, want);
    EXPECT_EQ(r.rig.log[0], "set 07 F1 01 01 3A 01 04 0A");
    EXPECT_EQ(r.rig.log[2], "set 07 00 04 81 00 00 00 00");
}

TEST(ApplyAssignment, KeyKeepsTheMacroSlotItOwnsAlsoForHighCodes) {
    AssignmentRig r;
    r.rig.state.m_macroKeyCodes = {0, 0, 0, 0, 0xE1, 0, 0, 0, 0, 0, 0, 0};
    r.rig.state.m_profileIndex = 2;
    KeyAssignment image;
    image[3] = 1;
    const uint8_t keys[] = {0xE1};
    ApplyAssignment(r.rig.ctx, image, keys);
    EXPECT_EQ(r.rig.log[0], "set 07 F1 03 05 E1 01 00 00") << "slot 5 rewritten, profile 3";
}

TEST(ApplyAssignment, MacroProfileFromStateRemapProfileFromTheSelector) {
    AssignmentRig r;
    r.rig.state.m_profileIndex = 5;  // taken as profile 1 for macros
    r.rig.profileCombo.selection = 2;
    KeyAssignment macro;
    macro[3] = 1;
    const uint8_t keys[] = {9};
    ApplyAssignment(r.rig.ctx, macro, keys);
    EXPECT_EQ(r.rig.log[0], "set 07 F1 01 01 09 01 00 00");

    r.rig.log.clear();
    KeyAssignment remap;
    FillSingleKeyPage(remap, 9, 0);  // nothing captured: the key is remapped to code 0
    ApplyAssignment(r.rig.ctx, remap, keys);
    EXPECT_EQ(r.rig.log[0], "set 07 FA 03 01 09 01 00 01");

    r.rig.log.clear();
    r.rig.profileCombo.selection = -1;
    ApplyAssignment(r.rig.ctx, remap, keys);
    EXPECT_TRUE(r.rig.log.empty()) << "no profile selected: no remap write, no read-back";
}

TEST(ApplyAssignment, RepeatCountWithLowByteZeroIsWrittenAsARemapToTheKeyItself) {
    AssignmentRig r;
    const std::vector<MacroStepText> events{{"4", "0", "100"}};
    KeyAssignment image;
    FillMacroPage(image, 0x3A, 256, std::span<const MacroStepText>(events));
    const uint8_t keys[] = {0x3A};
    ApplyAssignment(r.rig.ctx, image, keys);
    EXPECT_EQ(r.rig.log[0], "set 07 FA 01 01 3A 01 3A 01");
}

TEST(ApplyAssignment, NoFreeSlotWarnsAndStopsForEveryKind) {
    AssignmentRig r;
    r.rig.state.m_macroKeyCodes = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    KeyAssignment remap;
    FillSingleKeyPage(remap, 41, 4);
    const uint8_t keys[] = {41, 42};
    ApplyAssignment(r.rig.ctx, remap, keys);
    const Transcript warning{"message Warning: Insufficient space, please delete the record button first."};
    EXPECT_EQ(r.rig.log, warning) << "the macro table is searched also for a remap; the second key is not tried";

    r.rig.log.clear();
    r.rig.state.m_macroKeyCodes.fill(0);
    r.rig.state.m_remapKeyCodes = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    ApplyAssignment(r.rig.ctx, remap, keys);
    EXPECT_EQ(r.rig.log, warning);
}

TEST(ApplyAssignment, ExceptionOnOneKeyIsCaughtAndTheNextKeyIsWritten) {
    AssignmentRig r;
    QueueSlotAnswer(r.backend, {}, {7});  // the first read-back marks key 7, and the picture throws
    bool thrown = false;
    r.rig.picture.onCheck = [&](uint8_t) {
        if (!thrown) {
            thrown = true;
            throw std::runtime_error("widget gone");
        }
    };
    KeyAssignment remap;
    FillSingleKeyPage(remap, 7, 4);
    const uint8_t keys[] = {7, 8};
    ApplyAssignment(r.rig.ctx, remap, keys);
    EXPECT_TRUE(thrown);
    EXPECT_EQ(r.rig.Only({"set 07 FA"}),
              (Transcript{"set 07 FA 01 01 07 01 04 01", "set 07 FA 01 02 08 01 04 01"}))
        << "the second key sees the table the interrupted read-back had already filled";
}

TEST(ClearAssignment, MacroSlotGetsAnEmptyImageThenOneReadBack) {
    AssignmentRig r;
    r.rig.state.m_macroKeyCodes = {9, 0x3A, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    r.rig.state.m_profileIndex = 1;
    KeyAssignment image;
    image.bytes.fill(0x55);  // whatever the dialog left, the clear sends zeros
    const uint8_t keys[] = {0x3A};
    ClearAssignment(r.rig.ctx, image, keys);
    KeyAssignment sent;
    sent[0] = 2, sent[1] = 2;
    EXPECT_EQ(r.rig.log, Concat({Chunks(sent), ReadBackTranscript()}));
    EXPECT_EQ(r.rig.log[0], "set 07 F1 02 02 00 00 00 00");
}

TEST(ClearAssignment, RemapSlotAndKeyWithoutSlot) {
    AssignmentRig r;
    r.rig.state.m_remapKeyCodes = {0, 0, 0, 41, 0, 0, 0, 0, 0, 0, 0, 0};
    r.rig.profileCombo.selection = 2;
    KeyAssignment image;
    const uint8_t keys[] = {41};
    ClearAssignment(r.rig.ctx, image, keys);
    EXPECT_EQ(r.rig.log, Concat({{"set 07 FA 03 04 00 01 00 01", "sleep 10"}, ReadBackTranscript()}));

    r.rig.log.clear();
    const uint8_t stranger[] = {50};
    ClearAssignment(r.rig.ctx, image, stranger);
    EXPECT_EQ(r.rig.log, ReadBackTranscript()) << "nothing to clear: still one read-back";
}

TEST(FindSlotFor, OwnedSlotFirstThenFirstFree) {
    const std::array<uint8_t, 12> t{0, 3, 0, 7, 0, 0, 0, 0, 0, 0, 0, 7};
    EXPECT_EQ(FindSlotFor(t, 7), 3);
    EXPECT_EQ(FindSlotFor(t, 8), 0);
    const std::array<uint8_t, 12> full{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    EXPECT_EQ(FindSlotFor(full, 13), std::nullopt);
}

}  // namespace
