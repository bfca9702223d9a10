#pragma once
#include <QString>
#include <cstdint>

// What is printed on a keycap. Dual legends carry the shifted symbol on top; keypad keys carry
// their navigation meaning small underneath.
struct KeyLegend {
    enum class Style { Letter, Dual, Word, Function, Keypad, Glyph, None };
    Style style = Style::Word;
    QString main;
    QString secondary;

    // From the key's usage; unknown keys fall back to their name.
    static KeyLegend ForKey(int32_t usage, const QString& name);
};
