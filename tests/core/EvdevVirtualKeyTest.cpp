#include "platform/linux/EvdevVirtualKey.h"

#include <gtest/gtest.h>

#include <set>

#include "app/KeyCodeTable.h"

TEST(EvdevVirtualKey, ModifiersStayApart) {
    struct Case { uint32_t evdev; uint8_t vk; };
    for (Case c : {Case{29, 0xA2}, {97, 0xA3}, {42, 0xA0}, {54, 0xA1}, {56, 0xA4}, {100, 0xA5},
                   {125, 0x5B}, {126, 0x5C}, {30, 0x41}, {28, 0x0D}, {96, 0x0D}, {1, 0x1B}})
        EXPECT_EQ(VirtualKeyForEvdev(c.evdev), c.vk) << c.evdev;
    EXPECT_EQ(VirtualKeyForEvdev(0), 0);
    EXPECT_EQ(VirtualKeyForEvdev(84), 0);
    EXPECT_EQ(VirtualKeyForEvdev(0xFFFFFFFFu), 0);
}

TEST(EvdevVirtualKey, EveryKeyOfTheTableCanBeTyped) {
    std::set<uint8_t> reachable;
    for (uint32_t code = 0; code < 256; ++code) reachable.insert(VirtualKeyForEvdev(code));
    for (const KeyCodeEntry& e : KeyCodeTable) EXPECT_TRUE(reachable.count(e.virtualKey())) << e.name;
}
