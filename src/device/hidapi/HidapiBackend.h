#pragma once
#include <string>
#include <vector>

#include "device/HidBackend.h"

// One entry of hid_enumerate, reduced to what the path text needs.
struct HidapiEntry {
    std::string path;  // the hidraw node, shared by all collections of one interface
    unsigned short vendorId = 0;
    unsigned short productId = 0;
    int interfaceNumber = -1;  // -1 when there is no USB interface (virtual devices)
};

// Writes each entry's path text in the Windows form: hid#vid_%04x&pid_%04x, then &mi_%02x when
// the interface number is known, then &col%02x (1-based position on its node) when the node has
// more than one collection. An identity written for the Windows program then selects the same
// collection here.
std::vector<HidInterfaceInfo> DescribeHidapiEntries(const std::vector<HidapiEntry>& entries);

// The real keyboard through hidapi's hidraw backend.
class HidapiBackend : public HidBackend {
public:
    HidapiBackend();
    ~HidapiBackend() override;
    std::vector<HidInterfaceInfo> Enumerate() override;
    std::unique_ptr<HidHandle> OpenPath(const std::string& openPath) override;
};
