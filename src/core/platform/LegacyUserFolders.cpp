#include "platform/LegacyUserFolders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace ombrel {

namespace {

namespace fs = std::filesystem;

bool isFolder(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 || errno != ENOENT;
}

std::string quoted(const std::string& path) {
    std::string out = "'";
    for (char c : path)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// rename() keeps the move atomic: the folder is either at the old place or at the new one, never half copied.
void moveOnce(const std::string& from, const std::string& to, std::vector<std::string>& notes) {
    if (!isFolder(from) || exists(to)) return;
    std::error_code ec;
    fs::create_directories(fs::path(to).parent_path(), ec);
    if (::rename(from.c_str(), to.c_str()) == 0) {
        notes.push_back("moved " + from + " to " + to + " (the old place is no longer read)");
        return;
    }
    notes.push_back("could not move " + from + " to " + to + ": " + std::strerror(errno) + "; to move it by hand: mv " +
                    quoted(from) + " " + quoted(to));
}

} // namespace

std::string MoveLegacyStoreFile(const std::string& userDir) {
    const std::string from = userDir + "/" + kLegacyStoreFileName;
    const std::string to = StorePath(userDir);
    struct stat st {};
    if (::lstat(from.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || ::lstat(to.c_str(), &st) == 0) return {};
    if (::rename(from.c_str(), to.c_str()) == 0) return "moved " + from + " to " + to + " (the store's new name)";
    return "could not rename " + from + " to " + to + ": " + std::strerror(errno);
}

std::vector<std::string> MoveLegacyUserFolders(const AppPaths& paths) {
    std::vector<std::string> notes;
    const fs::path dataBase = fs::path(paths.userDir).parent_path();
    const fs::path configFolder = fs::path(paths.settingsIni).parent_path();
    const fs::path configBase = configFolder.parent_path();
    if (dataBase.empty() || configBase.empty()) return notes;

    moveOnce((dataBase / kLegacyUserFolderName).string(), paths.userDir, notes);
    moveOnce((dataBase / kLegacyUserFolderName).string() + "-emulator", paths.userDir + "-emulator", notes);
    for (const std::string& folder : {paths.userDir, paths.userDir + "-emulator"})
        if (std::string note = MoveLegacyStoreFile(folder); !note.empty()) notes.push_back(note);

    // The settings came from two folders: the first becomes the new folder, the second's one file joins it.
    const bool configExisted = exists(configFolder.string());
    moveOnce((configBase / kLegacyUserFolderName).string(), configFolder.string(), notes);
    const std::string oldProfiles = (configBase / kLegacyAppProfileFolderName).string();
    const std::string oldProfileIni = (fs::path(oldProfiles) / fs::path(paths.appProfileIni).filename()).string();
    if (configExisted || !isRegularFile(oldProfileIni) || exists(paths.appProfileIni)) return notes;
    std::error_code ec;
    fs::create_directories(configFolder, ec);
    if (::rename(oldProfileIni.c_str(), paths.appProfileIni.c_str()) != 0) {
        notes.push_back("could not move " + oldProfileIni + " to " + paths.appProfileIni + ": " + std::strerror(errno) +
                        "; to move it by hand: mv " + quoted(oldProfileIni) + " " + quoted(paths.appProfileIni));
        return notes;
    }
    ::rmdir(oldProfiles.c_str()); // only when nothing else is in it
    notes.push_back("moved " + oldProfileIni + " to " + paths.appProfileIni + " (the old place is no longer read)");
    return notes;
}

} // namespace ombrel
