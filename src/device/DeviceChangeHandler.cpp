#include "device/DeviceChangeHandler.h"

#include "device/KeyboardInterface.h"

DeviceChangeHandler::DeviceChangeHandler(HidDevice& device, const DeviceIdentity& identity,
                                         std::ostream& diagnostics)
    : device_(device), identity_(identity), diagnostics_(diagnostics) {}

DeviceChangeOutcome DeviceChangeHandler::OnDeviceChange() {
    if (!FindKeyboardInterface(device_.backend(), identity_, diagnostics_))
        return DeviceChangeOutcome::Absent;
    return device_.Open(identity_) ? DeviceChangeOutcome::Connected : DeviceChangeOutcome::OpenFailed;
}

const char* DeviceChangeOutcomeName(DeviceChangeOutcome outcome) {
    switch (outcome) {
        case DeviceChangeOutcome::Connected: return "connected";
        case DeviceChangeOutcome::OpenFailed: return "open failed";
        case DeviceChangeOutcome::Absent: return "absent";
    }
    return "?";
}
