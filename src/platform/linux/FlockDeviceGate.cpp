#include "platform/linux/FlockDeviceGate.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "platform/ApplicationFolder.h"

FlockDeviceGate::FlockDeviceGate(std::string path, std::chrono::milliseconds bound)
    : path_(std::move(path)), bound_(bound) {
    if (path_.empty()) {
        const std::string folder = RuntimeFolder();
        if (!folder.empty()) path_ = folder + "/HidDevice";
    }
}

bool FlockDeviceGate::Pass() {
    if (path_.empty()) return true;  // no place for the gate: go on without it
    const int fd = open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return true;
    // Only this user may take the gate, whatever the umask was when the file was made.
    fchmod(fd, 0600);

    const auto deadline = std::chrono::steady_clock::now() + (stuck_ ? std::chrono::milliseconds(0) : bound_);
    auto pause = std::chrono::microseconds(200);
    bool passed = false;
    for (;;) {
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
            flock(fd, LOCK_UN);
            passed = true;
            break;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            passed = true;  // the lock itself is unavailable here: do not block the device on it
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline) break;
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::microseconds(5000));
    }
    close(fd);
    stuck_ = !passed;
    return passed;
}
