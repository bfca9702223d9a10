// Load and save of macro libraries of 10, 100 and 1,000 groups of 80 events. Every keystroke of a
// group rename saves the whole file, so a save (to disk, synced) should stay near 5 ms for 100
// groups and 50 ms for 1,000. The "growth" lines show how time scales with the group count.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "app/KeyCodeTable.h"
#include "macro/MacroLibrary.h"

namespace {

MacroLibrary MakeLibrary(const std::string& path, int groups) {
    MacroLibrary lib(path);
    unsigned seed = 1;
    for (int g = 0; g < groups; ++g) {
        lib.AddDefaultGroup();
        MacroGroup& group = *lib.Group(g);
        for (int e = 0; e < 80; ++e) {
            const KeyCodeEntry& key = KeyCodeTable[(e / 2 + g) % kKeyCodeCount];
            seed = seed * 1103515245u + 12345u;
            group.AddEvent(key.usage(), e % 2, key.name, static_cast<int>(seed >> 16) % 1000);
        }
    }
    return lib;
}

struct Folder {
    std::string path;
    Folder() {
        char pattern[] = "/tmp/kbdconf-bench-XXXXXX";
        path = mkdtemp(pattern);
    }
    ~Folder() {
        unlink((path + "/macro.xml").c_str());
        rmdir(path.c_str());
    }
};

void BM_SaveMacroFile(benchmark::State& state) {
    Folder folder;
    MacroLibrary lib = MakeLibrary(folder.path + "/macro.xml", static_cast<int>(state.range(0)));
    for (auto _ : state) {
        if (!lib.Save()) state.SkipWithError("save failed");
    }
    state.SetComplexityN(state.range(0));
    state.counters["bytes"] = static_cast<double>(lib.Serialize().size());
}

// What the disk alone costs for a file of the same size: write, fsync and rename with nothing
// else. The difference to BM_SaveMacroFile is the program's own work.
void BM_DiskBaseline(benchmark::State& state) {
    Folder folder;
    const std::string path = folder.path + "/macro.xml";
    const std::string temp = path + ".baseline";
    const std::string text = MakeLibrary("", static_cast<int>(state.range(0))).Serialize();
    for (auto _ : state) {
        const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0 || write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size()) || fsync(fd) != 0)
            state.SkipWithError("write failed");
        close(fd);
        rename(temp.c_str(), path.c_str());
    }
    state.SetComplexityN(state.range(0));
}

void BM_SerializeOnly(benchmark::State& state) {
    const MacroLibrary lib = MakeLibrary("", static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(lib.Serialize());
    state.SetComplexityN(state.range(0));
}

void BM_LoadMacroFile(benchmark::State& state) {
    Folder folder;
    const std::string path = folder.path + "/macro.xml";
    MakeLibrary(path, static_cast<int>(state.range(0))).Save();
    MacroLibrary lib;
    for (auto _ : state) {
        if (!lib.LoadMacroFile(path)) state.SkipWithError("load failed");
    }
    state.SetComplexityN(state.range(0));
}

}  // namespace

BENCHMARK(BM_SaveMacroFile)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(BM_DiskBaseline)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(BM_SerializeOnly)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(BM_LoadMacroFile)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK_MAIN();
