#include "FirmwareCommands.h"

#include "BackupCommands.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace ombrel::cli {

namespace {

int cmdFirmwareBoot(CliSession& s, const Args& args) {
    const bool noBackup = args.size() == 1 && args[0] == "--no-backup";
    const bool withBackup = args.size() == 2 && args[0] == "--backup";
    if (!noBackup && !withBackup) {
        std::fprintf(stderr, "a firmware update starts with a backup of the key functions and macros: give\n"
                             "--backup FILE, or --no-backup to update without one\n");
        return kExitUsage;
    }
    if (withBackup) {
        const std::string& target = args[1];
        // A folder that cannot take the backup is refused before the keyboard is read.
        const std::filesystem::path parent = std::filesystem::path(target).parent_path();
        const std::string folder = parent.empty() ? "." : parent.string();
        if (::access(folder.c_str(), W_OK) != 0) {
            std::fprintf(stderr, "cannot write the backup into %s: %s; the boot request was not sent\n", folder.c_str(),
                         std::strerror(errno));
            return kExitFailed;
        }
        if (const int r = BackupKeyboard(s, target); r != kExitOk) {
            std::fprintf(stderr, "the boot request was not sent\n");
            return r;
        }
        std::printf("key functions and macros of the three profiles backed up to %s\n", target.c_str());
    }
    const int r = s.commands().EnterBoot();
    if (r != 1) {
        std::fprintf(stderr, "sending the boot request failed (result %d)\n", r);
        return kExitFailed;
    }
    std::printf("boot request sent: the keyboard restarts into its boot loader and waits for a firmware update\n");
    return kExitOk;
}

} // namespace

const std::vector<CommandInfo>& FirmwareCommands() {
    static const std::vector<CommandInfo> commands = {
        {"firmware boot", "[--force] --backup FILE | --no-backup",
         "back up key functions and macros, then send the keyboard into its boot loader", 0, 2, cmdFirmwareBoot,
         "Reads the three profiles' key functions and the macros into FILE (a new profile file; an existing\n"
         "one is replaced only with --force), then asks the keyboard to restart into its boot loader, where it\n"
         "waits for a firmware updater. Nothing is sent when the backup cannot be written. --no-backup sends\n"
         "the request without a backup.",
         nullptr, true},
    };
    return commands;
}

} // namespace ombrel::cli
