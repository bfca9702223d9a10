#include "emulator/EmulatedKeyboard.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "ProtocolFakes.h"
#include "app/AppConfig.h"
#include "device/KeyboardInterface.h"
#include "protocol/ProfileCommands.h"
#include "protocol/ReportExchange.h"
#include "protocol/AssignmentCommands.h"
#include "protocol/FactoryReset.h"
#include "protocol/KeyAssignmentCodec.h"
#include "protocol/LightingCommands.h"

using namespace protocol_fakes;

namespace {

using Report = uint8_t[8];

TEST(EmulatedKeyboard, ShippedIdentitySelectsTheCommandCollection) {
    const AppConfig config = AppConfig::Load(
        (std::filesystem::path(KBDCONF_TEST_DATA).parent_path().parent_path() / "res" / "config.xml").string());
    ASSERT_EQ(config.identity.vid, 0x1A2C);
    EmulatedKeyboard keyboard{EmulatorLog()};
    std::ostringstream diag;
    const auto found = FindKeyboardInterface(keyboard, config.identity, diag);
    ASSERT_TRUE(found);
    EXPECT_NE(found->pathText.find("&mi_01&col03"), std::string::npos) << found->pathText;
    EXPECT_EQ(found->openPath, EmulatedKeyboard::kCommandNode);
    EXPECT_EQ(keyboard.Enumerate().size(), 4u);

    // The typing-key node has no report 7.
    auto typing = keyboard.OpenPath(EmulatedKeyboard::kTypingKeysNode);
    ASSERT_TRUE(typing);
    uint8_t r[8] = {7, 0xFC, 2};
    EXPECT_EQ(typing->SendFeatureReport(r, 8), -1);
    EXPECT_EQ(keyboard.firmware().activeProfile(), 0);
    EXPECT_FALSE(keyboard.OpenPath("/dev/hidraw0"));
}

TEST(KeyboardFirmware, ReadKeySlotsAnswersTheActiveProfileInFourParts) {
    KeyboardFirmware fw;
    fw.profile(1).macros[0].owner = 0x3A;
    fw.profile(1).macros[11] = {0xE0, {}};
    fw.profile(1).remaps[0].owner = 41;
    fw.profile(1).remaps[11].owner = 42;
    fw.profile(0).macros[0].owner = 99;
    Report select = {7, 0xFC, 2}, read = {7, 0xFB, 1};
    ASSERT_TRUE(fw.Set(select));
    ASSERT_TRUE(fw.Set(read));
    std::vector<uint8_t> answer;
    for (int i = 0; i < 4; ++i) {
        Report g = {7};
        fw.Get(g);
        EXPECT_EQ(g[0], 7);
        answer.insert(answer.end(), g + 1, g + 8);
    }
    std::vector<uint8_t> want(28, 0);
    want[1] = 0x3A, want[12] = 0xE0, want[14] = 41, want[25] = 42;
    EXPECT_EQ(answer, want);
    Report extra = {7, 1, 2, 3};
    fw.Get(extra);
    EXPECT_EQ(std::vector<uint8_t>(extra, extra + 8), std::vector<uint8_t>({7, 0, 0, 0, 0, 0, 0, 0}))
        << "no answer pending: zeros";
}

TEST(KeyboardFirmware, IgnoresWhatItCannotUse) {
    KeyboardFirmware fw;
    Report wrongId = {6, 0xFC, 2};
    EXPECT_FALSE(fw.Set(wrongId));
    const uint8_t longReport[9] = {7, 0xFC, 2};
    EXPECT_FALSE(fw.Set(std::span<const uint8_t>(longReport, 9))) << "only 8-byte reports";
    EXPECT_FALSE(fw.Set(std::span<const uint8_t>(longReport, 7)));
    const std::vector<std::array<uint8_t, 8>> ignored{
        {7, 0xFC, 0},      {7, 0xFC, 4},       {7, 0xFA, 4, 1, 9, 1, 4, 1}, {7, 0xFA, 1, 13, 9, 1, 4, 1},
        {7, 0xF7, 10, 1},  {7, 0xF0, 0xAB},    {7, 0x00, 1, 2, 3, 4, 5, 6}, {7, 0x42}};
    for (const auto& bytes : ignored) {
        Report r;
        std::copy(bytes.begin(), bytes.end(), r);
        EXPECT_TRUE(fw.Set(r));
    }
    EXPECT_EQ(fw.activeProfile(), 0);
    for (int p = 0; p < 3; ++p)
        for (int s = 0; s < 12; ++s) EXPECT_EQ(fw.profile(p).remaps[s].owner, 0);
}

TEST(KeyboardFirmware, MacroImageIsStoredOnlyWhenAll168BytesArrived) {
    KeyboardFirmware fw;
    KeyAssignment image;
    image[0] = 2, image[1] = 12, image[2] = 0x3A, image[3] = 1, image[167] = 0x81;
    auto send = [&](size_t skipChunk) {
        for (size_t c = 0; c < 28; ++c) {
            if (c == skipChunk) continue;
            Report r = {7, static_cast<uint8_t>(c == 0 ? 0xF1 : 0x00)};
            std::copy_n(image.bytes.begin() + 6 * c, 6, r + 2);
            fw.Set(r);
        }
    };
    send(0);  // the start lost: continuations alone do nothing
    EXPECT_EQ(fw.profile(1).macros[11].owner, 0);
    send(5);  // one continuation lost: the image stays unfinished
    EXPECT_EQ(fw.profile(1).macros[11].owner, 0);
    send(99);  // a new start discards the unfinished image
    EXPECT_EQ(fw.profile(1).macros[11].owner, 0x3A);
    EXPECT_EQ(fw.profile(1).macros[11].image.bytes, image.bytes);

    Report light = {7, 0xF7, 4, 1, 2, 3, 0, 0};
    fw.Set(light);
    EXPECT_EQ(fw.lighting(4), (LightingRecord{{1, 2, 3, 0, 0}}));
    Report reset = {7, 0xF0, 0xAA};
    fw.Set(reset);
    EXPECT_EQ(fw.profile(1).macros[11].owner, 0);
    EXPECT_EQ(fw.lighting(4), InitialLightingRecord(4));
}

// The protocol against the emulated keyboard: what it holds and what the read-back marks agree.
struct EndToEnd : ::testing::Test {
    EmulatedKeyboard keyboard{EmulatorLog()};
    Rig rig{keyboard};

    std::vector<uint8_t> MarkedOwners() const {
        std::vector<uint8_t> v;
        const auto& p = keyboard.firmware().profile(keyboard.firmware().activeProfile());
        for (const auto& s : p.macros)
            if (s.owner) v.push_back(s.owner);
        for (const auto& s : p.remaps)
            if (s.owner) v.push_back(s.owner);
        return v;
    }
    void ExpectAgreement() {
        const auto& p = keyboard.firmware().profile(keyboard.firmware().activeProfile());
        for (int i = 0; i < 12; ++i) {
            EXPECT_EQ(rig.state.m_macroKeyCodes[i], p.macros[i].owner) << "macro slot " << i;
            EXPECT_EQ(rig.state.m_remapKeyCodes[i], p.remaps[i].owner) << "remap slot " << i;
        }
        std::vector<uint8_t> owners = MarkedOwners(), marked = rig.picture.checked;
        std::sort(owners.begin(), owners.end());
        owners.erase(std::unique(owners.begin(), owners.end()), owners.end());
        std::sort(marked.begin(), marked.end());
        EXPECT_EQ(marked, owners);
    }
    void Apply(KeyAssignment image, uint8_t key) {
        const uint8_t keys[] = {key};
        ApplyAssignment(rig.ctx, image, keys);
    }
    void Clear(uint8_t key) {
        KeyAssignment image;
        const uint8_t keys[] = {key};
        ClearAssignment(rig.ctx, image, keys);
    }
};

TEST_F(EndToEnd, MacroRemapAndChordAssignedThenCleared) {
    ASSERT_TRUE(rig.device.IsOpen());
    SwitchProfile(rig.ctx);
    const std::vector<MacroStepText> events{{"4", "0", "100"}, {"4", "1", "0"}};
    KeyAssignment macro;
    FillMacroPage(macro, 0x3A, 1, std::span<const MacroStepText>(events));
    Apply(macro, 0x3A);
    const auto& profile = keyboard.firmware().profile(0);
    EXPECT_EQ(profile.macros[0].owner, 0x3A);
    EXPECT_EQ(profile.macros[0].image[5], 0x0A);
    ExpectAgreement();

    KeyAssignment remap;
    FillSingleKeyPage(remap, 41, 4);
    Apply(remap, 41);
    EXPECT_EQ(profile.remaps[0].owner, 41);
    EXPECT_EQ(profile.remaps[0].target, 4);
    ExpectAgreement();

    const KeyListEntry copy{"Copy", {224, 6}};
    KeyAssignment chord;
    FillFunctionKeyPage(chord, 0xE1, &copy);
    Apply(chord, 0xE1);
    EXPECT_EQ(profile.macros[1].owner, 0xE1);
    EXPECT_EQ(profile.macros[1].image.Step(3), (MacroStep{224, 0x81}));
    ExpectAgreement();

    // Re-assigning keeps the slot; the macro key may also own a remap slot.
    Apply(remap, 0x3A);
    EXPECT_EQ(profile.remaps[1].owner, 0x3A);
    Apply(macro, 0x3A);
    EXPECT_EQ(profile.macros[0].owner, 0x3A);
    EXPECT_EQ(profile.macros[2].owner, 0);
    ExpectAgreement();

    for (uint8_t key : {0x3A, 0x3A, 41, 0xE1}) {
        Clear(key);
        ExpectAgreement();
    }
    EXPECT_TRUE(MarkedOwners().empty());
    EXPECT_TRUE(rig.picture.checked.empty());
}

TEST_F(EndToEnd, AllTwelveMacroSlotsThenTheWarning) {
    KeyAssignment macro;
    macro[3] = 1;
    for (uint8_t key = 10; key < 22; ++key) {
        Apply(macro, key);
        ExpectAgreement();
    }
    rig.log.clear();
    Apply(macro, 30);
    EXPECT_EQ(rig.log, (Transcript{"message Warning: Insufficient space, please delete the record button first."}));
    EXPECT_EQ(keyboard.firmware().setCount(), 12u * 29);
    Clear(15);
    Apply(macro, 30);
    EXPECT_EQ(keyboard.firmware().profile(0).macros[5].owner, 30) << "the freed slot is reused";
    ExpectAgreement();
}

TEST_F(EndToEnd, ProfilesKeepTheirOwnSlots) {
    KeyAssignment remap;
    FillSingleKeyPage(remap, 41, 4);
    rig.profileCombo.selection = 1;
    OnProfileSelectionChanged(rig.ctx);
    Apply(remap, 41);
    EXPECT_EQ(keyboard.firmware().profile(1).remaps[0].owner, 41);
    ExpectAgreement();
    rig.profileCombo.selection = 0;
    OnProfileSelectionChanged(rig.ctx);
    EXPECT_EQ(keyboard.firmware().activeProfile(), 0);
    EXPECT_TRUE(rig.picture.checked.empty());
    ExpectAgreement();
}

TEST_F(EndToEnd, RefusedSetsAreRetriedPerChunk) {
    KeyAssignment macro;
    macro[3] = 1;
    keyboard.RefuseNextSets(3);  // the first chunk gets through on its fourth attempt
    Apply(macro, 0x3A);
    EXPECT_EQ(keyboard.firmware().profile(0).macros[0].owner, 0x3A);
    ExpectAgreement();

    keyboard.RefuseNextSets(4);  // the first chunk is lost: the image never completes
    Apply(macro, 0x3B);
    EXPECT_EQ(keyboard.firmware().profile(0).macros[1].owner, 0);
    ExpectAgreement();
    EXPECT_EQ(rig.state.m_macroKeyCodes[1], 0) << "the read-back shows the failure";
}

TEST_F(EndToEnd, ZeroAnswersAndUnplugLeaveEverySlotFree) {
    keyboard.firmware().profile(0).remaps[3].owner = 41;
    ReadBack(rig.ctx);
    EXPECT_EQ(rig.state.m_remapKeyCodes[3], 41);

    keyboard.SetGetsAnswerZeros(true);
    ReadBack(rig.ctx);
    EXPECT_EQ(rig.state.m_remapKeyCodes[3], 0);
    EXPECT_TRUE(rig.picture.checked.empty());
    keyboard.SetGetsAnswerZeros(false);

    keyboard.Unplug();
    EXPECT_TRUE(keyboard.Enumerate().empty());
    KeyAssignment remap;
    FillSingleKeyPage(remap, 50, 4);
    const size_t sets = keyboard.firmware().setCount();
    Apply(remap, 50);
    EXPECT_EQ(keyboard.firmware().setCount(), sets) << "nothing reaches an unplugged keyboard";
    EXPECT_EQ(rig.state.m_remapKeyCodes[3], 0);
    const DeviceIdentity identity{0x1A2C, 0x9C01, -1, 3};
    EXPECT_FALSE(rig.device.Open(identity));
    EXPECT_TRUE(rig.device.IsOpen()) << "the stale handle stays";

    keyboard.Replug();
    ReadBack(rig.ctx);
    EXPECT_EQ(rig.state.m_remapKeyCodes[3], 0) << "the old handle stays dead after the replug";
    ASSERT_TRUE(rig.device.Open(identity));
    ReadBack(rig.ctx);
    EXPECT_EQ(rig.state.m_remapKeyCodes[3], 41);
    ExpectAgreement();
}

TEST_F(EndToEnd, FactoryResetEmptiesTheKeyboard) {
    rig.ledModeCombo.onChange = [this] { OnLedModeChanged(rig.ctx); };
    rig.profileCombo.onChange = [this] { OnProfileSelectionChanged(rig.ctx); };
    rig.ledModeCombo.selection = 4;
    rig.profileCombo.selection = 2;
    OnProfileSelectionChanged(rig.ctx);
    KeyAssignment macro;
    macro[3] = 1;
    Apply(macro, 0x3A);
    EXPECT_EQ(keyboard.firmware().profile(2).macros[0].owner, 0x3A);
    RestoreFactorySettings(rig.ctx);
    EXPECT_EQ(keyboard.firmware().activeProfile(), 0);
    EXPECT_EQ(keyboard.firmware().profile(2).macros[0].owner, 0);
    EXPECT_EQ(keyboard.firmware().lighting(0), InitialLightingRecord(0));
    ExpectAgreement();
}

TEST(EmulatorLog, OneLinePerReportWithTimeDirectionAndBytes) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("kbdconf-emulog-" + std::to_string(::getpid()) + ".log");
    std::filesystem::remove(path);
    setenv(EmulatorLog::kEnvironmentVariable, path.c_str(), 1);
    {
        EmulatedKeyboard keyboard;  // takes the file from the environment
        unsetenv(EmulatorLog::kEnvironmentVariable);
        Rig rig(keyboard);
        keyboard.RefuseNextSets(1);
        SwitchProfile(rig.ctx);
    }
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    std::filesystem::remove(path);
    ASSERT_EQ(lines.size(), 6u);
    const std::regex shape(R"(\d+ (set|get)( [0-9A-F]{2}){8}( refused)?)");
    for (const std::string& l : lines) EXPECT_TRUE(std::regex_match(l, shape)) << l;
    EXPECT_NE(lines[0].find("set 07 FC 01 00 00 00 00 00 refused"), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find("set 07 FB 01 00 00 00 00 00"), std::string::npos);
    EXPECT_NE(lines[2].find("get 07 00 00 00 00 00 00 00"), std::string::npos);
    const long first = std::stol(lines[0]), last = std::stol(lines[5]);
    EXPECT_GE(last - first, 0) << "milliseconds since start never go back";
}

}  // namespace
