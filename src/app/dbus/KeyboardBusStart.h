#pragma once
// Puts the window's keyboard on the session bus for the run of the program.

#include "apprules/ApplicationRules.h"

#include <QString>

#include <functional>

#include <memory>
#include <string>

namespace ombrel {

struct AppPaths;
class MainWindow;
class KeyboardBusService;

// Serves the keyboard of `window` as io.github.ombrel.Ombrel, for the keyboard `target` (KeyboardTargetName), with the
// language files of `dataDir` and the per-user files of `userPaths` (the emulator's own for the emulator).
// Without a session bus the program runs as before, without the service; a name that another Ombrel holds is
// said on stderr. The service ends with the window's `ended`. `applicationActivated` hears the desktop's reports of
// the application in front, on the window's thread.
std::unique_ptr<KeyboardBusService>
ServeKeyboardOnBus(MainWindow& window, const std::string& target, const std::string& dataDir, const AppPaths& userPaths,
                   std::function<void(const apprules::ApplicationIdentity&)> applicationActivated = {});

} // namespace ombrel
