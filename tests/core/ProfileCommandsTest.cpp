#include "protocol/ProfileCommands.h"

#include <gtest/gtest.h>

#include "ProtocolFakes.h"

using namespace protocol_fakes;

namespace {

TEST(ReadBack, ClearsThenReadsFourReportsAndMarksOwners) {
    Transcript log;
    RecordingBackend backend(log);
    Rig rig(backend);
    rig.log.clear();
    rig.state.m_macroKeyCodes.fill(9);  // stale tables are cleared before the answer arrives
    std::array<uint8_t, 12> macros{}, remaps{};
    macros[0] = 0x3A, macros[11] = 0xE0;
    remaps[2] = 41, remaps[5] = 0x3A;  // the same key in both tables
    remaps[11] = 0xFF;                 // a code no key of the picture has
    QueueSlotAnswer(backend, macros, remaps);
    // Bytes outside the slot positions are ignored whatever they hold.
    backend.answers[0][0] = 0x77;
    backend.answers[1][6] = 0x77;
    backend.answers[3][5] = backend.answers[3][6] = 0x77;

    ReadBack(rig.ctx);
    EXPECT_EQ(rig.log, ReadBackTranscript({0x3A, 0xE0}, {41, 0x3A, 0xFF}));
    EXPECT_EQ(rig.state.m_macroKeyCodes, macros);
    EXPECT_EQ(rig.state.m_remapKeyCodes, remaps);
    EXPECT_EQ(rig.picture.checked, (std::vector<uint8_t>{0x3A, 0xE0, 41, 0xFF}));
}

TEST(ReadBack, AbsentSilentOrBrokenKeyboardLeavesEverySlotFree) {
    for (int variant = 0; variant < 3; ++variant) {
        Transcript log;
        RecordingBackend backend(log);
        Rig rig(backend, /*open=*/variant != 0);
        rig.state.m_remapKeyCodes.fill(4);
        rig.picture.checked = {4};
        if (variant == 2) backend.failGets = backend.garbageOnFailedGet = true;
        ReadBack(rig.ctx);
        EXPECT_EQ(rig.state.m_macroKeyCodes, (std::array<uint8_t, 12>{})) << variant;
        EXPECT_EQ(rig.state.m_remapKeyCodes, (std::array<uint8_t, 12>{})) << variant;
        EXPECT_TRUE(rig.picture.checked.empty()) << variant;
        EXPECT_EQ(rig.Only({"sleep"}), Transcript({"sleep 50", "sleep 10", "sleep 10", "sleep 10", "sleep 10",
                                                   "sleep 10"}))
            << "the pauses are kept, variant " << variant;
    }
}

TEST(SwitchProfile, SecondProfileSelectsWaitsAndReadsBack) {
    Transcript log;
    RecordingBackend backend(log);
    Rig rig(backend);
    rig.log.clear();
    rig.profileCombo.selection = 1;
    OnProfileSelectionChanged(rig.ctx);
    EXPECT_EQ(rig.state.m_profileIndex, 1);
    EXPECT_EQ(rig.log, Concat({{"set 07 FC 02 00 00 00 00 00", "sleep 50"}, ReadBackTranscript()}));
}

TEST(SwitchProfile, IndexThatSelectsNoProfileIsStoredButSendsNothing) {
    for (int selection : {3, 7, -1}) {
        Transcript log;
        RecordingBackend backend(log);
        Rig rig(backend);
        rig.log.clear();
        rig.profileCombo.selection = selection;
        OnProfileSelectionChanged(rig.ctx);
        EXPECT_EQ(rig.state.m_profileIndex, selection);
        EXPECT_TRUE(rig.log.empty()) << selection;
    }
}

}  // namespace
