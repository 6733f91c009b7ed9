#include "firmware/UpdaterCommand.h"

#include "platform/DetachedProcess.h"
#include "text/AsciiCase.h"

#include <sys/stat.h>

namespace ombrel {

namespace {

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool isWindowsProgram(const std::string& path) {
    constexpr std::string_view kExtension = ".exe";
    return path.size() > kExtension.size() && AsciiLower(path.substr(path.size() - kExtension.size())) == kExtension;
}

} // namespace

UpdaterCommand PlanUpdaterCommand(const std::string& updaterPath, const std::string& searchPath) {
    using Kind = UpdaterCommand::Kind;
    if (!isRegularFile(updaterPath)) return {Kind::NoFile, {}};
    if (isWindowsProgram(updaterPath)) {
        const std::string wine = FindProgramOnPath("wine", searchPath);
        if (wine.empty()) return {Kind::NeedsWine, {}};
        return {Kind::ThroughWine, {wine, updaterPath}};
    }
    if (!IsExecutableFile(updaterPath)) return {Kind::NotRunnable, {}};
    return {Kind::Native, {updaterPath}};
}

} // namespace ombrel
