#pragma once
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

// The emulated keyboard's report log: one line per report it receives or answers, appended to a
// file — milliseconds since the log was opened, "set" or "get", the eight bytes in hexadecimal:
//   1234 set 07 FB 01 00 00 00 00 00
// A set the keyboard refused ends with " refused". Lines are flushed as written, so a crashed
// run keeps them. An empty path (or a file that cannot be opened) logs nothing.
class EmulatorLog {
public:
    static constexpr const char* kEnvironmentVariable = "KBDCONF_EMULATOR_LOG";

    explicit EmulatorLog(const std::string& path = {});
    // The file named by KBDCONF_EMULATOR_LOG, if set.
    static EmulatorLog FromEnvironment();
    ~EmulatorLog();
    EmulatorLog(EmulatorLog&& other) noexcept;
    EmulatorLog& operator=(EmulatorLog&&) = delete;
    EmulatorLog(const EmulatorLog&) = delete;
    EmulatorLog& operator=(const EmulatorLog&) = delete;

    bool active() const { return file_ != nullptr; }
    void Write(const char* direction, const uint8_t* report, size_t size, bool refused = false);

private:
    std::FILE* file_ = nullptr;
    std::chrono::steady_clock::time_point start_;
};
