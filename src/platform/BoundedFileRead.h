#pragma once
#include <cstddef>
#include <string>

enum class FileReadResult {
    Ok,
    Missing,   // no such file, or its folder is gone
    Failed,    // not a regular file (folder, pipe, device), no permission, read error
    TooLarge,  // more than the caller's limit
};

// Reads a whole regular file into data, refusing anything above maxBytes. Never blocks on a pipe
// or device node and never reads more than maxBytes + 1 bytes, so an endless or huge file cannot
// exhaust memory. data is left empty unless Ok is returned.
FileReadResult ReadFileBounded(const std::string& path, size_t maxBytes, std::string& data);
