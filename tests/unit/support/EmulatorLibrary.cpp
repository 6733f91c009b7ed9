#include "support/EmulatorLibrary.h"

#include "support/TestPaths.h"

#include <cstdio>
#include <cstdlib>

namespace ombrel::test {

namespace {

template <typename Fn>
void bind(const ServiceLibrary& lib, const char* name, Fn& out) {
    out = reinterpret_cast<Fn>(lib.symbol(name));
    if (!out) {
        std::fprintf(stderr, "the emulator library has no %s\n", name);
        std::abort();
    }
}

} // namespace

const ServiceLibrary& EmulatorLibrary() {
    static const ServiceLibrary lib = [] {
        std::string error;
        auto loaded = ServiceLibrary::load(serviceLibraryPath(kEmulatorLibraryName), &error);
        if (!loaded) {
            std::fprintf(stderr, "%s\n", error.c_str());
            std::abort();
        }
        return *loaded;
    }();
    return lib;
}

const EmulatorControl& Emulator() {
    static const EmulatorControl control = [] {
        const ServiceLibrary& lib = EmulatorLibrary();
        EmulatorControl c;
        bind(lib, "EmuConfigure", c.configure);
        bind(lib, "EmuReset", c.reset);
        bind(lib, "EmuPlug", c.plug);
        bind(lib, "EmuUnplug", c.unplug);
        bind(lib, "EmuIsPlugged", c.isPlugged);
        bind(lib, "EmuSetLatencyMicros", c.setLatencyMicros);
        bind(lib, "EmuPressBankKey", c.pressBankKey);
        bind(lib, "EmuSendConsumer", c.sendConsumer);
        bind(lib, "EmuInjectFault", c.injectFault);
        bind(lib, "EmuClearFaults", c.clearFaults);
        bind(lib, "EmuReadMemory", c.readMemory);
        bind(lib, "EmuWriteMemory", c.writeMemory);
        bind(lib, "EmuReportCount", c.reportCount);
        bind(lib, "EmuBankStatus", c.bankStatus);
        bind(lib, "EmuBootRequested", c.bootRequested);
        bind(lib, "EmuSaveState", c.saveState);
        return c;
    }();
    return control;
}

} // namespace ombrel::test
