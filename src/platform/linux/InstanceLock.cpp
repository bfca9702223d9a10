#include "platform/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

InstanceLock::InstanceLock(std::string path) : path_(std::move(path)) {}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) close(fd_);
}

InstanceLock::Result InstanceLock::Acquire() {
    if (fd_ >= 0) return Result::Acquired;
    const int fd = open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return Result::Failed;
    int rc;
    do {
        rc = flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc == 0) {
        fd_ = fd;
        return Result::Acquired;
    }
    const int error = errno;
    close(fd);
    return error == EWOULDBLOCK ? Result::HeldElsewhere : Result::Failed;
}
