#pragma once
#include <string>
#include <vector>

#include "app/DeviceIdentity.h"
#include "app/KeyListEntry.h"

// The parsed config.xml: language, the keyboard's identity and the dialog's key lists.
// Read once at start-up; the program never writes the file.
class AppConfig {
public:
    bool isChinese = false;
    DeviceIdentity identity;
    std::vector<KeyListEntry> mediaKeys;
    std::vector<KeyListEntry> functionKeys;

    // The one process-wide object. The first call with a file name creates it from that file in
    // the application folder; later calls return it whatever they pass. Without a file name
    // before it exists: nullptr.
    static const AppConfig* instance(const char* fileName = nullptr);

    // Reads a file at the given path. A file that cannot be opened or parsed gives the defaults.
    static AppConfig Load(const std::string& path);
    // The same from text in memory.
    static AppConfig Parse(const void* data, size_t size);
};
