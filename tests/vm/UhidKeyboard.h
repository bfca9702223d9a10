#pragma once
#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "device/HidBackend.h"

// The emulated keyboard made real to the kernel: a uhid device with three top-level collections
// (typing keys, media keys, and the vendor collection carrying feature report 7, in that order,
// so the vendor collection is col03 on its hidraw node). Every feature report 7 the kernel
// passes down is handed to `commandInterface`, the emulated keyboard's command interface, and
// its answer goes back up; a transfer that the interface refuses (anything but 8 bytes moved)
// is answered with EIO, as a device that stalls the request would be.
//
// A thread of its own answers the kernel, because hidapi's calls block until the answer comes.
class UhidKeyboard {
public:
    static constexpr uint16_t kVendorId = 0x1A2C;
    static constexpr uint16_t kProductId = 0x9C01;
    static constexpr uint8_t kReportId = 7;

    // Another product id makes an unrelated device of the same maker.
    explicit UhidKeyboard(HidHandle& commandInterface, uint16_t productId = kProductId);
    ~UhidKeyboard();
    UhidKeyboard(const UhidKeyboard&) = delete;
    UhidKeyboard& operator=(const UhidKeyboard&) = delete;

    // false when /dev/uhid cannot be opened (no module, no permission).
    bool IsValid() const { return fd_ >= 0; }

    // Plug and unplug. Create also starts answering; both return false when the kernel refused.
    bool Create();
    bool Destroy();

    // Held while the command interface answers: lock it to look at the emulated keyboard's
    // state from another thread.
    std::mutex& mutex() { return mutex_; }

    // Every feature report the kernel passed down, as it arrived (report id first).
    std::vector<std::vector<uint8_t>> SetReports();
    int GetReportCount() const { return gets_; }

private:
    void Answer();
    bool Write(const void* event);

    HidHandle& commandInterface_;
    uint16_t productId_;
    int fd_ = -1;
    int stopFd_ = -1;
    std::thread thread_;
    std::mutex mutex_;
    std::vector<std::vector<uint8_t>> sets_;
    std::atomic<int> gets_{0};
};
