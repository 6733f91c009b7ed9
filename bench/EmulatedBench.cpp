#include "EmulatedBench.h"

#include "device/LinkResult.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace ombrel::bench {

Bench::Bench() {
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

} // namespace ombrel::bench
