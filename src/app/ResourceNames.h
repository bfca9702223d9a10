#pragma once
#include <cstddef>

// Every resource the folder uires must provide, as type:name, mirroring its index uires.idx.
// The code asks directly only for a few of them; the layouts reference the rest.
inline constexpr size_t kResourceNameCount = 52;
extern const char* const ResourceNames[kResourceNameCount];
