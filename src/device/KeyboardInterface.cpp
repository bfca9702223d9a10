#include "device/KeyboardInterface.h"

#include "device/HidPath.h"

namespace {
// The HID device interface class, written as the diagnostic lines have always shown it.
constexpr const char* kHidClassGuidText = "4d1e55b2-f16f-11cf-88cb001111000030";
}  // namespace

std::optional<HidInterfaceInfo> FindKeyboardInterface(HidBackend& backend, const DeviceIdentity& identity,
                                                      std::ostream& diagnostics) {
    diagnostics << "got classs: guid={" << kHidClassGuidText << "}\n";
    std::optional<HidInterfaceInfo> result;
    int index = 0;
    for (HidInterfaceInfo& info : backend.Enumerate()) {
        diagnostics << "enum interface: guid={" << kHidClassGuidText << "} index=" << index++ << "\n";
        const std::optional<HidInterfaceId> id = ParseHidPath(info.pathText);
        if (!id || !IdentityMatches(identity, *id)) continue;
        result = std::move(info);  // the last match wins
    }
    diagnostics.flush();
    return result;
}
