#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

// Number conversions that behave like the C library's wcstol(…, 16) and _wtol, written out so
// that no locale can change them.

// Leading white space, optional sign, optional 0x/0X, hex digits of either case; stops at the
// first other character; no digits gives 0; clamps to the 32-bit range.
int32_t ParseHex32(std::string_view text);

// Leading white space, optional sign, decimal digits; stops at the first other character; no
// digits gives 0. Values beyond 32 bits clamp.
int32_t ParseDecimal32(std::string_view text);

// Like wcstoul(…, 16) with a 32-bit unsigned long: leading white space, optional sign (a minus
// negates modulo 2^32), optional 0x/0X, hex digits; values beyond 32 bits give 0xFFFFFFFF.
// Empty when no digit is found.
std::optional<uint32_t> ParseHexU32(std::string_view text);
