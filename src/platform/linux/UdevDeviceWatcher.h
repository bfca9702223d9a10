#pragma once
#include <string>
#include <vector>

struct udev;
struct udev_monitor;

// One hidraw event as the kernel (or udev) announced it.
struct DeviceChange {
    std::string action;   // "add", "remove", "change", ...
    std::string devnode;  // "/dev/hidraw3"; empty when the event carries none
};

// Tells the program that HID devices came or went: the stand-in for the device-change broadcast.
//
// Listens to the kernel's netlink source, which needs no udev daemon, and also to the udev
// source where a daemon runs: udev announces a device only once its rules have granted access,
// and an open tried on the kernel's earlier announcement alone may still be refused. One plug
// therefore usually brings two events, as the broadcast it replaces brought several; every
// event is one device-change message.
//
// Both sockets sit behind one descriptor for the caller's event loop to watch for reading.
class UdevDeviceWatcher {
public:
    UdevDeviceWatcher();
    ~UdevDeviceWatcher();
    UdevDeviceWatcher(const UdevDeviceWatcher&) = delete;
    UdevDeviceWatcher& operator=(const UdevDeviceWatcher&) = delete;

    // false when no netlink source could be had; fd() is then -1 and Drain() finds nothing.
    bool IsValid() const { return fd_ >= 0; }
    // Readable while events are pending. Owned by the watcher.
    int fd() const { return fd_; }

    // Takes every pending hidraw event without blocking (each source's in arrival order), and
    // leaves fd() quiet again unless a flood remains. Empty after a wake-up
    // that carried nothing for us.
    std::vector<DeviceChange> Drain();

private:
    udev* udev_ = nullptr;
    udev_monitor* monitors_[2] = {nullptr, nullptr};  // kernel source, udev source
    int fd_ = -1;                                      // epoll set over the monitors' sockets
};
