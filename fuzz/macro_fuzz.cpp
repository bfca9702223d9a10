// Macro files: whatever the bytes, loading either fails and leaves the library alone, or gives a
// library that saves and loads back to itself (groups without a name aside, which are not kept).
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
    MacroLibrary named;
    for (const MacroGroup& g : lib.groups)
        if (!g.name.empty()) named.groups.push_back(g);

    const std::string text = lib.Serialize();
    MacroLibrary back;
    if (!back.LoadMacroText(text)) __builtin_trap();
    if (back.groups != named.groups) __builtin_trap();
    if (back.Serialize() != named.Serialize()) __builtin_trap();
    return 0;
}
