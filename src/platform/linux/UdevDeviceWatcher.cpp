#include "platform/linux/UdevDeviceWatcher.h"

#include <libudev.h>
#include <poll.h>
#include <sys/epoll.h>
#include <unistd.h>

namespace {

udev_monitor* OpenMonitor(udev* context, const char* source) {
    udev_monitor* monitor = udev_monitor_new_from_netlink(context, source);
    if (!monitor) return nullptr;
    if (udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor) < 0) {
        udev_monitor_unref(monitor);
        return nullptr;
    }
    return monitor;
}

bool Readable(int fd) {
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, 0) > 0 && (p.revents & POLLIN);
}

}  // namespace

UdevDeviceWatcher::UdevDeviceWatcher() {
    udev_ = udev_new();
    if (!udev_) return;
    monitors_[0] = OpenMonitor(udev_, "kernel");
    monitors_[1] = OpenMonitor(udev_, "udev");
    if (!monitors_[0] && !monitors_[1]) return;
    fd_ = epoll_create1(EPOLL_CLOEXEC);
    if (fd_ < 0) return;
    for (udev_monitor* monitor : monitors_) {
        if (!monitor) continue;
        epoll_event ev{};
        ev.events = EPOLLIN;
        if (epoll_ctl(fd_, EPOLL_CTL_ADD, udev_monitor_get_fd(monitor), &ev) < 0) {
            close(fd_);
            fd_ = -1;
            return;
        }
    }
}

UdevDeviceWatcher::~UdevDeviceWatcher() {
    if (fd_ >= 0) close(fd_);
    for (udev_monitor* monitor : monitors_)
        if (monitor) udev_monitor_unref(monitor);
    if (udev_) udev_unref(udev_);
}

std::vector<DeviceChange> UdevDeviceWatcher::Drain() {
    std::vector<DeviceChange> changes;
    if (fd_ < 0) return changes;
    for (udev_monitor* monitor : monitors_) {
        if (!monitor) continue;
        const int socket = udev_monitor_get_fd(monitor);
        // A receive can come back empty while more is queued (a message for another subsystem,
        // one from a sender it does not trust): look at the socket before giving up. The bound
        // keeps a flood of foreign messages from holding the caller's thread.
        for (int attempts = 0; attempts < 256 && Readable(socket); ++attempts) {
            udev_device* device = udev_monitor_receive_device(monitor);
            if (!device) continue;
            const char* action = udev_device_get_action(device);
            const char* node = udev_device_get_devnode(device);
            changes.push_back({action ? action : "", node ? node : ""});
            udev_device_unref(device);
        }
    }
    return changes;
}
