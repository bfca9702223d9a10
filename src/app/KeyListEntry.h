#pragma once
#include <cstdint>
#include <string>
#include <vector>

// One media-key or system-function choice of the assignment dialog.
struct KeyListEntry {
    std::string name;            // UTF-8, never empty
    std::vector<int32_t> codes;  // in file order
};
