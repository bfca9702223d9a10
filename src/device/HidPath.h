#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

#include "app/DeviceIdentity.h"

// What an interface's path text says about it (Windows form, "hid#vid_XXXX&pid_XXXX[&mi_XX][&colXX]").
struct HidInterfaceId {
    int32_t vid = 0;
    int32_t pid = 0;
    int32_t interface = -1;   // -1 when the path has no "&mi_"
    int32_t collection = -1;  // -1 when the path has no "&col"
};

// Searches the path for the first occurrence of the pattern (case-sensitive). Nothing when absent.
std::optional<HidInterfaceId> ParseHidPath(std::string_view path);

// vid/pid: wanted 0 or negative matches any; interface/subdevice: wanted negative matches any.
bool IdentityMatches(const DeviceIdentity& wanted, const HidInterfaceId& found);
