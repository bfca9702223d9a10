#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "app/CoordinateFile.h"
#include "app/KeyCodeTable.h"
#include "app/NumberText.h"

namespace {

std::vector<CoordKey> ParseText(const std::string& text) { return CoordinateFile::Parse(text.data(), text.size()); }

struct Rect {
    int32_t left, top, right, bottom;
    bool operator==(const Rect&) const = default;
};

Rect RectOf(const std::string& text) {
    CoordKey key;
    CoordinateFile::ReadRect(text, key);
    return {key.left, key.top, key.right, key.bottom};
}

}  // namespace

TEST(CoordinateFile, ReadsEveryChildOfPositionsInOrder) {
    const auto keys = ParseText(R"(<?xml version="1.0"?>
<positions>
  <key id="41" name="Esc" color="#FF0000FF" rect="10, 20, 30, 40"/>
  <!-- a comment is no key -->
  <anything name="no id"/>
  <k id=" -7xyz" rect="1,2,3,4" extra="ignored"/>
</positions>)");
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0].id, 41);
    EXPECT_EQ(keys[0].name, "Esc");
    EXPECT_EQ(keys[0].color, 0xFF0000FFu);
    EXPECT_EQ((Rect{keys[0].left, keys[0].top, keys[0].right, keys[0].bottom}), (Rect{10, 20, 40, 60}));
    EXPECT_EQ(keys[0].checked | keys[0].hover | keys[0].pressed, 0);
    EXPECT_EQ(keys[1].id, -1);
    EXPECT_EQ(keys[1].color, CoordinateFile::kDefaultColor);
    EXPECT_EQ((Rect{keys[1].left, keys[1].top, keys[1].right, keys[1].bottom}), (Rect{0, 0, 0, 0}));
    EXPECT_EQ(keys[2].id, -7);
    EXPECT_EQ(keys[2].name, "");
}

TEST(CoordinateFile, RectRules) {
    const struct {
        const char* text;
        Rect rect;
    } cases[] = {
        {"10, 20, 30, 40", {10, 20, 40, 60}},
        {"10,20", {10, 20, 10, 20}},
        {" 1 0 , 2 0 ,3,4", {10, 20, 13, 24}},
        {"-5,-5,10,10", {-5, -5, 5, 5}},
        {"1,2,3,4,5,6", {1, 2, 4, 6}},
        {"10;20,30,40", {10, 0, 10, 0}},      // reading stops at the first bad separator
        {"10,abc,30,40", {10, 0, 10, 0}},
        {"", {0, 0, 0, 0}},
        {"2147483647,0,100,99999999999", {2147483647, 0, 2147483647, 2147483647}},
        {"-2147483648,0,-10,0", {-2147483647 - 1, 0, -2147483647 - 1, 0}},
    };
    for (const auto& c : cases) EXPECT_EQ(RectOf(c.text), c.rect) << c.text;
}

TEST(CoordinateFile, ColorRules) {
    const uint32_t fallback = 0x12345678;
    const struct {
        const char* text;
        uint32_t color;
    } cases[] = {
        {"#FF0000FF", 0xFF0000FF},  // opaque red
        {"FF0000", 0x00FF0000},      // six digits: invisible
        {"0xff00ff00", 0xFF00FF00},
        {" # ff 00 00 ff ", 0xFF0000FF},
        {"1FFFFFFFF", 0xFFFFFFFF},
        {"-1", 0xFFFFFFFF},
        {"xyz", fallback},
        {"", fallback},
    };
    for (const auto& c : cases) EXPECT_EQ(CoordinateFile::ReadColor(c.text, fallback), c.color) << c.text;
    EXPECT_EQ(ParseText(R"(<positions><k/></positions>)")[0].color, CoordinateFile::kDefaultColor);
}

TEST(CoordinateFile, BadInputGivesNoKeys) {
    const char* cases[] = {
        "",
        "not xml at all",
        "<positions><k id='1'>",            // unterminated
        "<Positions><k id='1'/></Positions>",  // root name is case-sensitive
        "<root><positions><k id='1'/></positions></root>",
        "<positions/>",
    };
    for (const char* text : cases) EXPECT_TRUE(ParseText(text).empty()) << text;
    EXPECT_TRUE(CoordinateFile::Parse(nullptr, 0).empty());
    EXPECT_TRUE(CoordinateFile::Load("/nonexistent/folder/keyboard.xml").empty());
    EXPECT_TRUE(CoordinateFile::Load("/").empty());
}

TEST(CoordinateFile, LoadsUtf16WithAutomaticEncodingDetection) {
    const std::u16string text = u"\uFEFF<positions><k id=\"4\" name=\"\u00C4\" rect=\"1,1,2,2\"/></positions>";
    const auto keys = CoordinateFile::Parse(text.data(), text.size() * sizeof(char16_t));
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].name, "\xC3\x84");
}

TEST(CoordinateFile, ManyKeysLoad) {
    std::string text = "<positions>";
    for (int i = 0; i < 100000; ++i) text += "<k id=\"" + std::to_string(i) + "\" rect=\"0,0,1,1\"/>";
    text += "</positions>";
    const auto keys = ParseText(text);
    ASSERT_EQ(keys.size(), 100000u);
    EXPECT_EQ(keys.back().id, 99999);
}

TEST(CoordinateFile, OversizedOrSpecialFilesGiveNoKeys) {
    const std::string path = ::testing::TempDir() + "/coord_huge.xml";
    {
        std::ofstream out(path);
        out << "<positions><k id='1'/><!--";
        const std::string chunk(1 << 20, 'x');
        for (int i = 0; i < 17; ++i) out << chunk;
        out << "--></positions>";
    }
    EXPECT_TRUE(CoordinateFile::Load(path).empty());
    std::remove(path.c_str());

    // A pipe would block the reader until someone writes to it.
    const std::string fifo = ::testing::TempDir() + "/coord_fifo.xml";
    std::remove(fifo.c_str());
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_TRUE(CoordinateFile::Load(fifo).empty());
    std::remove(fifo.c_str());
}

TEST(CoordinateFile, PathFollowsTheApplicationFolder) {
    EXPECT_EQ(CoordinateFile::PathFor("/opt/app", "keyboard.xml"), "/opt/app/keyboard.xml");
    EXPECT_EQ(CoordinateFile::PathFor("/opt/app", "/keyboard.xml"), "/opt/app/keyboard.xml");
    EXPECT_EQ(CoordinateFile::PathFor("/opt/app", "\\data\\keyboard.xml"), "/opt/app/data/keyboard.xml");
}

TEST(CoordinateFile, LoadReadsAFile) {
    const std::string path = ::testing::TempDir() + "/coord_load.xml";
    std::ofstream(path) << "<positions><k id='30' name='1' rect='0,0,10,10'/></positions>";
    const auto keys = CoordinateFile::Load(path);
    std::remove(path.c_str());
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].id, 30);
}

// The shipped coordinate file is data the program depends on: it must name every key of the key
// code table once, by its usage, without overlaps.
TEST(ShippedCoordinateFile, HoldsEveryKeyOfTheTableOnce) {
    const auto keys = CoordinateFile::Load(KBDCONF_TEST_DATA "/../../res/keyboard.xml");
    ASSERT_EQ(keys.size(), static_cast<size_t>(kKeyCodeCount));
    for (const KeyCodeEntry& entry : KeyCodeTable) {
        int found = 0;
        for (const CoordKey& key : keys)
            if (key.id == entry.usage()) {
                ++found;
                EXPECT_EQ(key.name, entry.name);
            }
        EXPECT_EQ(found, 1) << entry.name;
    }
    for (size_t i = 0; i < keys.size(); ++i) {
        const CoordKey& a = keys[i];
        EXPECT_LT(a.left, a.right);
        EXPECT_LT(a.top, a.bottom);
        EXPECT_GE(a.left, 0);
        EXPECT_GE(a.top, 0);
        EXPECT_LE(a.right, 980);
        EXPECT_LE(a.bottom, 340);
        for (size_t j = i + 1; j < keys.size(); ++j) {
            const CoordKey& b = keys[j];
            const bool apart = a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top;
            EXPECT_TRUE(apart) << a.name << " overlaps " << b.name;
        }
    }
}

TEST(NumberText, ParseHexU32) {
    EXPECT_EQ(ParseHexU32("ff"), 0xFFu);
    EXPECT_EQ(ParseHexU32("  0x"), 0u);  // the 0 is the number
    EXPECT_EQ(ParseHexU32("FFFFFFFF"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseHexU32("-2"), 0xFFFFFFFEu);
    EXPECT_FALSE(ParseHexU32("g1").has_value());
    EXPECT_FALSE(ParseHexU32("").has_value());
}
