#include "KeyLegend.h"

#include <map>

KeyLegend KeyLegend::ForKey(int32_t usage, const QString& name) {
    using S = Style;
    static const std::map<int32_t, KeyLegend> legends = {
        {0x1E, {S::Dual, "1", "!"}}, {0x1F, {S::Dual, "2", "@"}}, {0x20, {S::Dual, "3", "#"}},
        {0x21, {S::Dual, "4", "$"}}, {0x22, {S::Dual, "5", "%"}}, {0x23, {S::Dual, "6", "^"}},
        {0x24, {S::Dual, "7", "&"}}, {0x25, {S::Dual, "8", "*"}}, {0x26, {S::Dual, "9", "("}},
        {0x27, {S::Dual, "0", ")"}}, {0x35, {S::Dual, "`", "~"}}, {0x2D, {S::Dual, "-", "_"}},
        {0x2E, {S::Dual, "=", "+"}}, {0x2F, {S::Dual, "[", "{"}}, {0x30, {S::Dual, "]", "}"}},
        {0x31, {S::Dual, "\\", "|"}}, {0x33, {S::Dual, ";", ":"}}, {0x34, {S::Dual, "'", "\""}},
        {0x36, {S::Dual, ",", "<"}}, {0x37, {S::Dual, ".", ">"}}, {0x38, {S::Dual, "/", "?"}},
        {0x29, {S::Word, "Esc", ""}}, {0x46, {S::Word, "PrtSc", ""}}, {0x47, {S::Word, "ScrLk", ""}},
        {0x48, {S::Word, "Pause", ""}}, {0x49, {S::Word, "Ins", ""}}, {0x4A, {S::Word, "Home", ""}},
        {0x4B, {S::Word, "PgUp", ""}}, {0x4C, {S::Word, "Del", ""}}, {0x4D, {S::Word, "End", ""}},
        {0x4E, {S::Word, "PgDn", ""}}, {0x2A, {S::Word, "Backspace", ""}}, {0x2B, {S::Word, "Tab", ""}},
        {0x39, {S::Word, "Caps Lock", ""}}, {0x28, {S::Word, "Enter", ""}}, {0xE1, {S::Word, "Shift", ""}},
        {0xE5, {S::Word, "Shift", ""}}, {0xE0, {S::Word, "Ctrl", ""}}, {0xE4, {S::Word, "Ctrl", ""}},
        {0xE2, {S::Word, "Alt", ""}}, {0xE6, {S::Word, "Alt", ""}}, {0xE3, {S::Word, "Win", ""}},
        {0xE7, {S::Word, "Win", ""}}, {0x65, {S::Word, "Menu", ""}}, {0x2C, {S::None, "", ""}},
        {0x52, {S::Glyph, QString(QChar(0x2191)), ""}}, {0x51, {S::Glyph, QString(QChar(0x2193)), ""}},
        {0x50, {S::Glyph, QString(QChar(0x2190)), ""}}, {0x4F, {S::Glyph, QString(QChar(0x2192)), ""}},
        {0x53, {S::Word, "Num", ""}}, {0x54, {S::Letter, "/", ""}}, {0x55, {S::Letter, "*", ""}},
        {0x56, {S::Letter, QString(QChar(0x2212)), ""}}, {0x57, {S::Letter, "+", ""}},
        {0x58, {S::Word, "Enter", ""}}, {0x59, {S::Keypad, "1", "End"}}, {0x5A, {S::Keypad, "2", QString(QChar(0x2193))}},
        {0x5B, {S::Keypad, "3", "PgDn"}}, {0x5C, {S::Keypad, "4", QString(QChar(0x2190))}},
        {0x5D, {S::Keypad, "5", ""}}, {0x5E, {S::Keypad, "6", QString(QChar(0x2192))}},
        {0x5F, {S::Keypad, "7", "Home"}}, {0x60, {S::Keypad, "8", QString(QChar(0x2191))}},
        {0x61, {S::Keypad, "9", "PgUp"}}, {0x62, {S::Keypad, "0", "Ins"}}, {0x63, {S::Keypad, ".", "Del"}},
    };
    if (const auto it = legends.find(usage); it != legends.end()) return it->second;
    if (usage >= 0x3A && usage <= 0x45) return {S::Function, name, ""};
    if (usage >= 0x04 && usage <= 0x1D) return {S::Letter, name, ""};
    return {S::Word, name, ""};
}
