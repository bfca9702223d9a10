#pragma once
// A scripted backend for the channel's tests: one keyboard interface that can be absent or
// refuse to open, and counters of what reached it.
#include <memory>
#include <string>
#include <vector>

#include "device/DeviceGate.h"
#include "device/HidBackend.h"

namespace fakehid {

struct Traffic {
    int sets = 0, gets = 0, opens = 0, closes = 0;
    int transferResult = 8;  // what the device reports as moved
};

class FakeHandle : public HidHandle {
public:
    FakeHandle(Traffic& t, uint32_t value) : t_(t), value_(value) {}
    ~FakeHandle() override { ++t_.closes; }
    int SendFeatureReport(const uint8_t*, size_t) override { return ++t_.sets, t_.transferResult; }
    int GetFeatureReport(uint8_t* data, size_t length) override {
        ++t_.gets;
        for (size_t i = 1; i < length; ++i) data[i] = static_cast<uint8_t>(i);
        return t_.transferResult;
    }
    uint32_t DiagnosticValue() const override { return value_; }

private:
    Traffic& t_;
    uint32_t value_;
};

class FakeBackend : public HidBackend {
public:
    Traffic traffic;
    bool present = true;
    bool openable = true;
    std::vector<HidInterfaceInfo> Enumerate() override {
        if (!present) return {};
        return {{"hid#vid_1a2c&pid_9c01&mi_01&col03", "/dev/fake"}};
    }
    std::unique_ptr<HidHandle> OpenPath(const std::string&) override {
        if (!openable) return nullptr;
        ++traffic.opens;
        return std::make_unique<FakeHandle>(traffic, 0x100 + traffic.opens);
    }
};

class OpenGate : public DeviceGate {
public:
    int passes = 0;
    bool Pass() override { return ++passes, true; }
};

}  // namespace fakehid
