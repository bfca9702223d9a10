#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// The widget names shared by the code and the layouts, with their numeric ids.
// Each row is a NUL-padded field of 52 UTF-16 units and a signed 32-bit id; rows are sorted by
// name in ordinal (code-unit) order. Row 0 is "_name_start" (65535).
struct NamedIdRow {
    char16_t name[52];
    int32_t id;
};
static_assert(sizeof(NamedIdRow) == 52 * 2 + 4, "the row layout is fixed");

inline constexpr int kNamedIdCount = 127;
inline constexpr int32_t kNamedIdStart = 65535;
inline constexpr int32_t kNamedIdFirst = 65536;
inline constexpr int32_t kNamedIdLast = 65661;

const NamedIdRow* NamedIdTable();

// -1 when the name is not in the table.
int32_t NamedIdForName(std::string_view name);
// Empty when the id is not in the table.
std::string NamedIdName(int32_t id);
