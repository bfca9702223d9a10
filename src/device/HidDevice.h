#pragma once
#include <array>
#include <cstdint>
#include <iostream>
#include <memory>

#include "app/DeviceIdentity.h"
#include "device/DeviceGate.h"
#include "device/HidBackend.h"

// The program's one connection to the keyboard: a handle on its command interface, through
// which every command travels as an 8-byte feature report. Every operation first passes the
// cross-process gate; the transfer itself runs outside it.
class HidDevice {
public:
    static constexpr size_t kReportSize = 8;
    using Report = std::array<uint8_t, kReportSize>;

    HidDevice(HidBackend& backend, DeviceGate& gate, std::ostream& diagnostics = std::cerr);
    ~HidDevice();
    HidDevice(const HidDevice&) = delete;
    HidDevice& operator=(const HidDevice&) = delete;

    // Finds the interface and (re)opens it. When nothing is found the channel is left as it was,
    // so an open (perhaps stale) handle stays open.
    bool Open(const DeviceIdentity& identity);
    void Close();
    bool IsOpen() const { return handle_ != nullptr; }

    // false when closed, when the gate could not be passed, or when the transfer did not move
    // exactly 8 bytes. GetFeature expects the report id in byte 0 and fills all 8 bytes.
    bool SetFeature(const Report& report);
    bool GetFeature(Report& buffer);

    // false only when the bounded wait expired.
    bool WaitForDeviceMutex();

    HidBackend& backend() { return backend_; }

private:
    HidBackend& backend_;
    DeviceGate& gate_;
    std::ostream& diagnostics_;
    std::unique_ptr<HidHandle> handle_;
};
