#include "support/EmulatorLibrary.h"

#include "support/TestPaths.h"

#include <cstdio>
#include <cstdlib>

namespace ombrel::test {

namespace {

template <typename Fn>
void bind(const std::function<void*(const char*)>& lookup, const char* name, Fn& out, std::string& missing) {
    out = reinterpret_cast<Fn>(lookup(name));
    if (!out) missing += std::string(missing.empty() ? "" : ", ") + name;
}

} // namespace

bool ResolveEmulatorControl(const std::function<void*(const char*)>& lookup, EmulatorControl& c, std::string& missing) {
    bind(lookup, "EmuConfigure", c.configure, missing);
    bind(lookup, "EmuProblem", c.problem, missing);
    bind(lookup, "EmuReset", c.reset, missing);
    bind(lookup, "EmuPlug", c.plug, missing);
    bind(lookup, "EmuUnplug", c.unplug, missing);
    bind(lookup, "EmuIsPlugged", c.isPlugged, missing);
    bind(lookup, "EmuSetLatencyMicros", c.setLatencyMicros, missing);
    bind(lookup, "EmuPressBankKey", c.pressBankKey, missing);
    bind(lookup, "EmuSendConsumer", c.sendConsumer, missing);
    bind(lookup, "EmuInjectFault", c.injectFault, missing);
    bind(lookup, "EmuClearFaults", c.clearFaults, missing);
    bind(lookup, "EmuReadMemory", c.readMemory, missing);
    bind(lookup, "EmuWriteMemory", c.writeMemory, missing);
    bind(lookup, "EmuReportCount", c.reportCount, missing);
    bind(lookup, "EmuBankStatus", c.bankStatus, missing);
    bind(lookup, "EmuBootRequested", c.bootRequested, missing);
    bind(lookup, "EmuSaveState", c.saveState, missing);
    return missing.empty();
}

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
        std::string missing;
        if (!ResolveEmulatorControl([&lib](const char* name) { return lib.symbol(name); }, c, missing)) {
            std::fprintf(stderr, "the emulator library lacks %s\n", missing.c_str());
            std::abort();
        }
        return c;
    }();
    return control;
}

} // namespace ombrel::test
