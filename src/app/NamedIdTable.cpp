#include "app/NamedIdTable.h"

#include <algorithm>
#include <array>

namespace {

struct Source {
    const char* name;
    int32_t id;
};

// In id order, grouped by window: main window, assignment dialog, message box, lighting panel.
// The user-defined colour areas run in the order 1, 3, 5, 2, 4, 6.
// clang-format off
constexpr Source kNames[] = {
    {"_name_start", kNamedIdStart},
    {"title", 65536},
    {"btn_more", 65537},
    {"btn_min", 65538},
    {"img_keyboard", 65539},
    {"cmb_led_mode", 65540},
    {"btn_restore_factory", 65541},
    {"cmb_profile", 65542},
    {"version", 65543},
    {"logo_link", 65544},
    {"btnMin", 65545},
    {"btnRestore", 65546},
    {"btnCancel", 65547},
    {"text_recording_keys", 65548},
    {"tab_macro_mode_selection", 65549},
    {"groupDel", 65550},
    {"groupAdd", 65551},
    {"groupImport", 65552},
    {"groupExport", 65553},
    {"item_up", 65554},
    {"item_down", 65555},
    {"item_delete", 65556},
    {"item_clear", 65557},
    {"macro_group", 65558},
    {"group_name", 65559},
    {"key_info", 65560},
    {"col1", 65561},
    {"key_code", 65562},
    {"col2", 65563},
    {"key_name", 65564},
    {"col3", 65565},
    {"key_state", 65566},
    {"col4", 65567},
    {"key_delay", 65568},
    {"edit_macro_repeat_times", 65569},
    {"edit_macro_delay_time", 65570},
    {"chk_macro_realy_delay", 65571},
    {"chk_macro_fixed_delay", 65572},
    {"chk_macro_no_delay", 65573},
    {"chk_macro_record", 65574},
    {"chk_single_record", 65575},
    {"edit_single_key", 65576},
    {"cmb_media_keys", 65577},
    {"cmb_function_keys", 65578},
    {"btnOK", 65579},
    {"btnDelete", 65580},
    {"msgtitle", 65581},
    {"msgicon", 65582},
    {"msgtext", 65583},
    {"btnSwitch", 65584},
    {"button1st", 65585},
    {"button2nd", 65586},
    {"button3rd", 65587},
    {"bar_brightness_parent", 65588},
    {"bar_brightness", 65589},
    {"bar_speed_parent", 65590},
    {"bar_speed", 65591},
    {"radio_direction_parent", 65592},
    {"radio_direction_left", 65593},
    {"radio_direction_right", 65594},
    {"bar_color_parent", 65595},
    {"bar_color0", 65596},
    {"bar_color1", 65597},
    {"bar_color2", 65598},
    {"bar_color3", 65599},
    {"bar_color4", 65600},
    {"bar_color5", 65601},
    {"bar_color6", 65602},
    {"bar_color7", 65603},
    {"bar_color_parent_black", 65604},
    {"bar_color00", 65605},
    {"bar_color11", 65606},
    {"bar_color22", 65607},
    {"bar_color33", 65608},
    {"bar_color44", 65609},
    {"bar_color55", 65610},
    {"bar_color66", 65611},
    {"bar_color77", 65612},
    {"udef_area_parent", 65613},
    {"udef_area1_color1", 65614},
    {"udef_area1_color2", 65615},
    {"udef_area1_color3", 65616},
    {"udef_area1_color4", 65617},
    {"udef_area1_color5", 65618},
    {"udef_area1_color6", 65619},
    {"udef_area1_color7", 65620},
    {"udef_area1_color8", 65621},
    {"udef_area3_color1", 65622},
    {"udef_area3_color2", 65623},
    {"udef_area3_color3", 65624},
    {"udef_area3_color4", 65625},
    {"udef_area3_color5", 65626},
    {"udef_area3_color6", 65627},
    {"udef_area3_color7", 65628},
    {"udef_area3_color8", 65629},
    {"udef_area5_color1", 65630},
    {"udef_area5_color2", 65631},
    {"udef_area5_color3", 65632},
    {"udef_area5_color4", 65633},
    {"udef_area5_color5", 65634},
    {"udef_area5_color6", 65635},
    {"udef_area5_color7", 65636},
    {"udef_area5_color8", 65637},
    {"udef_area2_color1", 65638},
    {"udef_area2_color2", 65639},
    {"udef_area2_color3", 65640},
    {"udef_area2_color4", 65641},
    {"udef_area2_color5", 65642},
    {"udef_area2_color6", 65643},
    {"udef_area2_color7", 65644},
    {"udef_area2_color8", 65645},
    {"udef_area4_color1", 65646},
    {"udef_area4_color2", 65647},
    {"udef_area4_color3", 65648},
    {"udef_area4_color4", 65649},
    {"udef_area4_color5", 65650},
    {"udef_area4_color6", 65651},
    {"udef_area4_color7", 65652},
    {"udef_area4_color8", 65653},
    {"udef_area6_color1", 65654},
    {"udef_area6_color2", 65655},
    {"udef_area6_color3", 65656},
    {"udef_area6_color4", 65657},
    {"udef_area6_color5", 65658},
    {"udef_area6_color6", 65659},
    {"udef_area6_color7", 65660},
    {"udef_area6_color8", 65661},
};
// clang-format on
static_assert(std::size(kNames) == kNamedIdCount);

constexpr bool LessOrdinal(const NamedIdRow& a, const NamedIdRow& b) {
    for (int i = 0; i < 52; ++i) {
        if (a.name[i] != b.name[i]) return a.name[i] < b.name[i];
        if (a.name[i] == 0) return false;
    }
    return false;
}

constexpr std::array<NamedIdRow, kNamedIdCount> BuildTable() {
    std::array<NamedIdRow, kNamedIdCount> rows{};
    for (int r = 0; r < kNamedIdCount; ++r) {
        for (int i = 0; kNames[r].name[i] != 0; ++i) rows[r].name[i] = static_cast<char16_t>(kNames[r].name[i]);
        rows[r].id = kNames[r].id;
    }
    std::sort(rows.begin(), rows.end(), LessOrdinal);
    return rows;
}

constexpr std::array<NamedIdRow, kNamedIdCount> kTable = BuildTable();
static_assert(kTable[0].id == kNamedIdStart, "_name_start sorts first");

bool NameEquals(const NamedIdRow& row, std::string_view name) {
    if (name.size() >= 52) return false;
    for (size_t i = 0; i < name.size(); ++i)
        if (row.name[i] != static_cast<unsigned char>(name[i])) return false;
    return row.name[name.size()] == 0;
}

}  // namespace

const NamedIdRow* NamedIdTable() { return kTable.data(); }

int32_t NamedIdForName(std::string_view name) {
    for (const NamedIdRow& row : kTable)
        if (NameEquals(row, name)) return row.id;
    return -1;
}

std::string NamedIdName(int32_t id) {
    for (const NamedIdRow& row : kTable) {
        if (row.id != id) continue;
        std::string out;
        for (int i = 0; i < 52 && row.name[i]; ++i) out += static_cast<char>(row.name[i]);
        return out;
    }
    return {};
}
