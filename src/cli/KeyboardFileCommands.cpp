#include "KeyboardFileCommands.h"

#include "CliSetupNames.h"
#include "CliTexts.h"
#include "KeyboardFileWork.h"
#include "WriteTarget.h"
#include "device/LinkResult.h"
#include "keyboardfile/KeyboardFileReader.h"
#include "keyboardfile/KeyboardSetupIo.h"
#include "platform/SafeFileWriter.h"
#include "profiles/ProfileStore.h"
#include "text/FileBytes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace ombrel::cli {

namespace {

// The keyboard and the places that go with it, for one command.
class SetupWork {
public:
    explicit SetupWork(CliSession& s)
        : m_texts(LoadCliTexts()), m_names(m_texts), m_screen(m_texts.text), m_places{s.commands(),
                                                                                      s.link().state(),
                                                                                      m_screen,
                                                                                      m_texts.text,
                                                                                      StorePath(s.paths().userDir),
                                                                                      s.paths().userColorPrefix},
          m_session(s) {}

    const CliSetupNames& names() const { return m_names; }
    SetupPlaces& places() { return m_places; }
    // The per-user folder, created as the window creates it, so the colour files read as the window reads them.
    bool ensureFolder() { return EnsureUserFolder(m_session.paths()); }

    int read(KeyboardSetup& setup) {
        std::string what;
        const int r = ReadKeyboardSetup(m_places, setup, &what);
        return r == LINK_OK ? kExitOk : ReportResult(what.c_str(), r);
    }

private:
    CliTexts m_texts;
    CliSetupNames m_names;
    ConsoleScreen m_screen;
    SetupPlaces m_places;
    CliSession& m_session;
};

// FILE and the options after it; prints what is wrong and returns false for anything else.
struct FileArguments {
    std::string file;
    std::optional<int> profile;
    bool dryRun = false;
};

std::optional<FileArguments> parseFileArguments(const Args& args, bool takesProfile, bool takesDryRun) {
    FileArguments out;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (takesProfile && args[i] == "--profile") {
            if (i + 1 == args.size()) {
                std::fprintf(stderr, "--profile needs a profile: 1, 2 or 3\n");
                return std::nullopt;
            }
            out.profile = parseProfile(args[++i]);
            if (!out.profile) return std::nullopt;
        } else if (takesDryRun && args[i] == "--dry-run") {
            out.dryRun = true;
        } else if (args[i].size() > 1 && args[i][0] == '-' && args[i] != "-") {
            std::fprintf(stderr, "unknown option %s\n", args[i].c_str());
            return std::nullopt;
        } else if (out.file.empty()) {
            out.file = args[i];
        } else {
            std::fprintf(stderr, "unexpected argument '%s'\n", args[i].c_str());
            return std::nullopt;
        }
    }
    if (out.file.empty()) {
        std::fprintf(stderr, "no file given\n");
        return std::nullopt;
    }
    return out;
}

int cmdExport(CliSession& s, const Args& args) {
    const auto a = parseFileArguments(args, true, false);
    if (!a) return kExitUsage;
    const ExistingFile existing = s.options().force ? ExistingFile::Replace : ExistingFile::Keep;
    // Refused before the keyboard is read: a folder or a file kept without --force would only fail at the end.
    if (a->file != "-")
        if (const int r = CheckWriteTarget(a->file, existing); r != kExitOk) return r;
    SetupWork work(s);
    if (!work.ensureFolder()) return kExitFailed;
    KeyboardSetup setup;
    if (const int r = work.read(setup); r != kExitOk) return r;
    const std::string text = ExportKeyboardText(setup, a->profile, work.names());
    if (a->file == "-") {
        std::fputs(text.c_str(), stdout);
        return kExitOk;
    }
    if (const FileWriteResult written = WriteFileSafely(a->file, text, existing); !written) {
        std::fprintf(stderr, "%s%s\n", written.message.c_str(),
                     written.error == EEXIST ? "; give --force to replace it" : "");
        return kExitFailed;
    }
    std::printf("%s written to %s\n",
                a->profile ? ("profile " + std::to_string(*a->profile + 1)).c_str() : "the whole keyboard",
                a->file.c_str());
    return kExitOk;
}

int cmdApply(CliSession& s, const Args& args) {
    const auto a = parseFileArguments(args, false, true);
    if (!a) return kExitUsage;
    const FileBytes bytes = ReadFileBytes(a->file == "-" ? "/dev/stdin" : a->file, kMaxKeyboardFileSize + 1);
    if (bytes.status != FileBytes::Status::Ok) {
        std::error_code ec;
        const bool folder = std::filesystem::is_directory(a->file, ec);
        std::fprintf(stderr, "cannot read %s: %s\n", a->file.c_str(),
                     bytes.status == FileBytes::Status::Missing ? "there is no such file"
                     : folder                                   ? "it is a folder"
                                                                : std::strerror(EIO));
        return kExitFailed;
    }
    const CliTexts texts = LoadCliTexts();
    const CliSetupNames names(texts);
    return ApplyKeyboardFile(s, ReadKeyboardFile(bytes.bytes, names), a->file, a->dryRun);
}

} // namespace

int ApplyKeyboardFile(CliSession& s, const KeyboardFileRead& read, const std::string& file, bool dryRun) {
    SetupWork work(s);
    if (read.setup && !work.ensureFolder()) return kExitFailed;
    const ApplyOutcome applied = ApplyKeyboardSetup(work.places(), read, work.names(), dryRun);
    switch (applied.stage) {
    case ApplyOutcome::Stage::ReadFailed:
        return ReportResult(applied.why.c_str(), applied.result);
    case ApplyOutcome::Stage::Refused:
        std::fprintf(stderr, "%s\n%s was not applied; nothing was written\n",
                     DescribeProblems(applied.problems, file + ":").c_str(), file.c_str());
        return kExitFailed;
    case ApplyOutcome::Stage::WriteFailed:
        if (applied.result == LINK_NOT_KEPT && !applied.why.empty()) {
            std::fprintf(stderr, "%s\n", applied.why.c_str());
            return kExitFailed;
        }
        ReportResult(applied.why.c_str(), applied.result);
        std::fprintf(stderr, "the state before the write is kept: see ombrelctl history list\n");
        return kExitFailed;
    case ApplyOutcome::Stage::Done:
        break;
    }
    if (!dryRun && applied.difference.empty()) {
        std::printf("the keyboard already matches %s; nothing was written\n", file.c_str());
        return kExitOk;
    }
    for (const std::string& line : applied.difference)
        std::printf("%s\n", line.c_str());
    return dryRun && !applied.difference.empty() ? kExitWouldChange : kExitOk;
}

int ReadKeyboardNow(CliSession& s, KeyboardSetup& setup) {
    SetupWork work(s);
    if (!work.ensureFolder()) return kExitFailed;
    return work.read(setup);
}

const std::vector<CommandInfo>& KeyboardFileCommands() {
    static const std::vector<CommandInfo> commands = {
        {"export", "[--force] FILE [--profile P]", "write the whole keyboard (or profile P) to a readable file", 1, 3,
         cmdExport,
         "Writes the macros, and for each profile the key functions, the lighting and the colour patterns with\n"
         "every key's colour, to FILE as text (TOML, see ombrel-keyboard(5)); FILE '-' is standard output.\n"
         "With --profile P only that profile. An existing FILE is only replaced with --force.",
         nullptr, true},
        {"apply", "FILE [--dry-run]", "make the keyboard match a keyboard file, writing only what differs", 1, 2,
         cmdApply,
         "Reads FILE (see ombrel-keyboard(5); '-' is standard input). What it names is set, what it leaves out\n"
         "stays as it is, and only what differs is written: a second apply sends nothing. A file with a\n"
         "problem is refused with its line and column, and nothing is written. Prints what changed.\n"
         "With --dry-run prints what would change and writes nothing; exit code 0 when nothing would change,\n"
         "5 when something would."},
    };
    return commands;
}

} // namespace ombrel::cli
