#include "BackupCommands.h"

#include "BackupWork.h"
#include "StoreWork.h"
#include "WriteTarget.h"
#include "profiles/StoreContentCheck.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <mutex>

namespace ombrel::cli {

namespace {

int checkBackupTarget(const std::string& target, ExistingFile existing) {
    if (target.empty()) {
        std::fprintf(stderr, "no file name given for the backup\n");
        return kExitUsage;
    }
    return CheckWriteTarget(target, existing);
}

int cmdBackup(CliSession& s, const Args& args) {
    const int r = BackupKeyboard(s, args[0]);
    if (r == kExitOk) std::printf("key functions and macros of the three profiles written to %s\n", args[0].c_str());
    return r;
}

// Checks a profile file: its header must be one this program can load, and with `listProblems` whatever is wrong
// in its body is listed. Returns the problems of the body; `usable` says whether the header allows loading at all.
std::vector<ContentProblem> checkProfileFile(const std::string& path, bool& usable) {
    NullScreen quiet;
    std::string why;
    std::vector<ContentProblem> problems;
    usable = ValidateFile(path, quiet, &why, &problems) == VALIDATE_OK;
    if (!usable) {
        std::fprintf(stderr, "%s\n", NotAProfileFileText(path, why).c_str());
        return problems;
    }
    if (!problems.empty()) std::fprintf(stderr, "%s\n", DamageText(path, problems).c_str());
    return problems;
}

int cmdValidate(const Args& args, const CliOptions&) {
    bool usable = false;
    const auto problems = checkProfileFile(args[0], usable);
    if (!usable) return kExitFailed;
    if (!problems.empty()) {
        std::fprintf(stderr, "%s is damaged: the values above are out of their ranges\n", args[0].c_str());
        return kExitFailed;
    }
    AssignmentStore store;
    LoadStore(store, args[0]);
    std::printf("%s is a valid profile file: %u macros, %u bytes of program and text strings\n", args[0].c_str(),
                store.macroCount(), store.strings.stringBytes());
    return kExitOk;
}

int cmdRestore(CliSession& s, const Args& args) {
    bool usable = false;
    const auto problems = checkProfileFile(args[0], usable);
    if (!usable) return kExitFailed;
    if (!problems.empty() && !s.options().force) {
        std::fprintf(stderr, "%s\n", DamagedRefusalText(args[0], true).c_str());
        return kExitFailed;
    }
    StoreWork work(s);
    {
        std::lock_guard guard(work.working().lock);
        std::string why;
        if (LoadStore(work.working(), args[0], &why) != 1) {
            std::fprintf(stderr, "loading %s failed: %s\n", args[0].c_str(), why.c_str());
            return kExitFailed;
        }
    }
    const int r = work.saveAndWrite(kAllProfiles);
    if (r == kExitOk) std::printf("all three profiles restored from %s\n", args[0].c_str());
    return r;
}

} // namespace

// Reads the keyboard's key functions and macros into the profile file `target`. An existing file is only replaced
// with --force. Prints what failed; returns the exit code.
int BackupKeyboard(CliSession& s, const std::string& target) {
    // Asked before the keyboard is read, so the user does not wait for a refusal; the write checks again.
    const ExistingFile existing = s.options().force ? ExistingFile::Replace : ExistingFile::Keep;
    if (const int r = checkBackupTarget(target, existing); r != kExitOk) return r;
    StoreWork work(s);
    int result = LINK_OK;
    const auto file = ReadKeyboardImage(work.commands(), work.state(), work.text(), &result);
    if (!file) return ReportResult("reading the key functions and macros", result);
    if (const FileWriteResult written = WriteBinaryFile(target, *file, existing); !written) {
        std::fprintf(stderr, "%s%s\n", written.message.c_str(),
                     written.error == EEXIST ? "; give --force to replace it" : "");
        return kExitFailed;
    }
    return kExitOk;
}

const std::vector<CommandInfo>& BackupCommands() {
    static const std::vector<CommandInfo> commands = {
        {"backup", "[--force] FILE", "read key functions and macros of all profiles into a profile file", 1, 1,
         cmdBackup,
         "Reads the three key-function blocks and the macro memory and writes them to FILE (a profile file).\n"
         "An existing FILE is only replaced with --force, and only when it is a regular file you may write.\n"
         "Program and text functions are not kept by the keyboard and come back as factory and disabled keys.",
         nullptr, true},
        {"validate", "FILE", "check that FILE is a well-formed profile file", 1, 1, nullptr,
         "Checks FILE's header and every key record, macro and string in it; needs no keyboard. Lists what is\n"
         "wrong (profile, key, what). Exit code 0 for a valid file, 1 otherwise.",
         cmdValidate},
        {"restore", "[--force] FILE", "write a profile file's key functions and macros to the keyboard", 1, 1,
         cmdRestore,
         "Validates FILE, loads it, saves it as the profile store file and writes all three profiles and the\n"
         "macros to the keyboard. A damaged FILE (see validate) is refused, leaving the store and the keyboard\n"
         "as they were, unless --force is given.",
         nullptr, true},
    };
    return commands;
}

} // namespace ombrel::cli
