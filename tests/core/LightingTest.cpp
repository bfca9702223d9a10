#include "protocol/LightingCommands.h"

#include <gtest/gtest.h>

#include "ProtocolFakes.h"

using namespace protocol_fakes;

namespace {

// The window after its initialisation: mode 0 shown in the controls, the mode handler wired.
struct LightingRig {
    Transcript log;
    RecordingBackend backend{log};
    Rig rig{backend};
    LightingRig() {
        rig.ledModeCombo.onChange = [this] { OnLedModeChanged(rig.ctx); };
        UpdateLightingView(rig.ctx, kRecordToControls);
        rig.log.clear();
    }
    LightingControlValues& controls() { return rig.lighting.values; }
    Transcript Sent() const { return rig.Only({"set"}); }
};

TEST(Lighting, StartStateShowsRecordZero) {
    LightingRig r;
    EXPECT_EQ(r.controls().colorRow1, 0) << "bar_color1";
    EXPECT_EQ(r.controls().direction, 0) << "left";
    EXPECT_EQ(r.controls().speed, 3);
    EXPECT_EQ(r.controls().brightness, 3);
    EXPECT_EQ(r.rig.lighting.panels, (LightingPanels{true, true, true, false, false, false}));
}

TEST(Lighting, SelectingModeOneSendsItsRecordAfter50ms) {
    LightingRig r;
    r.rig.ledModeCombo.SelectWithNotification(1);
    EXPECT_EQ(r.rig.log, (Transcript{"sleep 50", "set 07 F7 01 01 01 03 03 00"}));
    EXPECT_EQ(r.rig.lighting.panels, (LightingPanels{true, true, true, true, false, false}));
}

TEST(Lighting, ModeOneColourButtons) {
    LightingRig r;
    r.rig.ledModeCombo.SelectWithNotification(1);
    r.rig.log.clear();
    r.controls().colorRow1 = -1;  // bar_color0 is no member of the group
    OnLightingControlChanged(r.rig.ctx);
    r.controls().colorRow1 = 6;  // bar_color7
    r.controls().direction = 1;
    OnLightingControlChanged(r.rig.ctx);
    r.controls().direction = -1;  // neither direction button checked
    r.controls().speed = 6;       // only the low two bits count
    OnLightingControlChanged(r.rig.ctx);
    EXPECT_EQ(r.Sent(), (Transcript{"set 07 F7 01 00 01 03 03 00", "set 07 F7 01 07 02 03 03 00",
                                    "set 07 F7 01 07 01 02 03 00"}));
}

TEST(Lighting, ModeThreeTakesTheSecondRowAndTheHiddenSpeedSlider) {
    LightingRig r;
    r.rig.ledModeCombo.SelectWithNotification(3);
    EXPECT_EQ(r.rig.lighting.panels, (LightingPanels{false, false, true, false, true, false}));
    r.rig.log.clear();
    r.controls().colorRow1 = 4;  // not read in mode 3
    r.controls().speed = 1;
    for (int group = -1; group <= 6; ++group) {
        r.controls().colorRow2 = group;
        OnLightingControlChanged(r.rig.ctx);
    }
    Transcript want;
    for (int code = 0; code <= 7; ++code) {
        char line[40];
        std::snprintf(line, sizeof line, "set 07 F7 03 %02X 01 01 03 00", code);
        want.push_back(line);
    }
    EXPECT_EQ(r.Sent(), want);
}

TEST(Lighting, ModeEightAreas) {
    LightingRig r;
    r.rig.ledModeCombo.SelectWithNotification(8);
    EXPECT_EQ(r.rig.lighting.panels, (LightingPanels{false, false, true, false, false, true}));
    EXPECT_EQ(r.controls().areas, (std::array<int32_t, 6>{0, 0, 0, 0, 0, 0}));
    r.rig.log.clear();
    r.controls().areas = {-1, 0, 0, 0, 0, 0};  // area 1 on its color1 button
    OnLightingControlChanged(r.rig.ctx);
    EXPECT_EQ(r.Sent(), (Transcript{"set 07 F7 08 F0 00 00 03 00"}));

    r.controls().areas = {1, 2, 3, 4, 5, 6};
    r.controls().brightness = 0;
    OnLightingControlChanged(r.rig.ctx);
    EXPECT_EQ(r.Sent().back(), "set 07 F7 08 12 34 56 00 00");

    // Back in the controls, a nibble of 7 or more leaves its group unchecked.
    r.rig.state.m_lightingModes[8] = {{0xF7, 0x06, 0x00, 0x02, 0x00}};
    UpdateLightingView(r.rig.ctx, kRecordToControls);
    EXPECT_EQ(r.controls().areas, (std::array<int32_t, 6>{-1, -1, 0, 6, 0, 0}));
    EXPECT_EQ(r.controls().brightness, 2);
}

TEST(Lighting, RecordWithColourZeroLeavesTheColourButtons) {
    LightingRig r;
    r.rig.state.m_lightingModes[2] = {{0x00, 0x02, 0x01, 0x00, 0x00}};
    r.controls().colorRow1 = 5;
    r.rig.ledModeCombo.SelectWithNotification(2);
    EXPECT_EQ(r.controls().colorRow1, 5);
    EXPECT_EQ(r.controls().direction, 1);
    EXPECT_EQ(r.controls().speed, 1);
    EXPECT_EQ(r.controls().brightness, 0);
}

TEST(Lighting, UpdatesTouchOnlyTheirBits) {
    LightingRecord record{{0xF8, 0xFC, 0xFC, 0xFC, 0x5A}};
    LightingControlValues v;
    v.colorRow1 = 2, v.direction = 1, v.speed = 2, v.brightness = 1;
    StoreControlsInRecord(0, v, record);
    EXPECT_EQ(record, (LightingRecord{{0xFB, 0xFE, 0xFE, 0xFD, 0x5A}}));
}

TEST(Lighting, NoModeSelectedDoesNothing) {
    for (int mode : {-1, 10}) {
        LightingRig r;
        r.rig.ledModeCombo.selection = mode;
        const LightingControlValues before = r.controls();
        OnLedModeChanged(r.rig.ctx);
        OnLightingControlChanged(r.rig.ctx);
        EXPECT_TRUE(r.rig.log.empty()) << mode;
        EXPECT_EQ(r.controls(), before);
        EXPECT_EQ(r.rig.state.m_lightingModes, InitialLightingModes());
    }
}

TEST(Lighting, ClosedChannelStillUpdatesTheRecordAndPauses) {
    Transcript log;
    RecordingBackend backend(log);
    Rig rig(backend, /*open=*/false);
    rig.lighting.values.brightness = 1;
    OnLightingControlChanged(rig.ctx);
    EXPECT_EQ(rig.log, Transcript{"sleep 50"});
    EXPECT_EQ(rig.state.m_lightingModes[0][3], 1);
}

}  // namespace
