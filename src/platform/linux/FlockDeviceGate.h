#pragma once
#include <chrono>
#include <string>

#include "device/DeviceGate.h"

// The gate "HidDevice" as an exclusive flock on a file in the user's runtime folder: per user
// session, and freed by the kernel when a holder dies.
//
// The wait is bounded (kDefaultBound). After one wait has expired, later waits only try once
// until the gate is passed again: a holder that never lets go must not turn a 28-report upload
// into minutes of a frozen window.
class FlockDeviceGate : public DeviceGate {
public:
    static constexpr std::chrono::milliseconds kDefaultBound{2000};

    // An empty path means the file "HidDevice" in RuntimeFolder().
    explicit FlockDeviceGate(std::string path = {}, std::chrono::milliseconds bound = kDefaultBound);
    bool Pass() override;

    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::chrono::milliseconds bound_;
    bool stuck_ = false;
};
