// Start-up of the whole program: from exec to the main window's first paint, and its peak
// memory, under the offscreen platform with the emulated keyboard. Beside it, a bare Qt Widgets
// program (this same executable with --bare) that builds a window of a comparable number of
// widgets and ends at its first paint.
//
// Targets: kbdconf's time minus the fixed pauses of the initial profile switch (150 ms: 50 after
// the selection, 50 + 10 + 4 x 10 in the read-back) at most 1.5 x the bare program's time; peak
// memory at most 60 MiB.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/ApplicationFolder.h"

namespace {

constexpr double kProtocolPausesMs = 150.0;
constexpr int kBareWidgets = 160;  // about what the main window holds

struct Sample {
    double ms = 0;
    double peakMiB = 0;
    bool ok = false;
};

// Runs a program to its end with the offscreen platform and a private runtime folder.
Sample RunToExit(const std::string& program, const std::vector<std::string>& args) {
    char runtime[] = "/tmp/kbdconf-bench-XXXXXX";
    if (!mkdtemp(runtime)) return {};
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        setenv("XDG_RUNTIME_DIR", runtime, 1);
        unsetenv("KBDCONF_EMULATOR_LOG");
        if (!freopen("/dev/null", "w", stderr) || !freopen("/dev/null", "w", stdout)) _exit(126);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    Sample s;
    int status = 0;
    rusage usage{};
    if (pid > 0 && wait4(pid, &status, 0, &usage) == pid) {
        s.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        s.peakMiB = usage.ru_maxrss / 1024.0;
        s.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    const std::string cleanup = std::string("rm -rf '") + runtime + "'";
    if (std::system(cleanup.c_str()) != 0) std::fprintf(stderr, "cannot remove %s\n", runtime);
    return s;
}

std::string Kbdconf() { return ApplicationFolder() + "/../bin/kbdconf"; }
std::string Self() { return ApplicationFolder() + "/bench_gui_startup"; }

std::vector<Sample> g_kbdconf, g_bare;

void Measure(benchmark::State& state, const std::string& program, const std::vector<std::string>& args,
             std::vector<Sample>& samples) {
    for (auto _ : state) {
        const Sample s = RunToExit(program, args);
        if (!s.ok) {
            state.SkipWithError("the program did not start and end cleanly");
            return;
        }
        samples.push_back(s);
        state.SetIterationTime(s.ms / 1000.0);
        state.counters["peak_MiB"] = s.peakMiB;
    }
}

void BM_KbdconfToFirstPaint(benchmark::State& state) {
    Measure(state, Kbdconf(), {"--demo", "--exit-after-first-paint"}, g_kbdconf);
}
void BM_BareQtToFirstPaint(benchmark::State& state) { Measure(state, Self(), {"--bare"}, g_bare); }

BENCHMARK(BM_KbdconfToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(7);
BENCHMARK(BM_BareQtToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(7);

double Median(std::vector<Sample> v, double Sample::*field) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end(), [field](const Sample& a, const Sample& b) { return a.*field < b.*field; });
    return v[v.size() / 2].*field;
}

// The comparison program: a window of ordinary widgets, gone at its first paint.
int RunBare(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    auto* grid = new QGridLayout(&window);
    for (int i = 0; i < kBareWidgets; ++i) {
        QWidget* w = nullptr;
        switch (i % 6) {
            case 0: w = new QLabel(QStringLiteral("Label %1").arg(i)); break;
            case 1: w = new QPushButton(QStringLiteral("Button %1").arg(i)); break;
            case 2: w = new QRadioButton(QStringLiteral("Radio %1").arg(i)); break;
            case 3: w = new QCheckBox(QStringLiteral("Check %1").arg(i)); break;
            case 4: {
                auto* c = new QComboBox;
                c->addItems({"one", "two", "three"});
                w = c;
                break;
            }
            default: w = new QSlider(Qt::Horizontal); break;
        }
        grid->addWidget(w, i / 8, i % 8);
    }
    struct FirstPaint : QObject {
        bool eventFilter(QObject*, QEvent* e) override {
            // Like kbdconf --exit-after-first-paint: gone once the paint is done.
            if (e->type() == QEvent::Paint) QTimer::singleShot(0, [] { _exit(0); });
            return false;
        }
    } watcher;
    window.installEventFilter(&watcher);
    window.show();
    return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--bare") == 0) return RunBare(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const double kbd = Median(g_kbdconf, &Sample::ms), bare = Median(g_bare, &Sample::ms);
    const double overhead = kbd - kProtocolPausesMs;
    const double peak = Median(g_kbdconf, &Sample::peakMiB);
    std::printf("\nkbdconf to first paint: %.1f ms median, %.1f ms above the %.0f ms of protocol pauses\n", kbd,
                overhead, kProtocolPausesMs);
    std::printf("bare Qt Widgets program (%d widgets): %.1f ms median\n", kBareWidgets, bare);
    std::printf("ratio %.2f (target <= 1.5); kbdconf peak memory %.1f MiB (target <= 60)\n",
                bare > 0 ? overhead / bare : 0.0, peak);
    return 0;
}
