#include "emulator/EmulatorLog.h"

#include <cstdlib>

EmulatorLog::EmulatorLog(const std::string& path) : start_(std::chrono::steady_clock::now()) {
    if (!path.empty()) file_ = std::fopen(path.c_str(), "ae");
}

EmulatorLog EmulatorLog::FromEnvironment() {
    const char* path = std::getenv(kEnvironmentVariable);
    return EmulatorLog(path ? path : "");
}

EmulatorLog::~EmulatorLog() {
    if (file_) std::fclose(file_);
}

EmulatorLog::EmulatorLog(EmulatorLog&& other) noexcept : file_(other.file_), start_(other.start_) {
    other.file_ = nullptr;
}

void EmulatorLog::Write(const char* direction, const uint8_t* report, size_t size, bool refused) {
    if (!file_) return;
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_).count();
    std::fprintf(file_, "%lld %s", static_cast<long long>(ms), direction);
    for (size_t i = 0; i < size; ++i) std::fprintf(file_, " %02X", report[i]);
    std::fputs(refused ? " refused\n" : "\n", file_);
    std::fflush(file_);
}
