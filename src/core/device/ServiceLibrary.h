#pragma once
// Loads a build of the HID service library with dlopen and resolves its twelve calls by name. The library is
// never unloaded: its threads may still be delivering notifications when the program ends.

#include "device/ServiceApi.h"

#include <optional>
#include <string>

namespace ombrel {

class ServiceLibrary {
public:
    // Loads the library at `path`. On failure returns nothing and says why in `error` (which call is missing,
    // or what the loader said).
    static std::optional<ServiceLibrary> load(const std::string& path, std::string* error);

    const ServiceApi& api() const { return m_api; }
    // Looks up an additional symbol (e.g. the emulator's control calls); null when absent.
    void* symbol(const char* name) const;
    const std::string& path() const { return m_path; }
    // Why the emulator build refused to start (its EmuProblem); empty for the real library or when it did not.
    std::string emulatorProblem() const;

private:
    void* m_handle = nullptr;
    std::string m_path;
    ServiceApi m_api;
};

inline constexpr const char* kServiceLibraryName = "libVevIroz.so";
inline constexpr const char* kEmulatorLibraryName = "libVevIrozEmu.so";

// Which build of the service library a program runs on.
struct ServiceChoice {
    bool emulator = false;
    std::string emulatorState;      // the emulator's state file; empty: its memory lasts for this run only
    bool emulatorUnplugged = false; // the emulated keyboard starts unplugged
};

// Loads the build `choice` names from `libraryDir` and, for the emulator, configures it. On failure returns
// nothing and says why in `error`.
std::optional<ServiceLibrary> LoadServiceLibrary(const std::string& libraryDir, const ServiceChoice& choice,
                                                 std::string* error);

} // namespace ombrel
