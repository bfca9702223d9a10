// The keyboard picture's coordinate file: whatever the bytes, loading gives a key list without
// crashing or hanging, and every rectangle is well formed arithmetic (no overflowed edges).
#include <cstddef>
#include <cstdint>

#include "app/CoordinateFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (const CoordKey& key : CoordinateFile::Parse(data, size)) {
        if (key.checked || key.hover || key.pressed) __builtin_trap();  // flags start clear
        // Edges come from left + width: a negative width may put right left of left, but never
        // wraps past the 32-bit range.
        if (key.Contains(key.right, key.bottom)) __builtin_trap();
    }
    return 0;
}
