// Key functions and macros: an apply of all three profiles through the emulated keyboard, and saving and loading
// the largest profile store. Figures that matter: `ratio` of the apply (wall time / (reports x 1 ms), the
// keyboard's own pace; the keyboard's 10 ms pause before the end of a write sequence is part of it), the rate
// "MB" of save and load (MB/s), and `load/2reads` (load time / twice the time of reading the file whole; below 1
// means loading costs less than reading the file twice).
#include "EmulatedBench.h"
#include "device/LinkResult.h"
#include "keys/MacroImage.h"
#include "profiles/BinaryFile.h"
#include "profiles/ProfileStore.h"
#include "transfer/KeyboardWriter.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>

namespace {

using namespace ombrel;
using Clock = std::chrono::steady_clock;

MacroRecord benchMacro(std::uint16_t id, std::u16string name, int steps) {
    MacroRecord m;
    m.setMacroId(id);
    m.setName(name);
    m.setCycles(1);
    for (int i = 0; i < steps; ++i)
        m.setAction(i, {static_cast<std::uint32_t>(10 * (i % 4000)), static_cast<KeyCode>(i % 2 ? 0x01E : 0x02A),
                        static_cast<std::uint16_t>(i % 2)});
    m.setActionCount(static_cast<std::uint16_t>(steps));
    return m;
}

// Ten macros of 200 steps with short names: an image of 8116 bytes, as large as 8 KiB of macro memory allows.
void BM_ApplyAllProfiles8KMacros(benchmark::State& state) {
    bench::Bench& keyboard = bench::bench();
    KeymapBytes factory{};
    if (keyboard.link->commands().ReadDefaultKeymap(factory) == LINK_OK)
        keyboard.link->state().setDefaultKeymap(factory);
    KeyStores stores;
    for (std::uint16_t id = 1; id <= 10; ++id)
        stores.workingStore.macros.push_back(benchMacro(id, u"M" + std::u16string(1, u'0' + id - 1), 200));
    stores.workingStore.image.setRecord(RecordNumber(1, 0x03A), {KF_MACRO, 1, 3});
    state.counters["image bytes"] = static_cast<double>(MeasureMacroImage(stores.workingStore.macros).withNames);
    bench::runTransfer(state, [&](DeviceCommands& c) {
        return ApplyToKeyboard(stores, c, keyboard.link->state(), keyboard.screen, 1);
    });
}

// 100 macros of 4000 steps: the largest store, about 3.3 MB.
struct LargestStore {
    std::string dir;
    std::string path;
    AssignmentStore store;

    LargestStore() {
        dir = (std::filesystem::temp_directory_path() / "ombrel-store-bench").string();
        std::filesystem::create_directories(dir);
        path = dir + "/$Profile0";
        CreateDefault(store, path, 0, DefaultTarget::File);
        CreateDefault(store, "", 0, DefaultTarget::Store);
        for (std::uint16_t id = 1; id <= kMaxMacros; ++id)
            store.macros.push_back(benchMacro(id, std::u16string(kMaxMacroNameLength, u'x'), kMaxMacroActions));
        ExportStore(store, path, true);
    }
    ~LargestStore() { std::filesystem::remove_all(dir); }
    double megabytes() const { return static_cast<double>(std::filesystem::file_size(path)) / 1e6; }
};

LargestStore& largest() {
    static LargestStore s;
    return s;
}

void BM_SaveLargestStore(benchmark::State& state) {
    LargestStore& s = largest();
    for (auto _ : state)
        if (SaveStore(s.store, s.path, true) != 1) state.SkipWithError("save failed");
    state.counters["MB"] =
        benchmark::Counter(s.megabytes() * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_LoadLargestStore(benchmark::State& state) {
    LargestStore& s = largest();
    double loadSeconds = 0, readSeconds = 0;
    for (auto _ : state) {
        AssignmentStore target;
        auto start = Clock::now();
        if (LoadStore(target, s.path) != 1) state.SkipWithError("load failed");
        loadSeconds += std::chrono::duration<double>(Clock::now() - start).count();
        state.PauseTiming();
        start = Clock::now();
        benchmark::DoNotOptimize(ReadBinaryFile(s.path, 1ull << 32).bytes.data());
        readSeconds += std::chrono::duration<double>(Clock::now() - start).count();
        state.ResumeTiming();
    }
    state.counters["MB"] =
        benchmark::Counter(s.megabytes() * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["load/2reads"] = loadSeconds / (2 * readSeconds);
}

} // namespace

BENCHMARK(BM_ApplyAllProfiles8KMacros)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveLargestStore)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadLargestStore)->UseRealTime()->Unit(benchmark::kMillisecond);
