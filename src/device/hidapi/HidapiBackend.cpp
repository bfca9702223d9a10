#include "device/hidapi/HidapiBackend.h"

#include <hidapi.h>

#include <cstdio>
#include <map>

namespace {

class HidapiHandle : public HidHandle {
public:
    explicit HidapiHandle(hid_device* device) : device_(device) {}
    ~HidapiHandle() override { hid_close(device_); }
    int SendFeatureReport(const uint8_t* data, size_t length) override {
        return hid_send_feature_report(device_, data, length);
    }
    int GetFeatureReport(uint8_t* data, size_t length) override {
        return hid_get_feature_report(device_, data, length);
    }
    uint32_t DiagnosticValue() const override {
        return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(device_));
    }

private:
    hid_device* device_;
};

}  // namespace

std::vector<HidInterfaceInfo> DescribeHidapiEntries(const std::vector<HidapiEntry>& entries) {
    std::map<std::string, int> perNode;
    for (const HidapiEntry& e : entries) ++perNode[e.path];
    std::map<std::string, int> seen;
    std::vector<HidInterfaceInfo> out;
    out.reserve(entries.size());
    for (const HidapiEntry& e : entries) {
        char text[64];
        int n = std::snprintf(text, sizeof text, "hid#vid_%04x&pid_%04x", e.vendorId, e.productId);
        if (e.interfaceNumber >= 0)
            n += std::snprintf(text + n, sizeof text - n, "&mi_%02x", static_cast<unsigned>(e.interfaceNumber) & 0xFF);
        const int position = ++seen[e.path];
        if (perNode[e.path] > 1) std::snprintf(text + n, sizeof text - n, "&col%02x", position & 0xFF);
        out.push_back({std::string("\\\\?\\") + text + "#" + e.path, e.path});
    }
    return out;
}

HidapiBackend::HidapiBackend() { hid_init(); }

HidapiBackend::~HidapiBackend() { hid_exit(); }

std::vector<HidInterfaceInfo> HidapiBackend::Enumerate() {
    std::vector<HidapiEntry> entries;
    hid_device_info* list = hid_enumerate(0, 0);
    for (hid_device_info* d = list; d; d = d->next) {
        if (!d->path) continue;
        entries.push_back({d->path, d->vendor_id, d->product_id, d->interface_number});
    }
    hid_free_enumeration(list);
    return DescribeHidapiEntries(entries);
}

std::unique_ptr<HidHandle> HidapiBackend::OpenPath(const std::string& openPath) {
    hid_device* device = hid_open_path(openPath.c_str());
    if (!device) return nullptr;
    return std::make_unique<HidapiHandle>(device);
}
