#pragma once
// Every path the program uses, built once at start-up and only read afterwards. The build tree mirrors the
// installed layout (<prefix>/bin/ombrel, <prefix>/lib/ombrel, <prefix>/share/ombrel), so all program-side paths
// follow from the running executable. Per-user paths follow the XDG base directories. Paths are UTF-8
// std::string without any length limit; folder entries end with '/' so that "folder + file name" works the way
// the formats of the other modules build their names.

#include <optional>
#include <string>

namespace ombrel {

inline constexpr const char* kPerUserFolderName = "ombrel"; // below $XDG_DATA_HOME and $XDG_CONFIG_HOME
inline constexpr const char* kAppTitle = "Corvane Varn88-3 Mechanical Keyboard";
inline constexpr const char* kDaemonName = "RuZarodu";
inline constexpr const char* kDataDirVariable = "OMBREL_DATA_DIR";
inline constexpr const char* kUserColorFilePrefix = "UserDengColor_";
inline constexpr const char* kUserColorExtension = ".userd";

// The profile store file in `userDir`, whatever profile is asked for: one file for all three profiles, in the
// format of the profile files the user exports, so it is named like one.
inline constexpr const char* kStoreFileName = "keyboard-profiles.obp";
std::string StorePath(const std::string& userDir, int profileIndex = 0);

// What the paths are built from. Tests fill it by hand; the program takes `current()`.
struct PathEnvironment {
    std::string executablePath;  // the running program file
    std::string dataDirOverride; // OMBREL_DATA_DIR: replaces <prefix>/share/ombrel when set
    std::string xdgDataHome;
    std::string xdgConfigHome;
    std::string home; // $HOME, or the home folder of the password database when $HOME is unset

    static PathEnvironment current();
};

struct AppPaths {
    std::string modulePath;              // full path of the running program file
    std::string exeName;                 // its file name without folder
    std::string programDir;              // folder of the program file
    std::string dataDir;                 // Skins/, Help/, Package, the language files
    std::string helpDir;                 // dataDir + "Help/"
    std::string mainIni;                 // dataDir + "Skins/Main.ini"
    std::string userColorTemplatePrefix; // dataDir + "Skins/UserDengColor_"
    std::string mainIniDir;              // folder of mainIni
    std::string profileIni;
    std::string profileIniDir;
    std::string updateIni;
    std::string updateIniDir;
    std::string packageDir; // dataDir + "Package", no trailing '/'
    std::string compositeIni;
    std::string compositeIniDir;
    std::string daemonExe;       // programDir + "RuZarodu"
    std::string serviceLibDir;   // <prefix>/lib/ombrel/
    std::string userDir;         // $XDG_DATA_HOME/ombrel, no trailing '/'
    std::string userIni;         // userDir + "/rira.ini"
    std::string userColorPrefix; // userDir + "/UserDengColor_"
    std::string settingsIni;     // $XDG_CONFIG_HOME/ombrel/settings.ini
    std::string appProfileIni;   // $XDG_CONFIG_HOME/ombrel/<title>.ini
    std::string autostartFile;   // $XDG_CONFIG_HOME/autostart/ombrel.desktop ("Start with my session")
};

// A user colour file: `prefix` (userColorPrefix or userColorTemplatePrefix) + number + ".userd".
inline std::string UserColorFile(const std::string& prefix, int number) {
    return prefix + std::to_string(number) + kUserColorExtension;
}

// All paths from `env`; nullopt when the executable path is unknown or no per-user base folder can be found.
std::optional<AppPaths> BuildAppPaths(const PathEnvironment& env);

// The paths of an emulator run: the same, except that the per-user data (profile store, colour files, rira.ini)
// lives apart from the real keyboard's, so trying things on the emulator never changes what the real keyboard's
// data holds. With a state file the data sits beside it ("<state file>.userdata", one folder per emulated
// keyboard); a memory-only emulator uses "<userDir>-emulator".
AppPaths EmulatorAppPaths(AppPaths paths, const std::string& stateFile);
// The file a state file path names, absolute, every symbolic link followed: its lock and its per-user data go by
// this name, so a program reaching the file through a link shares them with one that names it directly.
std::string ResolvedStatePath(const std::string& stateFile);

// The paths of the running process, built on first use (thread-safe) and kept until the process ends. The first
// use also moves the per-user folders of earlier versions to their current places (see LegacyUserFolders.h) and
// says so on stderr.
const std::optional<AppPaths>& ProcessAppPaths();

// Full path of the running program (/proc/self/exe), or "" when the system does not say.
std::string ReadExecutablePath();

} // namespace ombrel
