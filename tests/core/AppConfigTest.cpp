#include "app/AppConfig.h"
#include "app/NumberText.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

AppConfig ParseText(const std::string& text) { return AppConfig::Parse(text.data(), text.size()); }

struct NumberCase {
    const char* text;
    int32_t hex;
    int32_t decimal;
};

TEST(NumberText, ConvertsLikeTheCLibrary) {
    const NumberCase cases[] = {
        {"1a2c", 0x1A2C, 1},         {"1A2C", 0x1A2C, 1},         {"0x1a2c", 0x1A2C, 0},
        {"0X1A2C", 0x1A2C, 0},       {"  -1", -1, -1},            {"+10", 0x10, 10},
        {"", 0, 0},                  {"zz", 0, 0},                {"0x", 0, 0},
        {"0xg", 0, 0},               {"12ab!", 0x12AB, 12},       {"-0x10", -16, 0},
        {"ffffffffff", INT32_MAX, 0}, {"-ffffffffff", INT32_MIN, 0}, {"99999999999", INT32_MAX, INT32_MAX},
        {"-99999999999", INT32_MIN, INT32_MIN}, {"\t\n7", 7, 7},     {"- 5", 0, 0},
    };
    for (const NumberCase& c : cases) {
        EXPECT_EQ(ParseHex32(c.text), c.hex) << c.text;
        EXPECT_EQ(ParseDecimal32(c.text), c.decimal) << c.text;
    }
}

TEST(AppConfig, LanguageIsChineseOnlyForExactCn) {
    const std::pair<const char*, bool> cases[] = {
        {"<local language=\"cn\"/>", true},   {"<local language=\"CN\"/>", false},
        {"<local language=\" cn\"/>", false}, {"<local language=\"zh\"/>", false},
        {"<local/>", false},                  {"<usb vid=\"1\"/>", false},
    };
    for (const auto& [text, chinese] : cases) EXPECT_EQ(ParseText(text).isChinese, chinese) << text;
}

TEST(AppConfig, ReadsTheIdentityInHex) {
    const AppConfig c = ParseText(R"(<usb vid="1a2c" pid="0X9C01" interface="-1" subdevice="0x03"/>)");
    EXPECT_EQ(c.identity.vid, 0x1A2C);
    EXPECT_EQ(c.identity.pid, 0x9C01);
    EXPECT_EQ(c.identity.interface, -1);
    EXPECT_EQ(c.identity.subdevice, 3);

    // A missing attribute is 0, which for interface means "interface 0", not "any".
    const AppConfig missing = ParseText(R"(<usb vid="1A2C"/>)");
    EXPECT_EQ(missing.identity.interface, 0);
    EXPECT_EQ(missing.identity.subdevice, 0);
    EXPECT_EQ(missing.identity.pid, 0);
}

TEST(AppConfig, ReadsKeyListsInDocumentOrder) {
    const AppConfig c = ParseText(R"(<?xml version="1.0"?>
<mediakey>
  <item name="Play" code="1, 2,,3"/>
  <item code="9"/>
  <item name="" code="9"/>
  <other name="Hex" code="0x10"/>
  <item name="Empty" code=""/>
  <item name="None"/>
  <x name="Edges" code=",-4,5x,,"/>
</mediakey>
<functkey><f name="Copy" code="224,6"/></functkey>
<functkey><f name="Second list is not read"/></functkey>)");
    ASSERT_EQ(c.mediaKeys.size(), 5u);
    const std::pair<const char*, std::vector<int32_t>> expected[] = {
        {"Play", {1, 2, 3}}, {"Hex", {0}}, {"Empty", {}}, {"None", {}}, {"Edges", {-4, 5}}};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(c.mediaKeys[i].name, expected[i].first);
        EXPECT_EQ(c.mediaKeys[i].codes, expected[i].second) << expected[i].first;
    }
    ASSERT_EQ(c.functionKeys.size(), 1u);
    EXPECT_EQ(c.functionKeys[0].codes, (std::vector<int32_t>{224, 6}));
}

TEST(AppConfig, TabsAndLineBreaksInCodesBecomeSpaces) {
    const AppConfig c = ParseText("<functkey><k name=\"K\" code=\"1,\t2,\n3\"/></functkey>");
    ASSERT_EQ(c.functionKeys.size(), 1u);
    EXPECT_EQ(c.functionKeys[0].codes, (std::vector<int32_t>{1, 2, 3}));
}

TEST(AppConfig, BadDocumentsGiveDefaults) {
    const std::string deep = std::string(200000, '<') + "a>";
    std::string nested;
    for (int i = 0; i < 100000; ++i) nested += "<a>";
    const std::string cases[] = {
        "",
        "not xml at all",
        "<config><local language=\"cn\"/><usb vid=\"1\"/></config>",  // wrapped in one root
        std::string("\x00\xff\xfe\x01\x02", 5),
        deep,
        nested + "<local language=\"cn\"/>",
        "<local language=\"cn\"",
    };
    for (const std::string& text : cases) {
        const AppConfig c = ParseText(text);
        EXPECT_FALSE(c.isChinese);
        EXPECT_EQ(c.identity.vid, 0);
        EXPECT_EQ(c.identity.interface, 0);
        EXPECT_TRUE(c.mediaKeys.empty());
    }
}

TEST(AppConfig, DetectsUtf16Encoding) {
    const std::u16string text = u"\xFEFF<local language=\"cn\"/><mediakey><k name=\"音量\" code=\"233\"/></mediakey>";
    const AppConfig c = AppConfig::Parse(text.data(), text.size() * 2);
    EXPECT_TRUE(c.isChinese);
    ASSERT_EQ(c.mediaKeys.size(), 1u);
    EXPECT_EQ(c.mediaKeys[0].name, "音量");
}

TEST(AppConfig, LoadsFromFileAndMissingFileGivesDefaults) {
    const std::string path = ::testing::TempDir() + "kbdconf_config_test.xml";
    std::ofstream(path) << "<local language=\"cn\"/>\n<usb vid=\"1a2c\" pid=\"9c01\" interface=\"1\" subdevice=\"-1\"/>\n";
    const AppConfig c = AppConfig::Load(path);
    EXPECT_TRUE(c.isChinese);
    EXPECT_EQ(c.identity.interface, 1);
    std::remove(path.c_str());
    EXPECT_FALSE(AppConfig::Load(path).isChinese);
}

TEST(AppConfig, InstanceIsCreatedOnceByTheFirstNamedCall) {
    EXPECT_EQ(AppConfig::instance(), nullptr);
    const AppConfig* first = AppConfig::instance("no-such-config.xml");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(AppConfig::instance("config.xml"), first);
    EXPECT_EQ(AppConfig::instance(), first);
}

}  // namespace

namespace {

TEST(AppConfig, OversizedOrSpecialFilesGiveDefaults) {
    const std::string path = ::testing::TempDir() + "kbdconf_config_huge.xml";
    {
        std::ofstream out(path);
        out << "<local language=\"cn\"/>\n<!--";
        const std::string chunk(1 << 20, 'x');
        for (int i = 0; i < 17; ++i) out << chunk;
        out << "-->\n";
    }
    EXPECT_FALSE(AppConfig::Load(path).isChinese);
    std::remove(path.c_str());
    EXPECT_FALSE(AppConfig::Load("/dev/zero").isChinese) << "a device is not read";
    EXPECT_FALSE(AppConfig::Load(::testing::TempDir()).isChinese) << "nor a folder";
}

}  // namespace
