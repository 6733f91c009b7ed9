#pragma once
// The first-run check behind `ombrelctl doctor`: everything that stands between the user and a working keyboard,
// each problem with the one command that fixes it. The system's folders are parameters, so the checks run on a
// fake sysfs/dev/proc tree in tests; what needs a running system (loading the library, asking the session bus)
// is done by the caller and handed in.

#include <sys/types.h>

#include <string>
#include <vector>

namespace ombrel {

enum class DesktopTray { Present, Missing, NoSession };

struct DoctorSystem {
    std::string sysRoot = "/sys";
    std::string devRoot = "/dev";
    std::string procRoot = "/proc";
    std::string udevDataDir = "/run/udev/data";
    // Where udev reads rules, and where an installation below /usr/local puts it although udev does not read it.
    std::vector<std::string> ruleFolders = {"/etc/udev/rules.d", "/run/udev/rules.d", "/usr/lib/udev/rules.d",
                                            "/lib/udev/rules.d"};
    std::vector<std::string> unreadRuleFolders = {"/usr/local/lib/udev/rules.d"};
    std::string shippedRule;         // the rule file the program ships, for the fix
    std::string serviceLibrary;      // its path
    std::string serviceLibraryError; // empty when it loaded
    DesktopTray tray = DesktopTray::NoSession;
    std::vector<std::string> userFolders; // per-user data and settings folders
    pid_t ownPid = 0;                     // not counted as another program holding the keyboard
    // Who runs the check and where, so each fix fits: root needs no sudo, a system without sudo gets "as root:",
    // and where no udev daemon runs (a container) udev rules and udevadm cannot help.
    bool asRoot = false;
    bool sudoAvailable = true;
    bool udevDaemon = true;
};

struct DoctorFinding {
    enum class Level { Ok, Note, Problem };
    Level level = Level::Ok;
    std::string text;
    std::string fix; // one command; problems only
};

struct DoctorReport {
    std::vector<DoctorFinding> findings;
    bool allWell() const;
    std::string format() const; // one line per finding, fixes indented below their problem
};

DoctorReport RunDoctor(const DoctorSystem& system);

inline constexpr const char* kUdevRuleName = "60-ombrel.rules";

} // namespace ombrel
