// One tick of the on-screen preview in the core, per effect (goal: under 20 microseconds, so the 50 ms timer
// costs well under 0.1 % of a core). The figure is the CPU time per tick.
#include "lighting/PreviewEngine.h"

#include <benchmark/benchmark.h>

namespace {

void BM_PreviewTick(benchmark::State& state) {
    const auto effect = static_cast<ombrel::LightingEffect>(state.range(0));
    std::uint32_t seed = 1;
    ombrel::PreviewEngine engine([&seed] { return seed = seed * 1103515245u + 12345u; });
    const ombrel::PreviewInput input{effect, 255, state.range(1) != 0, {255, 96, 0}, 1};
    for (auto _ : state)
        benchmark::DoNotOptimize(engine.tick(input));
}

void EffectArgs(benchmark::internal::Benchmark* b) {
    for (int effect : {1, 2, 3, 4, 5, 6, 10, 11, 12, 13, 14, 15, 16, 17, 18, 20})
        for (int colorful : {0, 1})
            b->Args({effect, colorful});
    b->ArgNames({"effect", "colorful"});
}

BENCHMARK(BM_PreviewTick)->Apply(EffectArgs);

} // namespace
