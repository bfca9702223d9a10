#include "device/HidPath.h"
#include "device/KeyboardInterface.h"
#include "device/hidapi/HidapiBackend.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

struct ParseCase {
    const char* path;
    bool matches;
    HidInterfaceId id;
};

TEST(HidPath, ParsesThePattern) {
    const ParseCase cases[] = {
        {R"(\\?\hid#vid_1234&pid_abcd&mi_01&col02#7&1a&0&0001#{4d1e55b2})", true, {0x1234, 0xABCD, 1, 2}},
        {"hid#vid_1234&pid_abcd", true, {0x1234, 0xABCD, -1, -1}},
        {"hid#vid_1234&pid_abcd&mi_10", true, {0x1234, 0xABCD, 0x10, -1}},
        {"hid#vid_1234&pid_abcd&col1a", true, {0x1234, 0xABCD, -1, 0x1A}},
        {"HID#VID_1234&PID_ABCD&MI_01", false, {}},
        {"hid#vid_12&pid_abcd", false, {}},
        {"", false, {}},
        // Letters beyond f are allowed by the pattern; conversion stops at them.
        {"hid#vid_12zz&pid_zzzz&mi_0z", true, {0x12, 0, 0, -1}},
        // The first occurrence is used.
        {"x hid#vid_0001&pid_0002 hid#vid_0003&pid_0004&mi_00", true, {1, 2, -1, -1}},
        // "&mi_" with only one character after it is not part of the match.
        {"hid#vid_0001&pid_0002&mi_1", true, {1, 2, -1, -1}},
    };
    for (const ParseCase& c : cases) {
        const auto id = ParseHidPath(c.path);
        ASSERT_EQ(id.has_value(), c.matches) << c.path;
        if (!id) continue;
        EXPECT_EQ(id->vid, c.id.vid) << c.path;
        EXPECT_EQ(id->pid, c.id.pid) << c.path;
        EXPECT_EQ(id->interface, c.id.interface) << c.path;
        EXPECT_EQ(id->collection, c.id.collection) << c.path;
    }
}

TEST(HidPath, LongAndOddPathsAreHandled) {
    EXPECT_FALSE(ParseHidPath(std::string(100000, '#')));
    EXPECT_TRUE(ParseHidPath(std::string(50000, 'x') + "hid#vid_0001&pid_0002"));
    EXPECT_FALSE(ParseHidPath(std::string("hid#vid_\0\0\0\0&pid_0002", 21)));
}

TEST(HidPath, MatchingRule) {
    const HidInterfaceId full{0x1A2C, 0x9C01, 1, 3};
    const HidInterfaceId bare{0x1A2C, 0x9C01, -1, -1};
    const struct {
        DeviceIdentity wanted;
        bool full, bare;
    } cases[] = {
        {{0x1A2C, 0x9C01, 1, 3}, true, false},
        {{0, 0, -1, -1}, true, true},
        {{-5, -5, -1, -1}, true, true},
        {{0x1A2C, 0x9C01, 0, -1}, false, false},  // 0 is a real interface number
        {{0x1A2C, 0x9C01, -1, 0}, false, false},
        {{0x1A2D, 0, -1, -1}, false, false},
        {{0, 0x9C02, -1, -1}, false, false},
        {{0, 0, 1, -1}, true, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IdentityMatches(c.wanted, full), c.full);
        EXPECT_EQ(IdentityMatches(c.wanted, bare), c.bare);
    }
}

class ListBackend : public HidBackend {
public:
    std::vector<HidInterfaceInfo> list;
    std::vector<HidInterfaceInfo> Enumerate() override { return list; }
    std::unique_ptr<HidHandle> OpenPath(const std::string&) override { return nullptr; }
};

TEST(KeyboardInterface, LastMatchWinsAndDiagnosticsAreWritten) {
    ListBackend backend;
    backend.list = {{"hid#vid_1a2c&pid_9c01&mi_00", "/dev/hidraw0"},
                    {"bluetooth device", "/dev/hidraw9"},
                    {"hid#vid_1a2c&pid_9c01&mi_01&col01", "/dev/hidraw1"},
                    {"hid#vid_1a2c&pid_9c01&mi_01&col03", "/dev/hidraw1"}};
    std::ostringstream diag;
    auto found = FindKeyboardInterface(backend, {0x1A2C, 0x9C01, 1, -1}, diag);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->pathText, "hid#vid_1a2c&pid_9c01&mi_01&col03");
    EXPECT_EQ(diag.str(),
              "got classs: guid={4d1e55b2-f16f-11cf-88cb001111000030}\n"
              "enum interface: guid={4d1e55b2-f16f-11cf-88cb001111000030} index=0\n"
              "enum interface: guid={4d1e55b2-f16f-11cf-88cb001111000030} index=1\n"
              "enum interface: guid={4d1e55b2-f16f-11cf-88cb001111000030} index=2\n"
              "enum interface: guid={4d1e55b2-f16f-11cf-88cb001111000030} index=3\n");

    std::ostringstream none;
    backend.list.clear();
    EXPECT_FALSE(FindKeyboardInterface(backend, {}, none));
    EXPECT_EQ(none.str(), "got classs: guid={4d1e55b2-f16f-11cf-88cb001111000030}\n");
}

TEST(HidapiPathText, WritesTheWindowsFormPerCollection) {
    const std::vector<HidapiEntry> entries = {
        {"/dev/hidraw0", 0x1A2C, 0x9C01, 0},   // typing keys: one collection on its node
        {"/dev/hidraw1", 0x1A2C, 0x9C01, 1},   // three collections on one node
        {"/dev/hidraw1", 0x1A2C, 0x9C01, 1},
        {"/dev/hidraw1", 0x1A2C, 0x9C01, 1},
        {"/dev/hidraw2", 0x0001, 0xABCD, -1},  // virtual device: no USB interface
        {"/dev/hidraw3", 0x0001, 0xABCD, -1},
        {"/dev/hidraw3", 0x0001, 0xABCD, -1},
    };
    const auto infos = DescribeHidapiEntries(entries);
    const char* expected[] = {
        R"(\\?\hid#vid_1a2c&pid_9c01&mi_00#/dev/hidraw0)",       R"(\\?\hid#vid_1a2c&pid_9c01&mi_01&col01#/dev/hidraw1)",
        R"(\\?\hid#vid_1a2c&pid_9c01&mi_01&col02#/dev/hidraw1)", R"(\\?\hid#vid_1a2c&pid_9c01&mi_01&col03#/dev/hidraw1)",
        R"(\\?\hid#vid_0001&pid_abcd#/dev/hidraw2)",             R"(\\?\hid#vid_0001&pid_abcd&col01#/dev/hidraw3)",
        R"(\\?\hid#vid_0001&pid_abcd&col02#/dev/hidraw3)",
    };
    ASSERT_EQ(infos.size(), std::size(expected));
    for (size_t i = 0; i < infos.size(); ++i) {
        EXPECT_EQ(infos[i].pathText, expected[i]);
        EXPECT_EQ(infos[i].openPath, entries[i].path);
    }
    // An identity written for the Windows program picks the same collection here.
    ListBackend backend;
    backend.list = infos;
    std::ostringstream diag;
    auto found = FindKeyboardInterface(backend, {0x1A2C, 0x9C01, 1, 2}, diag);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->pathText, expected[2]);
}

}  // namespace
