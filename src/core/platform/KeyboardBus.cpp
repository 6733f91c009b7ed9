#include "platform/KeyboardBus.h"

#include <filesystem>
#include <system_error>

namespace ombrel {

std::string KeyboardTargetName(bool emulator, const std::string& emulatorState) {
    if (!emulator) return "keyboard";
    if (emulatorState.empty()) return {};
    // Both sides may name the file differently ("./state", a link to it): compare the file itself.
    std::error_code error;
    const auto path = std::filesystem::weakly_canonical(std::filesystem::absolute(emulatorState, error), error);
    if (error) return {};
    return "emulator:" + path.string();
}

} // namespace ombrel
