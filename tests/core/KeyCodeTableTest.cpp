#include "app/KeyCodeTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

TEST(KeyCodeTable, EveryUsageOccursOnce) {
    std::set<uint8_t> usages;
    for (const KeyCodeEntry& e : KeyCodeTable) {
        EXPECT_TRUE(usages.insert(e.usage()).second) << e.name;
        EXPECT_EQ(e.code >> 16, 0u) << e.name;
    }
    EXPECT_EQ(usages.size(), 104u);
}

TEST(KeyCodeTable, LooksUpVirtualKeys) {
    const std::pair<uint8_t, int> cases[] = {
        {0x0D, 0x28},                              // Enter, never Pad Enter
        {0x41, 0x04}, {0x1B, 0x29}, {0x20, 0x2C},  // A, Esc, space
        {0xA0, 0xE1}, {0xA1, 0xE5}, {0xA2, 0xE0}, {0xA3, 0xE4},
        {0xA4, 0xE2}, {0xA5, 0xE6}, {0x5B, 0xE3}, {0x5C, 0xE7},
        {0x7C, -1},  {0xAD, -1},  {0x10, -1}, {0x11, -1}, {0x12, -1}, {0x00, -1},
    };
    for (const auto& [vk, usage] : cases) {
        uint8_t got = 0xAA;
        const bool found = UsageForVirtualKey(vk, got);
        EXPECT_EQ(found, usage >= 0) << int(vk);
        if (found) EXPECT_EQ(got, usage) << int(vk);
        else EXPECT_EQ(got, 0xAA) << "untouched when not found";
    }
}

TEST(KeyCodeTable, NamesUsages) {
    const std::pair<uint8_t, const char*> cases[] = {
        {0x58, "Pad Enter"}, {0x34, "\u2018"}, {0x35, "~"}, {0x31, "\\"},
        {0x28, "Enter"},     {0xE7, "Win Right"}, {0x48, "PAUSE"}, {0x00, nullptr}, {0xFF, nullptr},
    };
    for (const auto& [usage, name] : cases) {
        const char* got = NameForUsage(usage);
        if (!name) {
            EXPECT_EQ(got, nullptr) << int(usage);
        } else {
            ASSERT_NE(got, nullptr) << int(usage);
            EXPECT_STREQ(got, name);
        }
    }
}
