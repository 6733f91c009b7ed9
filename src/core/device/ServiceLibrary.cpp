#include "device/ServiceLibrary.h"

#include "VevIrozEmu.h"

#include <dlfcn.h>

#include <algorithm>
#include <filesystem>
#include <vector>

namespace ombrel {

namespace {

template <typename Fn>
bool resolve(void* handle, const char* name, Fn& out, std::string* error) {
    void* p = dlsym(handle, name);
    if (!p) {
        if (error) *error = std::string("the HID service library has no call named ") + name;
        return false;
    }
    out = reinterpret_cast<Fn>(p);
    return true;
}

} // namespace

std::optional<ServiceLibrary> ServiceLibrary::load(const std::string& path, std::string* error) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        if (error) {
            const char* why = dlerror();
            *error = "cannot load the HID service library " + path + (why ? std::string(": ") + why : "");
        }
        return std::nullopt;
    }
    ServiceLibrary lib;
    lib.m_handle = handle;
    lib.m_path = path;
    ServiceApi& a = lib.m_api;
    const bool ok = resolve(handle, "Debug", a.Debug, error) && resolve(handle, "Init", a.Init, error) &&
                    resolve(handle, "End", a.End, error) &&
                    resolve(handle, "RequestGetDeviceCount", a.RequestGetDeviceCount, error) &&
                    resolve(handle, "DeleteRequestFromUnitId", a.DeleteRequestFromUnitId, error) &&
                    resolve(handle, "DeleteRequestFromHandle", a.DeleteRequestFromHandle, error) &&
                    resolve(handle, "RequestWrite", a.RequestWrite, error) &&
                    resolve(handle, "RequestWriteOne", a.RequestWriteOne, error) &&
                    resolve(handle, "RequestStatusWrite", a.RequestStatusWrite, error) &&
                    resolve(handle, "RequestStatusGet", a.RequestStatusGet, error) &&
                    resolve(handle, "RequestAsyncRead", a.RequestAsyncRead, error) &&
                    resolve(handle, "RequestStatusSetFeature", a.RequestStatusSetFeature, error);
    if (!ok) {
        // Nothing of it was used; a library with a missing call is not kept.
        dlclose(handle);
        return std::nullopt;
    }
    a.Probe = reinterpret_cast<VevProbeFn>(dlsym(handle, "VevIrozProbe"));
    return lib;
}

void* ServiceLibrary::symbol(const char* name) const {
    return m_handle ? dlsym(m_handle, name) : nullptr;
}

std::optional<ServiceLibrary> LoadServiceLibrary(const std::string& libraryDir, const ServiceChoice& choice,
                                                 std::string* error) {
    const std::string path = libraryDir + (choice.emulator ? kEmulatorLibraryName : kServiceLibraryName);
    auto library = ServiceLibrary::load(path, error);
    if (!library || !choice.emulator) return library;
    auto configure = reinterpret_cast<decltype(&EmuConfigure)>(library->symbol("EmuConfigure"));
    if (!configure) {
        if (error) *error = path + " is not the emulator build of the HID service library";
        return std::nullopt;
    }
    configure(choice.emulatorState.empty() ? nullptr : choice.emulatorState.c_str());
    if (choice.emulatorUnplugged) {
        if (auto unplug = reinterpret_cast<decltype(&EmuUnplug)>(library->symbol("EmuUnplug"))) unplug();
    }
    return library;
}

std::string ServiceLibrary::emulatorProblem() const {
    auto problem = reinterpret_cast<decltype(&EmuProblem)>(symbol("EmuProblem"));
    if (!problem) return {};
    std::vector<char> text(static_cast<std::size_t>(std::max(problem(nullptr, 0), 0)) + 1);
    problem(text.data(), static_cast<std::int32_t>(text.size()));
    return std::string(text.data());
}

} // namespace ombrel
