#include "doctor/LocalDoctorSystem.h"

#include "device/ServiceLibrary.h"

#include <unistd.h>

#include <filesystem>

namespace ombrel {

DoctorSystem LocalDoctorSystem(const AppPaths& paths) {
    DoctorSystem system;
    system.shippedRule = paths.dataDir + "udev/" + kUdevRuleName;
    system.serviceLibrary = paths.serviceLibDir + kServiceLibraryName;
    std::string error;
    if (!ServiceLibrary::load(system.serviceLibrary, &error)) system.serviceLibraryError = error.empty() ? "?" : error;
    system.userFolders = {paths.userDir, std::filesystem::path(paths.settingsIni).parent_path().string()};
    system.ownPid = ::getpid();
    system.asRoot = ::geteuid() == 0;
    system.sudoAvailable = ::access("/usr/bin/sudo", X_OK) == 0 || ::access("/bin/sudo", X_OK) == 0;
    // udevd answers on this socket; without it (a container) no rule is ever applied.
    system.udevDaemon = ::access("/run/udev/control", F_OK) == 0;
    return system;
}

} // namespace ombrel
