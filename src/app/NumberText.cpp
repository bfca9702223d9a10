#include "app/NumberText.h"

#include <limits>

namespace {

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

int DigitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9') v = c - '0';
    else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    return v < base ? v : -1;
}

struct Scanned {
    bool negative = false;
    bool anyDigit = false;
    int64_t magnitude = 0;  // stops growing once it passes kLimit
};

constexpr int64_t kLimit = int64_t{std::numeric_limits<uint32_t>::max()} + 1;

Scanned Scan(std::string_view text, int base) {
    Scanned out;
    size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        out.negative = text[i] == '-';
        ++i;
    }
    // "0x" counts as a prefix only when a hex digit follows; otherwise the "0" alone is the number.
    if (base == 16 && i + 2 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        DigitValue(text[i + 2], 16) >= 0) {
        i += 2;
    }
    // Accumulate in 64 bits and stop growing once past the 32-bit range: the result only clamps.
    for (; i < text.size(); ++i) {
        const int d = DigitValue(text[i], base);
        if (d < 0) break;
        out.anyDigit = true;
        if (out.magnitude <= kLimit) out.magnitude = out.magnitude * base + d;
    }
    return out;
}

int32_t ParseClamped(std::string_view text, int base) {
    const Scanned s = Scan(text, base);
    const int64_t value = s.negative ? -s.magnitude : s.magnitude;
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

}  // namespace

int32_t ParseHex32(std::string_view text) { return ParseClamped(text, 16); }

int32_t ParseDecimal32(std::string_view text) { return ParseClamped(text, 10); }

std::optional<uint32_t> ParseHexU32(std::string_view text) {
    const Scanned s = Scan(text, 16);
    if (!s.anyDigit) return std::nullopt;
    if (s.magnitude > std::numeric_limits<uint32_t>::max()) return std::numeric_limits<uint32_t>::max();
    const auto value = static_cast<uint32_t>(s.magnitude);
    return s.negative ? static_cast<uint32_t>(0u - value) : value;
}
