#include "platform/linux/UdevDeviceWatcher.h"

#include <libudev.h>
#include <poll.h>
#include <unistd.h>

namespace {

// The daemon's control socket: present exactly while a udev daemon serves this system.
bool UdevDaemonRuns() { return access("/run/udev/control", F_OK) == 0; }

bool Readable(int fd) {
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, 0) > 0 && (p.revents & POLLIN);
}

}  // namespace

UdevDeviceWatcher::UdevDeviceWatcher(const char* source)
    : source_(source ? source : UdevDaemonRuns() ? "udev" : "kernel") {
    udev_ = udev_new();
    if (!udev_) return;
    monitor_ = udev_monitor_new_from_netlink(udev_, source_.c_str());
    if (!monitor_) return;
    if (udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor_) < 0) {
        udev_monitor_unref(monitor_);
        monitor_ = nullptr;
    }
}

UdevDeviceWatcher::~UdevDeviceWatcher() {
    if (monitor_) udev_monitor_unref(monitor_);
    if (udev_) udev_unref(udev_);
}

int UdevDeviceWatcher::fd() const { return monitor_ ? udev_monitor_get_fd(monitor_) : -1; }

std::vector<DeviceChange> UdevDeviceWatcher::Drain() {
    std::vector<DeviceChange> changes;
    if (!monitor_) return changes;
    // A receive can come back empty while more is queued (a message for another subsystem, or
    // one from a sender it does not trust): look at the socket before giving up. The bound keeps
    // a flood of messages from holding the caller's thread; what is left wakes it again.
    for (int attempts = 0; attempts < 256 && Readable(fd()); ++attempts) {
        udev_device* device = udev_monitor_receive_device(monitor_);
        if (!device) continue;
        const char* action = udev_device_get_action(device);
        const char* node = udev_device_get_devnode(device);
        changes.push_back({action ? action : "", node ? node : ""});
        udev_device_unref(device);
    }
    return changes;
}
