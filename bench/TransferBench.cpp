// Block transfers through the emulated keyboard at its default latency of 1 ms per report. The figure that
// matters is `ratio`: wall time / (reports x 1 ms), i.e. how close the link comes to the keyboard's own pace.
#include "EmulatedBench.h"
#include "device/LinkResult.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using namespace ombrel;
using bench::runTransfer;

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
