#pragma once

// The cross-process gate "HidDevice": every device access first waits until no other process
// holds it, then lets go at once. Implementations bound the wait.
class DeviceGate {
public:
    virtual ~DeviceGate() = default;
    // true when the gate was passed; false when the wait expired (the access must then fail).
    virtual bool Pass() = 0;
};
