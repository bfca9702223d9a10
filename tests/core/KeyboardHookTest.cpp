#include "macro/KeyboardHook.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

struct FakeSource : KeyboardHookSource {
    bool startOk = true, stopOk = true;
    int starts = 0, stops = 0;
    bool Start() override { ++starts; return startOk; }
    bool Stop() override { ++stops; return stopOk; }
};

struct Listener : IKeyboardHookListener {
    std::string name;
    std::vector<std::string>* calls;
    bool swallow = false;
    std::function<void()> during;
    Listener(std::string n, std::vector<std::string>* c, bool s = false) : name(std::move(n)), calls(c), swallow(s) {}
    bool OnKeyboardHookEvent(int&, uint32_t& message, KeyboardHookEvent& data) override {
        calls->push_back(name + ":" + std::to_string(message) + ":" + std::to_string(data.virtualKey));
        if (during) during();
        return swallow;
    }
};

class KeyboardHookTest : public ::testing::Test {
protected:
    KeyboardHook hook;  // a private one; the process-wide instance stays untouched
    FakeSource source;
    std::vector<std::string> calls;
    void SetUp() override { hook.SetSource(&source); }
    bool Send(uint32_t message, uint32_t vk) {
        KeyboardHookEvent e;
        e.virtualKey = vk;
        return hook.Process(0, message, e);
    }
};

TEST_F(KeyboardHookTest, InstallAndUninstallFollowTheSource) {
    EXPECT_FALSE(hook.Uninstall());
    EXPECT_TRUE(hook.Install());
    EXPECT_TRUE(hook.Install());  // already installed: the source is not started twice
    EXPECT_EQ(source.starts, 1);
    source.stopOk = false;
    EXPECT_FALSE(hook.Uninstall());  // a failed removal leaves the hook marked installed
    EXPECT_TRUE(hook.IsInstalled());
    source.stopOk = true;
    EXPECT_TRUE(hook.Uninstall());
    EXPECT_FALSE(hook.IsInstalled());
    source.startOk = false;
    EXPECT_FALSE(hook.Install());  // a failed installation leaves it off

    KeyboardHook bare;
    EXPECT_FALSE(bare.Install());  // no platform source at all
}

TEST_F(KeyboardHookTest, ListenersNeedAnInstalledHookAndAreKeptOnce) {
    Listener a("a", &calls);
    EXPECT_FALSE(hook.AddListener(&a));
    ASSERT_TRUE(hook.Install());
    EXPECT_FALSE(hook.AddListener(nullptr));
    EXPECT_TRUE(hook.AddListener(&a));
    EXPECT_TRUE(hook.AddListener(&a));
    Send(kMsgKeyDown, 0x41);
    EXPECT_EQ(calls, (std::vector<std::string>{"a:256:65"}));

    // The list survives Uninstall and is served again after the next Install.
    ASSERT_TRUE(hook.Uninstall());
    ASSERT_TRUE(hook.Install());
    calls.clear();
    Send(kMsgKeyUp, 0x41);
    EXPECT_EQ(calls, (std::vector<std::string>{"a:257:65"}));
}

TEST_F(KeyboardHookTest, FirstSwallowingListenerStopsTheEvent) {
    ASSERT_TRUE(hook.Install());
    Listener a("a", &calls), b("b", &calls, true), c("c", &calls);
    hook.AddListener(&a);
    hook.AddListener(&b);
    hook.AddListener(&c);
    EXPECT_TRUE(Send(kMsgSysKeyDown, 0xA4));
    EXPECT_EQ(calls, (std::vector<std::string>{"a:260:164", "b:260:164"}));
    b.swallow = false;
    calls.clear();
    EXPECT_FALSE(Send(kMsgKeyDown, 0x41));
    EXPECT_EQ(calls.size(), 3u);
}

TEST_F(KeyboardHookTest, RemovalWithTheHookOffStillForgetsTheListener) {
    ASSERT_TRUE(hook.Install());
    Listener a("a", &calls);
    hook.AddListener(&a);
    ASSERT_TRUE(hook.Uninstall());
    EXPECT_FALSE(hook.RemoveListener(&a));  // reported as before, but the entry is gone
    ASSERT_TRUE(hook.Install());
    Send(kMsgKeyDown, 0x41);
    EXPECT_TRUE(calls.empty());
}

TEST_F(KeyboardHookTest, ListenerRemovedDuringDispatchIsNotCalled) {
    ASSERT_TRUE(hook.Install());
    Listener a("a", &calls), b("b", &calls);
    a.during = [&] { hook.RemoveListener(&b); };
    hook.AddListener(&a);
    hook.AddListener(&b);
    Send(kMsgKeyDown, 0x41);
    EXPECT_EQ(calls, (std::vector<std::string>{"a:256:65"}));
}

}  // namespace
