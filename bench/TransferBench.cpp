// Block transfers through the emulated keyboard at its default latency of 1 ms per report. The figure that
// matters is `ratio`: wall time / (reports x 1 ms), i.e. how close the link comes to the keyboard's own pace.
#include "VevIrozEmu.h"
#include "device/DeviceLink.h"
#include "device/LinkResult.h"
#include "device/ServiceLibrary.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

namespace {

using namespace ombrel;

struct Bench {
    std::optional<ServiceLibrary> lib;
    NullScreen screen;
    std::unique_ptr<DeviceLink> link;
    decltype(&EmuReportCount) reportCount = nullptr;
    decltype(&EmuSetLatencyMicros) setLatency = nullptr;

    Bench() {
        std::string error;
        lib = ServiceLibrary::load(std::string(OMBREL_BENCH_SERVICE_DIR) + "/" + kEmulatorLibraryName, &error);
        if (!lib) {
            std::fprintf(stderr, "%s\n", error.c_str());
            std::exit(1);
        }
        reinterpret_cast<decltype(&EmuConfigure)>(lib->symbol("EmuConfigure"))(nullptr);
        reportCount = reinterpret_cast<decltype(&EmuReportCount)>(lib->symbol("EmuReportCount"));
        setLatency = reinterpret_cast<decltype(&EmuSetLatencyMicros)>(lib->symbol("EmuSetLatencyMicros"));
        link = DeviceLink::start(lib->api(), screen, &error);
        if (!link) {
            std::fprintf(stderr, "%s\n", error.c_str());
            std::exit(1);
        }
        setLatency(1000);
    }
};

Bench& bench() {
    static Bench b;
    return b;
}

void runTransfer(benchmark::State& state, const std::function<int(DeviceCommands&)>& transfer) {
    Bench& b = bench();
    std::uint32_t reports = 0;
    double seconds = 0;
    for (auto _ : state) {
        const std::uint32_t before = b.reportCount();
        const auto start = std::chrono::steady_clock::now();
        const int result = transfer(b.link->commands());
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        reports += b.reportCount() - before;
        if (result != LINK_OK) state.SkipWithError("transfer failed");
    }
    state.counters["reports/iter"] = static_cast<double>(reports) / static_cast<double>(state.iterations());
    state.counters["ratio"] = seconds / (reports * 1e-3);
}

void BM_ReadKeymap(benchmark::State& state) {
    std::array<std::uint8_t, kKeymapSize> block{};
    runTransfer(state, [&](DeviceCommands& c) { return c.ReadKeymap(block, 1); });
}

void BM_WriteKeymap(benchmark::State& state) {
    std::array<std::uint8_t, kKeymapSize> block{};
    runTransfer(state, [&](DeviceCommands& c) {
        c.ReadKeymap(block, 1);
        return c.WriteKeymap(block, 1);
    });
}

void BM_ReadMacroImage8K(benchmark::State& state) {
    std::vector<std::uint8_t> image(8192);
    runTransfer(state, [&](DeviceCommands& c) { return c.ReadMacros(image); });
}

void BM_WriteMacroImage8K(benchmark::State& state) {
    std::vector<std::uint8_t> image(8192, 0);
    runTransfer(state, [&](DeviceCommands& c) { return c.WriteMacros(image); });
}

} // namespace

BENCHMARK(BM_ReadKeymap)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteKeymap)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadMacroImage8K)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteMacroImage8K)->UseRealTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
