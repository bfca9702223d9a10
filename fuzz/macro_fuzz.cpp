// Macro files: whatever the bytes, loading either fails and leaves the library alone, or gives a
// library that saves and loads back to itself, and saving that again gives the same bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "macro/MacroLibrary.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MacroLibrary lib;
    lib.AddGroup("before");
    if (!lib.LoadMacroText(std::string(reinterpret_cast<const char*>(data), size))) {
        if (lib.GroupCount() != 1 || lib.Group(0)->name != "before") __builtin_trap();
        return 0;
    }
    const std::string text = lib.Serialize();
    MacroLibrary back;
    if (!back.LoadMacroText(text)) __builtin_trap();
    if (back.groups != lib.groups) __builtin_trap();
    if (back.Serialize() != text) __builtin_trap();
    return 0;
}
