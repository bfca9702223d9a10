#pragma once
#include <iostream>

#include "app/DeviceIdentity.h"
#include "device/HidDevice.h"

// What a device-change message did to the connection; the main window shows it.
enum class DeviceChangeOutcome {
    Connected,   // the keyboard is present and the channel (re)opened on it
    OpenFailed,  // present, but HidDevice::Open failed
    Absent,      // no matching interface; the channel was left as it was
};

// Answers every device-change message by finding and opening the keyboard afresh. The message
// itself says nothing we use: any HID device coming or going lands here.
class DeviceChangeHandler {
public:
    DeviceChangeHandler(HidDevice& device, const DeviceIdentity& identity,
                        std::ostream& diagnostics = std::cerr);

    // A presence test outside the gate, then HidDevice::Open, which passes the gate and searches
    // again. An absent keyboard leaves an open (stale) handle open, so its transfers fail until
    // the keyboard returns.
    DeviceChangeOutcome OnDeviceChange();

private:
    HidDevice& device_;
    DeviceIdentity identity_;
    std::ostream& diagnostics_;
};

// "connected", "open failed", "absent", for diagnostic lines.
const char* DeviceChangeOutcomeName(DeviceChangeOutcome outcome);
