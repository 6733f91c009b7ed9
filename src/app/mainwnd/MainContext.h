#pragma once
// What the main window is given by the application: the paths, the settings, the loaded service library and the
// start switches. Tests build one by hand around temporary folders and the emulator.

#include "device/ReportExchange.h"
#include "device/ServiceApi.h"
#include "platform/AppPaths.h"
#include "platform/SettingsStore.h"

#include <optional>

namespace ombrel {

struct MainContext {
    AppPaths paths;
    SettingsStore* settings = nullptr; // outlives the window
    const ServiceApi* api = nullptr;   // outlives the window
    bool autoShowDone = false;         // "/Start": stay in the tray until the user opens the window
    bool emulator = false;             // the keyboard is the built-in emulator (no system to check when it is absent)
    // Whether the desktop shows tray icons; unset = ask the desktop. Without a tray the window is shown at start
    // and is minimised where it would hide, so the program can always be reached.
    std::optional<bool> trayAvailable;
    ExchangeTiming timing{};
};

} // namespace ombrel
