#pragma once
#include <string>
#include <vector>

struct udev;
struct udev_monitor;

// One hidraw event as it was announced.
struct DeviceChange {
    std::string action;   // "add", "remove", "change", ...
    std::string devnode;  // "/dev/hidraw3"; empty when the event carries none
};

// Tells the program that HID devices came or went: the stand-in for the device-change broadcast.
// Every event is one device-change message.
//
// Where a udev daemon runs, it listens to udev's announcements: they come once the rules have
// granted access to the node, and an open tried on the kernel's earlier announcement could be
// refused and show a false "Failed to open USB". Without a daemon (containers, a bare test
// guest) udev says nothing, so it listens to the kernel's netlink source instead.
class UdevDeviceWatcher {
public:
    // `source` "udev" or "kernel"; nullptr picks as above.
    explicit UdevDeviceWatcher(const char* source = nullptr);
    ~UdevDeviceWatcher();
    UdevDeviceWatcher(const UdevDeviceWatcher&) = delete;
    UdevDeviceWatcher& operator=(const UdevDeviceWatcher&) = delete;

    // false when the netlink source could not be had; fd() is then -1 and Drain() finds nothing.
    bool IsValid() const { return monitor_ != nullptr; }
    // Readable while events are pending; the caller's event loop watches it. Owned by the watcher.
    int fd() const;
    // "udev" or "kernel".
    const std::string& source() const { return source_; }

    // Takes every pending hidraw event in arrival order without blocking. Empty after a wake-up
    // that carried nothing for us (a message for another subsystem).
    std::vector<DeviceChange> Drain();

private:
    std::string source_;
    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
};
