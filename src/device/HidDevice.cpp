#include "device/HidDevice.h"

#include <cstdio>

#include "device/KeyboardInterface.h"

HidDevice::HidDevice(HidBackend& backend, DeviceGate& gate, std::ostream& diagnostics)
    : backend_(backend), gate_(gate), diagnostics_(diagnostics) {}

HidDevice::~HidDevice() = default;

bool HidDevice::WaitForDeviceMutex() { return gate_.Pass(); }

bool HidDevice::Open(const DeviceIdentity& identity) {
    if (!WaitForDeviceMutex()) return false;
    std::optional<HidInterfaceInfo> found = FindKeyboardInterface(backend_, identity, diagnostics_);
    if (!found) return false;
    handle_.reset();
    handle_ = backend_.OpenPath(found->openPath);
    char line[32];
    std::snprintf(line, sizeof line, "open dev: %08x\n", handle_ ? handle_->DiagnosticValue() : 0xFFFFFFFFu);
    diagnostics_ << line << std::flush;
    return handle_ != nullptr;
}

void HidDevice::Close() {
    // Closing must not depend on the gate: a handle is ours to drop whatever others do.
    WaitForDeviceMutex();
    handle_.reset();
}

bool HidDevice::SetFeature(const Report& report) {
    if (!WaitForDeviceMutex() || !handle_) return false;
    return handle_->SendFeatureReport(report.data(), report.size()) == static_cast<int>(kReportSize);
}

bool HidDevice::GetFeature(Report& buffer) {
    if (!WaitForDeviceMutex() || !handle_) return false;
    return handle_->GetFeatureReport(buffer.data(), buffer.size()) == static_cast<int>(kReportSize);
}
