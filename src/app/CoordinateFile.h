#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/CoordKey.h"

// The keyboard picture's coordinate file: a root element `positions` whose children, whatever
// their element name, are the keys in order, each with the attributes id, name, color and
// rect="left,top,width,height". Reading never fails loudly: a missing, malformed or oversized
// (over 16 MiB) file, or anything but a regular file, gives no keys.
class CoordinateFile {
public:
    static constexpr uint32_t kDefaultColor = 0xFFFFFFFF;

    static std::vector<CoordKey> Load(const std::string& path, uint32_t defaultColor = kDefaultColor);
    static std::vector<CoordKey> Parse(const void* data, size_t size, uint32_t defaultColor = kDefaultColor);

    // Where the file named by a layout lives: the application folder, a separator, the value;
    // a value that already begins with a separator is appended as it is.
    static std::string PathFor(const std::string& applicationFolder, const std::string& crdxml);

    // The attribute readers, exposed for tests of their corner cases.
    static void ReadRect(std::string_view text, CoordKey& key);
    static uint32_t ReadColor(std::string_view text, uint32_t defaultColor);
};
