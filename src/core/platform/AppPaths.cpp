#include "platform/AppPaths.h"

#include "platform/LegacyUserFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace ombrel {

namespace {

namespace fs = std::filesystem;

std::string envValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string homeFromPasswordDatabase() {
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(static_cast<std::size_t>(size > 0 ? size : 16384));
    passwd entry{};
    passwd* found = nullptr;
    while (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == ERANGE && buffer.size() < (1u << 20))
        buffer.resize(buffer.size() * 2);
    return found && found->pw_dir ? std::string(found->pw_dir) : std::string();
}

std::string withSlash(std::string dir) {
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir;
}

std::string withoutSlash(std::string dir) {
    while (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    return dir;
}

// An XDG base folder: the variable when it holds an absolute path (relative ones are invalid and ignored),
// otherwise the usual place below the home folder.
std::string xdgBase(const std::string& variable, const std::string& home, const char* fallbackBelowHome) {
    if (!variable.empty() && variable.front() == '/') return withoutSlash(variable);
    if (home.empty() || home.front() != '/') return {};
    return withSlash(home) + fallbackBelowHome;
}

void setUserDir(AppPaths& p, std::string userDir) {
    p.userDir = std::move(userDir);
    p.userIni = p.userDir + "/rira.ini";
    p.userColorPrefix = p.userDir + "/" + kUserColorFilePrefix;
}

} // namespace

PathEnvironment PathEnvironment::current() {
    PathEnvironment env;
    env.executablePath = ReadExecutablePath();
    env.dataDirOverride = envValue(kDataDirVariable);
    env.xdgDataHome = envValue("XDG_DATA_HOME");
    env.xdgConfigHome = envValue("XDG_CONFIG_HOME");
    env.home = envValue("HOME");
    if (env.home.empty()) env.home = homeFromPasswordDatabase();
    return env;
}

std::string ReadExecutablePath() {
    // The link's length is not bounded by PATH_MAX, so grow until the whole target fits.
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) return {};
        if (static_cast<std::size_t>(n) < buffer.size()) {
            std::string path(buffer.data(), static_cast<std::size_t>(n));
            // A program replaced on disk while running (a package upgrade) reads as "<path> (deleted)"; its
            // folder is still the right one for the data next to it.
            const std::string deleted = " (deleted)";
            std::error_code ec;
            if (path.size() > deleted.size() && path.ends_with(deleted) && !fs::exists(path, ec))
                path.resize(path.size() - deleted.size());
            return path;
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::optional<AppPaths> BuildAppPaths(const PathEnvironment& env) {
    if (env.executablePath.empty() || env.executablePath.front() != '/') return std::nullopt;
    const std::string dataBase = xdgBase(env.xdgDataHome, env.home, ".local/share");
    const std::string configBase = xdgBase(env.xdgConfigHome, env.home, ".config");
    if (dataBase.empty() || configBase.empty()) return std::nullopt;

    const fs::path program(env.executablePath);
    const fs::path bin = program.parent_path();
    const fs::path prefix = bin.parent_path();

    AppPaths p;
    p.modulePath = env.executablePath;
    p.exeName = program.filename().string();
    p.programDir = withSlash(bin.string());
    if (!env.dataDirOverride.empty()) {
        std::error_code ec;
        const fs::path absolute = fs::absolute(env.dataDirOverride, ec);
        p.dataDir = withSlash(ec ? env.dataDirOverride : absolute.string());
    } else {
        p.dataDir = withSlash((prefix / "share" / "ombrel").string());
    }
    const std::string skins = p.dataDir + "Skins/";
    p.helpDir = p.dataDir + "Help/";
    p.mainIni = skins + "Main.ini";
    p.userColorTemplatePrefix = skins + kUserColorFilePrefix;
    p.mainIniDir = skins;
    p.profileIni = skins + "Profile.ini";
    p.profileIniDir = skins;
    p.updateIni = skins + "UpdateDlg.ini";
    p.updateIniDir = skins;
    p.packageDir = p.dataDir + "Package";
    p.compositeIni = skins + "Composite.ini";
    p.compositeIniDir = skins;
    p.daemonExe = p.programDir + kDaemonName;
    p.serviceLibDir = withSlash((prefix / "lib" / "ombrel").string());

    setUserDir(p, withSlash(dataBase) + kPerUserFolderName);
    p.settingsIni = withSlash(configBase) + kPerUserFolderName + "/settings.ini";
    p.appProfileIni = withSlash(configBase) + kPerUserFolderName + "/" + kAppTitle + ".ini";
    p.autostartFile = withSlash(configBase) + "autostart/ombrel.desktop";
    return p;
}

AppPaths EmulatorAppPaths(AppPaths paths, const std::string& stateFile) {
    if (stateFile.empty()) {
        setUserDir(paths, paths.userDir + "-emulator");
        return paths;
    }
    setUserDir(paths, ResolvedStatePath(stateFile) + ".userdata");
    return paths;
}

std::string ResolvedStatePath(const std::string& stateFile) {
    if (stateFile.empty()) return stateFile;
    std::error_code ec;
    // weakly_canonical follows every link, also in a folder part, and keeps a missing last part as it is written.
    const fs::path real = fs::weakly_canonical(fs::absolute(stateFile, ec), ec);
    return ec ? stateFile : real.string();
}

const std::optional<AppPaths>& ProcessAppPaths() {
    static const std::optional<AppPaths> paths = [] {
        auto built = BuildAppPaths(PathEnvironment::current());
        if (built) {
            const std::string program = built->exeName.empty() ? "ombrel" : built->exeName;
            for (const std::string& note : MoveLegacyUserFolders(*built))
                std::fprintf(stderr, "%s: %s\n", program.c_str(), note.c_str());
        }
        return built;
    }();
    return paths;
}

std::string StorePath(const std::string& userDir, int /*profileIndex*/) {
    return userDir + "/" + kStoreFileName;
}

} // namespace ombrel
