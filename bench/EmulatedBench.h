#pragma once
// The one emulated keyboard all benchmarks of this program share (a second device link on the same emulator
// would receive every reply twice), at the emulator's default latency of 1 ms per report.

#include "VevIrozEmu.h"
#include "device/DeviceLink.h"
#include "device/ServiceLibrary.h"

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <optional>

namespace ombrel::bench {

struct Bench {
    std::optional<ServiceLibrary> lib;
    NullScreen screen;
    std::unique_ptr<DeviceLink> link;
    decltype(&EmuReportCount) reportCount = nullptr;
    decltype(&EmuSetLatencyMicros) setLatency = nullptr;

    Bench();
};

Bench& bench();

// Runs `transfer` once per iteration and reports `ratio`: wall time / (reports x 1 ms), i.e. how close the link
// comes to the keyboard's own pace, and the reports per iteration.
void runTransfer(benchmark::State& state, const std::function<int(DeviceCommands&)>& transfer);

} // namespace ombrel::bench
