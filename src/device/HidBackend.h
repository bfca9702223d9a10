#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One top-level collection as the enumerator sees it.
struct HidInterfaceInfo {
    std::string pathText;  // Windows-form path text, matched by ParseHidPath/IdentityMatches
    std::string openPath;  // what HidBackend::OpenPath opens (the hidraw node on Linux)
};

// An open HID interface. Transfers return the number of bytes moved, or -1.
class HidHandle {
public:
    virtual ~HidHandle() = default;
    virtual int SendFeatureReport(const uint8_t* data, size_t length) = 0;
    virtual int GetFeatureReport(uint8_t* data, size_t length) = 0;
    // A number that identifies the handle in diagnostic lines.
    virtual uint32_t DiagnosticValue() const = 0;
};

// Where HID interfaces come from: hidapi for the real keyboard, the emulated keyboard for --demo
// and the tests.
class HidBackend {
public:
    virtual ~HidBackend() = default;
    virtual std::vector<HidInterfaceInfo> Enumerate() = 0;
    // nullptr when the interface cannot be opened (gone, no permission).
    virtual std::unique_ptr<HidHandle> OpenPath(const std::string& openPath) = 0;
};
