#pragma once
// The emulator build of the service library, loaded once per test process, with its control calls resolved.

#include "VevIrozEmu.h"
#include "device/ServiceLibrary.h"

#include <functional>
#include <string>

namespace ombrel::test {

struct EmulatorControl {
    decltype(&EmuConfigure) configure = nullptr;
    decltype(&EmuProblem) problem = nullptr;
    decltype(&EmuReset) reset = nullptr;
    decltype(&EmuPlug) plug = nullptr;
    decltype(&EmuUnplug) unplug = nullptr;
    decltype(&EmuIsPlugged) isPlugged = nullptr;
    decltype(&EmuSetLatencyMicros) setLatencyMicros = nullptr;
    decltype(&EmuPressBankKey) pressBankKey = nullptr;
    decltype(&EmuSendConsumer) sendConsumer = nullptr;
    decltype(&EmuInjectFault) injectFault = nullptr;
    decltype(&EmuClearFaults) clearFaults = nullptr;
    decltype(&EmuReadMemory) readMemory = nullptr;
    decltype(&EmuWriteMemory) writeMemory = nullptr;
    decltype(&EmuReportCount) reportCount = nullptr;
    decltype(&EmuBankStatus) bankStatus = nullptr;
    decltype(&EmuBootRequested) bootRequested = nullptr;
    decltype(&EmuSaveState) saveState = nullptr;
};

// Resolves every control call with `lookup`; false, with the missing names in `missing`, when any is absent.
bool ResolveEmulatorControl(const std::function<void*(const char*)>& lookup, EmulatorControl& control,
                            std::string& missing);

// Loads build/lib/ombrel/libVevIrozEmu.so on first use; aborts the test program when it cannot.
const ServiceLibrary& EmulatorLibrary();
const EmulatorControl& Emulator();

} // namespace ombrel::test
