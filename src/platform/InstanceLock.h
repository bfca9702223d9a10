#pragma once
#include <string>

// Proves that this is the first running copy of the program: an exclusive lock on a file,
// taken without waiting and held until the object dies (the kernel also lets go when the process
// does, so a crashed copy never blocks the next start).
class InstanceLock {
public:
    enum class Result {
        Acquired,       // this is the first copy
        HeldElsewhere,  // another copy holds the lock
        Failed,         // the lock file cannot be made; run as the first copy
    };

    explicit InstanceLock(std::string path);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    Result Acquire();
    const std::string& path() const { return path_; }

private:
    std::string path_;
    int fd_ = -1;
};
