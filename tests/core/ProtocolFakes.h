#pragma once
// Recording fakes of the channel, the pacer and the window's widgets. Everything they see goes
// into one transcript, so a test states the exact sequence of reports, pauses and marks.
#include <cstdio>
#include <deque>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "device/DeviceGate.h"
#include "device/HidBackend.h"
#include "device/HidDevice.h"
#include "protocol/ProtocolContext.h"

namespace protocol_fakes {

using Transcript = std::vector<std::string>;

inline std::string Hex(const uint8_t* data, size_t size) {
    std::string s;
    char b[4];
    for (size_t i = 0; i < size; ++i) {
        std::snprintf(b, sizeof b, i ? " %02X" : "%02X", data[i]);
        s += b;
    }
    return s;
}

// The channel's far end: logs every set ("set 07 FB …") and get ("get"), answers gets from a
// queue of seven-byte answers (zeros when empty).
class RecordingBackend : public HidBackend {
public:
    Transcript& log;
    int failSets = 0;          // this many sets fail next (-1: every set fails)
    int setResult = 8;         // bytes a successful set reports as moved
    std::deque<std::vector<uint8_t>> answers;
    bool garbageOnFailedGet = false;
    bool failGets = false;

    explicit RecordingBackend(Transcript& t) : log(t) {}

    std::vector<HidInterfaceInfo> Enumerate() override { return {{"hid#vid_1a2c&pid_9c01&mi_01&col03", "/dev/rec"}}; }
    std::unique_ptr<HidHandle> OpenPath(const std::string&) override { return std::make_unique<Handle>(*this); }

private:
    class Handle : public HidHandle {
    public:
        explicit Handle(RecordingBackend& b) : b_(b) {}
        int SendFeatureReport(const uint8_t* data, size_t length) override {
            b_.log.push_back("set " + Hex(data, length));
            if (b_.failSets != 0) {
                if (b_.failSets > 0) --b_.failSets;
                return -1;
            }
            return b_.setResult;
        }
        int GetFeatureReport(uint8_t* data, size_t length) override {
            b_.log.push_back("get " + Hex(data, length));
            if (b_.failGets) {
                if (b_.garbageOnFailedGet)
                    for (size_t i = 1; i < length; ++i) data[i] = 0xEE;
                return 3;
            }
            for (size_t i = 1; i < length; ++i) data[i] = 0;
            if (!b_.answers.empty()) {
                const std::vector<uint8_t> a = b_.answers.front();
                b_.answers.pop_front();
                for (size_t i = 0; i < a.size() && i + 1 < length; ++i) data[i + 1] = a[i];
            }
            return static_cast<int>(length);
        }
        uint32_t DiagnosticValue() const override { return 1; }

    private:
        RecordingBackend& b_;
    };
};

class RecordingPacer : public Pacer {
public:
    Transcript& log;
    uint64_t total = 0;
    explicit RecordingPacer(Transcript& t) : log(t) {}
    void Sleep(uint32_t ms) override {
        total += ms;
        log.push_back("sleep " + std::to_string(ms));
    }
};

class OpenGate : public DeviceGate {
public:
    bool Pass() override { return true; }
};

class FakePicture : public IKeyPicture {
public:
    Transcript& log;
    std::vector<uint8_t> checked;  // in checking order, no duplicates
    std::function<void(uint8_t)> onCheck;
    explicit FakePicture(Transcript& t) : log(t) {}
    void UncheckAllKeys() override {
        checked.clear();
        log.push_back("uncheck all");
    }
    void CheckKey(uint8_t code) override {
        log.push_back("check " + std::to_string(code));
        if (onCheck) onCheck(code);
        for (uint8_t c : checked)
            if (c == code) return;
        checked.push_back(code);
    }
};

class FakePrompt : public IUserPrompt {
public:
    Transcript& log;
    bool answerOk = true;
    explicit FakePrompt(Transcript& t) : log(t) {}
    void ShowMessage(const std::string& text, const std::string& caption) override {
        log.push_back("message " + caption + ": " + text);
    }
    bool AskOkCancel(const std::string& text, const std::string& caption) override {
        log.push_back("ask " + caption + ": " + text);
        return answerOk;
    }
};

class FakeCombo : public IComboSelector {
public:
    int selection = 0;
    std::function<void()> onChange;
    int CurrentSelection() const override { return selection; }
    void SelectWithNotification(int item) override {
        if (item == selection) return;
        selection = item;
        if (onChange) onChange();
    }
};

class FakeLighting : public ILightingControls {
public:
    LightingControlValues values;
    LightingPanels panels;
    LightingControlValues Values() const override { return values; }
    void SetValues(const LightingControlValues& v) override { values = v; }
    void ShowPanels(const LightingPanels& p) override { panels = p; }
};

// The whole window side of the protocol over any backend, with the device open.
struct Rig {
    Transcript ownLog;
    Transcript& log;  // the recording backend's, so that reports and pauses interleave
    RecordingPacer pacer{log};
    OpenGate gate;
    std::ostringstream diagnostics;
    HidDevice device;
    KeyboardState state;
    FakePicture picture{log};
    FakePrompt prompt{log};
    FakeCombo profileCombo, ledModeCombo;
    FakeLighting lighting;
    ProtocolContext ctx{device, pacer, state, picture, prompt, profileCombo, ledModeCombo, lighting};

    explicit Rig(RecordingBackend& backend, bool open = true) : Rig(backend, backend.log, open) {}
    explicit Rig(HidBackend& backend, bool open = true) : Rig(backend, ownLog, open) {}
    Rig(HidBackend& backend, Transcript& transcript, bool open) : log(transcript), device(backend, gate, diagnostics) {
        if (open) device.Open(DeviceIdentity{0x1A2C, 0x9C01, -1, 3});
    }
    // Only the entries that start with one of the prefixes.
    Transcript Only(std::initializer_list<const char*> prefixes) const {
        Transcript out;
        for (const std::string& e : log)
            for (const char* p : prefixes)
                if (e.rfind(p, 0) == 0) {
                    out.push_back(e);
                    break;
                }
        return out;
    }
};

inline constexpr const char* kGet = "get 07 00 00 00 00 00 00 00";

// A read-back whose answer checks the given owners (in slot order, macro table first).
inline Transcript ReadBackTranscript(const std::vector<uint8_t>& macroOwners = {},
                                     const std::vector<uint8_t>& remapOwners = {}) {
    Transcript t{"sleep 50", "uncheck all", "set 07 FB 01 00 00 00 00 00", "sleep 10",
                 "sleep 10", kGet,          "sleep 10",                    kGet};
    for (uint8_t c : macroOwners)
        if (c) t.push_back("check " + std::to_string(c));
    t.insert(t.end(), {"sleep 10", kGet, "sleep 10", kGet});
    for (uint8_t c : remapOwners)
        if (c) t.push_back("check " + std::to_string(c));
    return t;
}

inline Transcript Concat(std::initializer_list<Transcript> parts) {
    Transcript out;
    for (const Transcript& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// Queues the four answer reports of a read-back for the given tables.
inline void QueueSlotAnswer(RecordingBackend& b, const std::array<uint8_t, 12>& macros,
                            const std::array<uint8_t, 12>& remaps) {
    std::vector<uint8_t> a(28, 0);
    for (int i = 0; i < 12; ++i) a[1 + i] = macros[i], a[14 + i] = remaps[i];
    for (int p = 0; p < 4; ++p) b.answers.emplace_back(a.begin() + 7 * p, a.begin() + 7 * p + 7);
}

}  // namespace protocol_fakes
