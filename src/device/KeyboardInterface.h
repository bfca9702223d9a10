#pragma once
#include <optional>
#include <ostream>

#include "app/DeviceIdentity.h"
#include "device/HidBackend.h"

// Enumerates the present HID interfaces and returns the last one that matches the identity.
// Writes the enumeration's diagnostic lines to `diagnostics`.
std::optional<HidInterfaceInfo> FindKeyboardInterface(HidBackend& backend, const DeviceIdentity& identity,
                                                      std::ostream& diagnostics);
