#include "app/NamedIdTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

TEST(NamedIdTable, IsSortedOrdinallyWithStartRowFirst) {
    const NamedIdRow* rows = NamedIdTable();
    EXPECT_EQ(NamedIdName(65535), "_name_start");
    EXPECT_EQ(rows[0].id, 65535);
    std::set<int32_t> ids;
    for (int i = 0; i < kNamedIdCount; ++i) {
        ids.insert(rows[i].id);
        if (i == 0) continue;
        const std::u16string prev(rows[i - 1].name), cur(rows[i].name);
        EXPECT_LT(prev, cur);
    }
    EXPECT_EQ(ids.size(), 127u);
    EXPECT_EQ(*ids.rbegin(), kNamedIdLast);
    EXPECT_EQ(*std::next(ids.begin()), kNamedIdFirst);
}

TEST(NamedIdTable, KnowsTheIdsOfEveryWindow) {
    const std::pair<const char*, int32_t> cases[] = {
        {"title", 65536},          {"logo_link", 65544},         {"btnMin", 65545},
        {"btnDelete", 65580},      {"msgtitle", 65581},          {"button3rd", 65587},
        {"bar_brightness_parent", 65588}, {"bar_color0", 65596}, {"bar_color7", 65603},
        {"bar_color_parent_black", 65604}, {"bar_color00", 65605}, {"bar_color77", 65612},
        {"udef_area_parent", 65613}, {"udef_area1_color1", 65614}, {"udef_area3_color1", 65622},
        {"udef_area5_color1", 65630}, {"udef_area2_color1", 65638}, {"udef_area4_color8", 65653},
        {"udef_area6_color8", 65661}, {"btn_more", 65537},      {"btnOK", 65579},
    };
    for (const auto& [name, id] : cases) {
        EXPECT_EQ(NamedIdForName(name), id) << name;
        EXPECT_EQ(NamedIdName(id), name);
    }
    EXPECT_EQ(NamedIdForName("no_such_widget"), -1);
    EXPECT_EQ(NamedIdForName(""), -1);
    EXPECT_EQ(NamedIdForName(std::string(60, 'a')), -1);
    EXPECT_EQ(NamedIdName(65600 + 100), "");
}
