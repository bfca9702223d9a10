// The cost of the keyboard protocol above its fixed pauses, against the emulated keyboard with the
// real pacer and the real gate. ratio = measured time / sum of the pauses (target: at most 1.03).
#include <benchmark/benchmark.h>

#include <chrono>
#include <sstream>
#include <string>
#include <unistd.h>

#include "emulator/EmulatedKeyboard.h"
#include "platform/linux/FlockDeviceGate.h"
#include "protocol/AssignmentCommands.h"
#include "protocol/KeyAssignmentCodec.h"
#include "protocol/ProfileCommands.h"
#include "protocol/ThreadPacer.h"

namespace {

class NoPicture : public IKeyPicture {
public:
    void UncheckAllKeys() override {}
    void CheckKey(uint8_t) override {}
};
class NoPrompt : public IUserPrompt {
public:
    void ShowMessage(const std::string&, const std::string&) override {}
    bool AskOkCancel(const std::string&, const std::string&) override { return false; }
};
class FixedCombo : public IComboSelector {
public:
    int CurrentSelection() const override { return 0; }
    void SelectWithNotification(int) override {}
};
class NoLighting : public ILightingControls {
public:
    LightingControlValues Values() const override { return {}; }
    void SetValues(const LightingControlValues&) override {}
    void ShowPanels(const LightingPanels&) override {}
};

struct Session {
    EmulatedKeyboard keyboard{EmulatorLog()};
    FlockDeviceGate gate{"/tmp/kbdconf-bench-gate-" + std::to_string(::getpid())};
    std::ostringstream diagnostics;
    HidDevice device{keyboard, gate, diagnostics};
    ThreadPacer pacer;
    KeyboardState state;
    NoPicture picture;
    NoPrompt prompt;
    FixedCombo profileCombo, ledModeCombo;
    NoLighting lighting;
    ProtocolContext ctx{device, pacer, state, picture, prompt, profileCombo, ledModeCombo, lighting};

    Session() { device.Open(DeviceIdentity{0x1A2C, 0x9C01, -1, 3}); }
    ~Session() { ::unlink(gate.path().c_str()); }
};

// Chunked upload (28 × 8 ms), 20 ms, read-back (50 + 10 + 4 × 10 ms).
constexpr double kUploadFloorMs = 28 * 8 + 20 + 100;
constexpr double kReadBackFloorMs = 100;

void BM_UploadAndReadBack(benchmark::State& st) {
    Session s;
    const std::vector<MacroStepText> events{{"4", "0", "100"}, {"4", "1", "0"}};
    KeyAssignment image;
    FillMacroPage(image, 0x3A, 1, std::span<const MacroStepText>(events));
    const uint8_t keys[] = {0x3A};
    double totalMs = 0;
    for (auto _ : st) {
        const auto start = std::chrono::steady_clock::now();
        ApplyAssignment(s.ctx, image, keys);
        totalMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    }
    if (s.keyboard.firmware().profile(0).macros[0].owner != 0x3A) st.SkipWithError("the upload did not arrive");
    st.counters["ratio"] = totalMs / (kUploadFloorMs * static_cast<double>(st.iterations()));
    st.counters["floor_ms"] = kUploadFloorMs;
}
BENCHMARK(BM_UploadAndReadBack)->Iterations(12)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadBack(benchmark::State& st) {
    Session s;
    double totalMs = 0;
    for (auto _ : st) {
        const auto start = std::chrono::steady_clock::now();
        ReadBack(s.ctx);
        totalMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    }
    const double perCall = totalMs / static_cast<double>(st.iterations());
    st.counters["over_floor_us"] = (perCall - kReadBackFloorMs) * 1000.0;
    st.counters["ratio"] = perCall / kReadBackFloorMs;
}
BENCHMARK(BM_ReadBack)->Iterations(20)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
