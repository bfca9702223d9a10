#include "protocol/FactoryReset.h"

#include <gtest/gtest.h>

#include "ProtocolFakes.h"
#include "protocol/LightingCommands.h"
#include "protocol/ProfileCommands.h"

using namespace protocol_fakes;

namespace {

struct ResetRig {
    Transcript log;
    RecordingBackend backend{log};
    Rig rig{backend};
    ResetRig(int ledMode, int profile) {
        rig.ledModeCombo.onChange = [this] { OnLedModeChanged(rig.ctx); };
        rig.profileCombo.onChange = [this] { OnProfileSelectionChanged(rig.ctx); };
        rig.ledModeCombo.selection = ledMode;
        rig.profileCombo.selection = profile;
        rig.state.m_profileIndex = profile;
        rig.state.m_lightingModes[0] = {{0x05, 0x02, 0x00, 0x00, 0x00}};
        rig.state.m_lightingModes[8] = {{0x12, 0x34, 0x56, 0x01, 0x00}};
        rig.lighting.values.colorRow1 = 6;
        rig.log.clear();
    }
};

const Transcript kAsk{"ask Warning: All settings will be restored, are you sure you want to continue?"};
const Transcript kReset{"sleep 50", "set 07 F0 AA 00 00 00 00 00"};

TEST(RestoreFactorySettings, FromModeFourAndProfileThree) {
    ResetRig r(4, 2);
    RestoreFactorySettings(r.rig.ctx);
    EXPECT_EQ(r.rig.log, Concat({kAsk, kReset, {"sleep 50", "set 07 F7 00 01 01 03 03 00"},
                                 {"set 07 FC 01 00 00 00 00 00", "sleep 50"}, ReadBackTranscript(), {"sleep 800"},
                                 ReadBackTranscript()}));
    EXPECT_EQ(r.rig.state.m_profileIndex, 0);
    EXPECT_EQ(r.rig.state.m_lightingModes, InitialLightingModes());
    EXPECT_EQ(r.rig.lighting.values.colorRow1, 0) << "the controls show record 0";
    EXPECT_EQ(r.rig.ledModeCombo.selection, 0);
    EXPECT_EQ(r.rig.profileCombo.selection, 0);
}

TEST(RestoreFactorySettings, FromTheStartStateOnlyResetAndOneReadBack) {
    ResetRig r(0, 0);
    RestoreFactorySettings(r.rig.ctx);
    EXPECT_EQ(r.rig.log, Concat({kAsk, kReset, {"sleep 800"}, ReadBackTranscript()}));
    EXPECT_EQ(r.rig.lighting.values.colorRow1, 0) << "shown again although mode 0 was already selected";
    EXPECT_EQ(r.rig.state.m_lightingModes, InitialLightingModes());
}

TEST(RestoreFactorySettings, CancelChangesNothing) {
    ResetRig r(4, 2);
    r.rig.prompt.answerOk = false;
    const KeyboardState before = r.rig.state;
    RestoreFactorySettings(r.rig.ctx);
    EXPECT_EQ(r.rig.log, kAsk);
    EXPECT_EQ(r.rig.state.m_profileIndex, before.m_profileIndex);
    EXPECT_EQ(r.rig.state.m_lightingModes, before.m_lightingModes);
    EXPECT_EQ(r.rig.ledModeCombo.selection, 4);
}

}  // namespace
