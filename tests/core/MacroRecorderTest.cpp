#include "macro/MacroRecorder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "macro/KeyboardHookEvent.h"

namespace {

constexpr uint32_t kVkA = 0x41, kVkB = 0x42, kVkLeftAlt = 0xA4, kVkUnknown = 0x07;

struct FakeClock : ProgramClock {
    int64_t now = 1000;
    int64_t NowMs() const override { return now; }
};

struct FakeView : IMacroRecorderView {
    int page = AssignmentPageMacro;
    bool record = true;
    int warnings = 0;
    std::function<void()> whileWarning;
    std::string singleName;
    int singleUsage = -1;
    int refreshes = 0;
    int CurrentPage() const override { return page; }
    bool IsRecordChecked() const override { return record; }
    void ShowRecordLimitWarning(const char* text, const char*) override {
        EXPECT_STREQ(text, "Insufficient space, recording up to 40 buttons!");
        ++warnings;
        if (whileWarning) whileWarning();
    }
    void ShowSingleKey(const std::string& name, uint8_t usage) override {
        singleName = name;
        singleUsage = usage;
    }
    void ForgetSingleKey() override { singleUsage = 0; }
    void RefreshEvents() override { ++refreshes; }
};

class MacroRecorderTest : public ::testing::Test {
protected:
    std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                ("kbd-recorder-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
    MacroLibrary library;
    MacroEventEditor events{library};
    AssignmentDialogState state;
    FakeClock clock;
    FakeView view;
    MacroRecorder recorder{events, state, clock, view};

    void SetUp() override {
        std::filesystem::create_directories(dir);
        library.path = (dir / "macro.xml").string();
        state.path = (dir / "store.xml").string();
        library.AddGroup("g");
        events.ShowGroup(library.Group(0));
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::vector<std::string> Events() const {
        std::vector<std::string> out;
        for (const MacroEvent& e : library.groups[0].events)
            out.push_back(e.code + "/" + e.name + "/" + e.state + "/" + e.delay);
        return out;
    }
    std::string FileText() const {
        MacroLibrary reread((dir / "macro.xml").string());
        reread.Load();
        return reread.Serialize();
    }
};

TEST_F(MacroRecorderTest, RealModeMeasuresTheTimeBetweenEvents) {
    state.dlymode = DelayModeReal;
    EXPECT_TRUE(recorder.OnKey(kMsgKeyDown, kVkA));
    clock.now += 137;
    EXPECT_TRUE(recorder.OnKey(kMsgKeyUp, kVkA));
    EXPECT_EQ(Events(), (std::vector<std::string>{"4/A/0/137", "4/A/1/0"}));
    EXPECT_EQ(recorder.lastEventTime(), 1137);
    // Each event is saved as it arrives, and the stamp with the next one.
    EXPECT_EQ(FileText(), library.Serialize());
}

TEST_F(MacroRecorderTest, FixedAndNoneModesIgnoreTiming) {
    struct Case { int mode; int fixed; const char* stamped; };
    for (Case c : {Case{DelayModeFixed, 10, "10"}, {DelayModeFixed, 250, "250"}, {DelayModeNone, 10, "0"},
                   {-1, 10, "0"}, {7, 10, "0"}}) {
        library.groups[0].ClearEvents();
        state.dlymode = c.mode;
        state.delay = c.fixed;
        recorder.OnKey(kMsgKeyDown, kVkA);
        clock.now += 999;
        recorder.OnKey(kMsgKeyUp, kVkA);
        EXPECT_EQ(library.groups[0].events[0].delay, c.stamped) << c.mode;
    }
}

TEST_F(MacroRecorderTest, FirstEventIntoAFilledGroupStampsTheOldLastEvent) {
    library.groups[0].AddEvent(5, 1, "B", 0);
    state.dlymode = DelayModeReal;
    recorder.OnKey(kMsgKeyDown, kVkA);
    // Since the program start plus one, as no event of this dialog came before.
    EXPECT_EQ(library.groups[0].events[0].delay, "1001");
}

TEST_F(MacroRecorderTest, ReleaseFirstIsSwallowedAndDropped) {
    EXPECT_TRUE(recorder.OnKey(kMsgKeyUp, kVkA));
    EXPECT_TRUE(library.groups[0].events.empty());
    EXPECT_EQ(view.refreshes, 0);
}

TEST_F(MacroRecorderTest, SystemKeysRecordAndUnknownKeysOnlyStamp) {
    state.dlymode = DelayModeReal;
    recorder.OnKey(kMsgSysKeyDown, kVkLeftAlt);
    clock.now += 40;
    EXPECT_TRUE(recorder.OnKey(kMsgKeyDown, kVkUnknown));  // swallowed, not recorded
    clock.now += 60;
    recorder.OnKey(kMsgSysKeyUp, kVkLeftAlt);
    EXPECT_EQ(Events(), (std::vector<std::string>{"226/Alt Left/0/60", "226/Alt Left/1/0"}));
    EXPECT_TRUE(recorder.OnKey(0x0102, kVkA));  // another message: swallowed, nothing else
    EXPECT_EQ(library.groups[0].events.size(), 2u);
}

TEST_F(MacroRecorderTest, NothingWithoutTheRecordBoxOrOnTheOtherTabs) {
    view.record = false;
    EXPECT_FALSE(recorder.OnKey(kMsgKeyDown, kVkA));
    view.record = true;
    for (int page : {AssignmentPageMediaKey, AssignmentPageFunction}) {
        view.page = page;
        EXPECT_FALSE(recorder.OnKey(kMsgKeyDown, kVkA));
    }
    EXPECT_TRUE(library.groups[0].events.empty());
}

TEST_F(MacroRecorderTest, WithoutAShownGroupKeysAreSwallowedAndDropped) {
    events.ShowGroup(nullptr);
    EXPECT_TRUE(recorder.OnKey(kMsgKeyDown, kVkA));
    EXPECT_TRUE(recorder.OnKey(kMsgKeyUp, kVkA));
    EXPECT_TRUE(library.groups[0].events.empty());
}

TEST_F(MacroRecorderTest, TheEightyFirstEventWarnsOnceAndPassesTheKey) {
    for (int i = 0; i < 40; ++i) {
        ASSERT_TRUE(recorder.OnKey(kMsgKeyDown, kVkA));
        ASSERT_TRUE(recorder.OnKey(kMsgKeyUp, kVkA));
    }
    ASSERT_EQ(library.groups[0].events.size(), 80u);
    // Keys held while the box is open reach the listener again; they open no second box.
    view.whileWarning = [&] {
        EXPECT_TRUE(recorder.warningShown());
        EXPECT_FALSE(recorder.OnKey(kMsgKeyDown, kVkB));
        EXPECT_FALSE(recorder.OnKey(kMsgKeyDown, kVkB));
    };
    EXPECT_FALSE(recorder.OnKey(kMsgKeyDown, kVkB));
    EXPECT_EQ(view.warnings, 1);
    EXPECT_FALSE(recorder.warningShown());
    // Closed: the next key opens it again.
    view.whileWarning = nullptr;
    EXPECT_FALSE(recorder.OnKey(kMsgKeyUp, kVkB));
    EXPECT_EQ(view.warnings, 2);
    EXPECT_EQ(library.groups[0].events.size(), 80u);
}

TEST_F(MacroRecorderTest, SingleKeyTabCapturesAndSavesAtOnceAndSwallowsEverything) {
    view.page = AssignmentPageSingleKey;
    EXPECT_TRUE(recorder.OnKey(kMsgKeyDown, kVkA));
    EXPECT_EQ(view.singleName, "A");
    EXPECT_EQ(view.singleUsage, 4);
    EXPECT_EQ(state.sgcode, 4);
    EXPECT_EQ(AssignmentDialogState(state.path).sgcode, 4);
    EXPECT_TRUE(recorder.OnKey(kMsgKeyUp, kVkA));
    EXPECT_TRUE(recorder.OnKey(kMsgSysKeyDown, kVkLeftAlt));
    EXPECT_EQ(view.singleName, "Alt Left");
    // A key the table does not know: the name stays, the captured usage goes.
    EXPECT_TRUE(recorder.OnKey(kMsgKeyDown, kVkUnknown));
    EXPECT_EQ(view.singleName, "Alt Left");
    EXPECT_EQ(view.singleUsage, 0);
    EXPECT_EQ(state.sgcode, 226);
    EXPECT_TRUE(library.groups[0].events.empty());
}

}  // namespace
