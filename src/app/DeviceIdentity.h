#pragma once
#include <cstdint>

// Which HID interface of the machine is the keyboard's command interface.
// vid/pid: 0 or negative means any. interface/subdevice: negative means any (0 is a real number).
struct DeviceIdentity {
    int32_t vid = 0;
    int32_t pid = 0;
    int32_t interface = 0;
    int32_t subdevice = 0;
};
