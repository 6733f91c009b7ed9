#include "StoreCommands.h"

#include "CliTexts.h"
#include "KeyArguments.h"
#include "device/ActiveProfile.h"
#include "device/LinkResult.h"
#include "keyboard/ConfigBlock.h"
#include "keys/AssignmentCaption.h"
#include "keys/KeyboardBackup.h"
#include "keys/KeyboardWriter.h"
#include "keys/KeymapCodec.h"
#include "keys/MacroImage.h"
#include "keys/Utf16Text.h"
#include "platform/PerUserFolder.h"
#include "platform/SafeFileWriter.h"
#include "profiles/BinaryFile.h"
#include "profiles/ProfileStore.h"
#include "profiles/StoreFile.h"
#include "text/JsonWriter.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>

namespace ombrel::cli {

namespace {

constexpr int kAllProfiles[] = {0, 1, 2};
constexpr int kGKeysPerBank = 9;

// One command's work on the key stores, done the way the window does it: the store is refreshed from the
// keyboard, changed, saved to the profile store file and written to the keyboard in one transaction.
class StoreWork {
public:
    explicit StoreWork(CliSession& session)
        : m_session(session), m_texts(LoadCliTexts()), m_screen(m_texts.text), m_names(m_texts.text),
          m_storePath(StorePath(session.paths().userDir)) {
        // The keyboard is this run's alone, and so is its store file: a temporary file a killed run left is ours.
        RemoveStaleTemporaryFiles(m_storePath);
        learnKeyboard();
    }

    const KeyNames& names() const { return m_names; }
    const TextLookup& text() const { return m_texts.text; }
    AssignmentStore& working() { return m_stores.workingStore; }
    const std::string& storePath() const { return m_storePath; }
    DeviceCommands& commands() { return m_session.commands(); }
    DeviceState& state() { return m_session.link().state(); }

    // The store as the keyboard holds it. With `intoStoreFile` it goes through the profile store file, as when
    // the keyboard arrives; otherwise the file is left alone.
    int refresh(bool intoStoreFile) {
        int result = LINK_OK;
        const auto file = ReadKeyboardImage(commands(), state(), text(), &result);
        if (!file) return ReportResult("reading the key functions and macros", result);
        std::lock_guard guard(working().lock);
        if (!intoStoreFile) {
            ReplaceStoreContents(working(), ParseStoreFile(*file, false).contents);
            return kExitOk;
        }
        if (!ensureStoreFolder()) return kExitFailed;
        if (const FileWriteResult written = WriteBinaryFile(m_storePath, *file); !written) {
            std::fprintf(stderr, "%s\n", written.message.c_str());
            return kExitFailed;
        }
        std::string why;
        if (LoadStore(working(), m_storePath, &why) != 1) {
            std::fprintf(stderr, "loading %s failed: %s\n", m_storePath.c_str(), why.c_str());
            return kExitFailed;
        }
        return kExitOk;
    }

    // Writes the macros and the blocks of `profiles` to the keyboard, then saves the store into the profile store
    // file. The keyboard goes first: the store must never hold what the keyboard did not take, and a store left
    // behind by a crash is replaced from the keyboard at the next run (refresh).
    int saveAndWrite(std::span<const int> profiles) {
        std::lock_guard guard(working().lock);
        if (!ensureStoreFolder()) return kExitFailed;
        if (const int r = macrosFit(); r != kExitOk) return r;
        const int written = WriteKeysToKeyboard(m_stores, commands(), state(), m_screen, profiles);
        if (const int r = ReportResult("writing the key functions and macros", written); r != kExitOk) return r;
        if (std::string why; ExportStore(working(), m_storePath, false, &why) != 1) {
            std::fprintf(stderr, "%s\nthe keyboard holds the new key functions, but the profile store file does not\n",
                         why.c_str());
            return kExitFailed;
        }
        return kExitOk;
    }

    // Keys the keyboard's factory block names no slot for cannot be given a function.
    bool keyboardHasKey(KeyIndex index) {
        const KeymapBlock factory(state().defaultKeymap());
        for (int slot = 0; slot < KeymapBlock::kSlots; ++slot)
            if (const KeyCode k = KeyOfEntry(factory.entry(slot)); k != 0 && KeyIndexOf(k) == index) return true;
        return false;
    }

    std::string keyLabel(KeyIndex index) const { return KeyLabel(index, m_texts.keyName); }
    std::string description(const KeyRecord& r) {
        return FunctionDescription(r, text(), m_texts.keyName, MacroNamesOf(working()));
    }
    // "Caps Lock: Key (Esc)".
    std::string keyLine(int profile, KeyIndex index) {
        const KeyRecord r = working().image.record(RecordNumber(profile, index));
        return KeyLine(keyLabel(index), description(r), text());
    }

private:
    // The macros must fit the keyboard's macro memory (without their names, if need be); says so once when not.
    int macrosFit() {
        const unsigned capacity = state().macroCapacity.load();
        const std::size_t needed = MeasureMacroImage(working().macros).withoutNames;
        if (capacity == 0 || needed <= capacity) return kExitOk;
        std::fprintf(stderr,
                     "the macros need %zu bytes but the keyboard's macro memory holds %u; nothing was written. "
                     "Shorten or delete some macros\n",
                     needed, capacity);
        return kExitFailed;
    }

    // What the program learns when the keyboard arrives: its factory key functions and its macro memory size.
    void learnKeyboard() {
        KeymapBytes factory{};
        if (commands().ReadDefaultKeymap(factory) == LINK_OK)
            state().setDefaultKeymap(factory);
        else
            std::fprintf(stderr, "warning: the factory key functions could not be read; using the built-in table\n");
        ConfigBlock config;
        if (commands().ReadConfig(config.bytes) == LINK_OK) state().macroCapacity.store(config.macroCapacity());
    }

    // The per-user folder, created (and seeded) as the window creates it at its first start.
    bool ensureStoreFolder() { return EnsureUserFolder(m_session.paths()); }

    CliSession& m_session;
    CliTexts m_texts;
    ConsoleScreen m_screen;
    KeyNames m_names;
    std::string m_storePath;
    KeyStores m_stores;
};

// The keys a profile has: the 105 keys of the keyboard map, then G1..G9 of bank A and of bank B.
std::vector<KeyIndex> profileKeys() {
    std::vector<KeyIndex> keys;
    for (const KeyButton& b : KeyButtonTable())
        keys.push_back(KeyIndexOf(b.code));
    for (int m = 0; m < kGKeySlots; ++m)
        keys.push_back(static_cast<KeyIndex>(kFirstGKeyIndex + m));
    return keys;
}

int profileOrActive(StoreWork& work, const Args& args, int& profile) {
    if (!args.empty()) {
        const auto p = parseProfile(args[0]);
        if (!p) return kExitUsage;
        profile = *p;
        return kExitOk;
    }
    profile = GetActiveProfile(work.commands(), work.state());
    return profile >= 0 && profile < kProfileCount ? kExitOk
                                                   : ReportResult("reading the active profile", LINK_NO_REPLY);
}

// Whether `target` may take a backup: only a regular file (or a link to one) is ever replaced, and only with
// --force; anything else is refused with what it is, so --force is never proposed where it cannot help.
int checkBackupTarget(const std::string& target, ExistingFile existing) {
    if (target.empty()) {
        std::fprintf(stderr, "no file name given for the backup\n");
        return kExitUsage;
    }
    struct stat link {};
    if (::lstat(target.c_str(), &link) != 0) return kExitOk; // nothing there yet
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0) {
        std::fprintf(stderr, "cannot write %s: it is a link to a file that does not exist\n", target.c_str());
        return kExitFailed;
    }
    if (S_ISDIR(info.st_mode)) {
        std::fprintf(stderr, "cannot write %s: it is a folder\n", target.c_str());
        return kExitFailed;
    }
    if (!S_ISREG(info.st_mode)) {
        std::fprintf(stderr, "cannot write %s: it is not a regular file (a device, pipe or socket) and is left alone\n",
                     target.c_str());
        return kExitFailed;
    }
    if (existing == ExistingFile::Keep) {
        std::fprintf(stderr, "%s already exists; give --force to replace it\n", target.c_str());
        return kExitFailed;
    }
    return kExitOk;
}

// Reads the keyboard's key functions and macros into the profile file `target`. An existing file is only replaced
// with --force. Prints what failed; returns the exit code.
int backupKeyboard(CliSession& s, const std::string& target) {
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

int cmdBackup(CliSession& s, const Args& args) {
    const int r = backupKeyboard(s, args[0]);
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
        std::fprintf(stderr, "%s is not a valid profile file: %s\n", path.c_str(), why.c_str());
        return problems;
    }
    for (const ContentProblem& p : problems)
        std::fprintf(stderr, "%s: %s\n", path.c_str(), p.describe().c_str());
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
        std::fprintf(stderr,
                     "%s is damaged (see above); nothing was restored. Give --force to restore it anyway: keys with "
                     "values out of range then get their factory function back\n",
                     args[0].c_str());
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

int cmdKeymapShow(CliSession& s, const Args& args) {
    StoreWork work(s);
    int profile = 0;
    if (const int r = profileOrActive(work, args, profile); r != kExitOk) return r;
    if (const int r = work.refresh(false); r != kExitOk) return r;
    if (!s.options().json) {
        std::printf("Profile %d\n", ProfileNumber(profile));
        for (KeyIndex index : profileKeys())
            std::printf("%s\n", work.keyLine(profile, index).c_str());
        return kExitOk;
    }
    JsonWriter json;
    json.beginObject().member("profile", ProfileNumber(profile)).key("keys").beginArray();
    for (KeyIndex index : profileKeys()) {
        const KeyRecord r = work.working().image.record(RecordNumber(profile, index));
        json.beginObject().member("key", work.keyLabel(index)).member("key_argument", KeyArgument(index));
        if (index < kFirstGKeyIndex) json.member("key_code", unsigned(KeyCodeOf(index)));
        json.member("function", FunctionArgument(r)).member("description", work.description(r)).endObject();
    }
    json.endArray().endObject();
    std::fputs(json.text().c_str(), stdout);
    return kExitOk;
}

// Gives `key` of profile `profile` the function `function` and writes that profile.
int changeKey(CliSession& s, const std::string& profileArg, const std::string& keyArg, const std::string& function) {
    const auto profile = parseProfile(profileArg);
    if (!profile) return kExitUsage;
    StoreWork work(s);
    const KeyArgumentLookup found = LookupKeyArgument(keyArg, work.names());
    if (!found.index) {
        std::fprintf(stderr, "%s\n", found.problem.c_str());
        return kExitUsage;
    }
    const auto key = found.index;
    std::string error;
    auto record = ParseFunctionArgument(function, work.names(), &error);
    if (!record) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return kExitUsage;
    }
    if (!work.keyboardHasKey(*key)) {
        std::fprintf(stderr, "the keyboard has no key %s: its factory key functions do not name it\n", keyArg.c_str());
        return kExitUsage;
    }
    if (const int r = work.refresh(true); r != kExitOk) return r;
    {
        AssignmentStore& w = work.working();
        std::lock_guard guard(w.lock);
        if (record->type == KF_MACRO) {
            const auto at = FindMacro(w, record->value);
            if (!at) {
                std::fprintf(stderr, "the keyboard holds no macro with id %u (see ombrelctl macro list)\n",
                             record->value);
                return kExitUsage;
            }
            record->extra = w.macros[static_cast<std::size_t>(*at)].cycles();
        }
        const int n = RecordNumber(*profile, *key);
        const KeyRecord old = w.image.record(n);
        if (*key >= kFirstGKeyIndex) record->extra = old.extra; // G keys keep their tag
        w.strings.clear(n);
        w.image.setRecord(n, *record);
    }
    const int one[] = {*profile};
    if (const int r = work.saveAndWrite(one); r != kExitOk) return r;
    std::printf("Profile %d: %s\n", ProfileNumber(*profile), work.keyLine(*profile, *key).c_str());
    return kExitOk;
}

int cmdKeymapSet(CliSession& s, const Args& args) {
    return changeKey(s, args[0], args[1], args[2]);
}

int cmdKeymapReset(CliSession& s, const Args& args) {
    return changeKey(s, args[0], args[1], "default");
}

int cmdMacroList(CliSession& s, const Args&) {
    StoreWork work(s);
    if (const int r = work.refresh(false); r != kExitOk) return r;
    const AssignmentStore& w = work.working();
    // The keys that play macro `id`, as profile and key.
    auto keysOf = [&](std::uint32_t id) {
        std::vector<std::pair<int, KeyIndex>> keys;
        for (int p = 0; p < kProfileCount; ++p)
            for (KeyIndex index : profileKeys()) {
                const KeyRecord r = w.image.record(RecordNumber(p, index));
                if (r.type == KF_MACRO && r.value == id) keys.emplace_back(p, index);
            }
        return keys;
    };
    if (s.options().json) {
        JsonWriter json;
        json.beginObject().key("macros").beginArray();
        for (const MacroRecord& m : w.macros) {
            json.beginObject()
                .member("id", unsigned(m.macroId()))
                .member("name", Utf16ToUtf8(m.name()))
                .member("cycles", unsigned(m.cycles()))
                .member("steps", unsigned(m.actionCount()))
                .key("keys")
                .beginArray();
            for (const auto& [p, index] : keysOf(m.macroId()))
                json.beginObject()
                    .member("profile", ProfileNumber(p))
                    .member("key", work.keyLabel(index))
                    .member("key_argument", KeyArgument(index))
                    .endObject();
            json.endArray().endObject();
        }
        json.endArray().endObject();
        std::fputs(json.text().c_str(), stdout);
        return kExitOk;
    }
    if (w.macros.empty()) {
        std::printf("the keyboard holds no macros\n");
        return kExitOk;
    }
    std::printf("%-4s %-6s %-6s %-24s %s\n", "ID", "CYCLES", "STEPS", "NAME", "KEYS (profile:key)");
    for (const MacroRecord& m : w.macros) {
        std::string keys;
        for (const auto& [p, index] : keysOf(m.macroId()))
            keys += (keys.empty() ? "" : ", ") + std::to_string(ProfileNumber(p)) + ":" + work.keyLabel(index);
        std::printf("%-4u %-6u %-6u %-24s %s\n", m.macroId(), m.cycles(), m.actionCount(),
                    Utf16ToUtf8(m.name()).c_str(), keys.c_str());
    }
    return kExitOk;
}

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
        if (const int r = backupKeyboard(s, target); r != kExitOk) {
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

const std::string kKeymapSetHelp =
    std::string("Gives KEY of profile P (1, 2 or 3) another function and writes the profile "
                "to the keyboard.\n") +
    "KEY is a key name from the language file (letter case, blanks and punctuation do not matter, a unique\n"
    "beginning is enough, the map's short captions such as Ctrl, Win or Del work too), a key code in\n"
    "hexadecimal (0x03A), or G1..G9 / G1B..G9B.\n" +
    kFunctionArgumentHelp;

} // namespace

const std::vector<CommandInfo>& StoreCommands() {
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
        {"keymap show", "[P]", "each key of profile P (default: the active one) with its function", 0, 1, cmdKeymapShow,
         "Lists the 105 keys and the G keys of profile P as the keyboard holds them, one line each in the\n"
         "window's words: \"Caps Lock: Key (Esc)\". With --json each key also comes with its function in the\n"
         "form 'keymap set' takes.",
         nullptr, false, true},
        {"keymap set", "P KEY FUNCTION", "give KEY of profile P another function", 3, 3, cmdKeymapSet,
         kKeymapSetHelp.c_str()},
        {"keymap reset", "P KEY", "give KEY of profile P its factory function back", 2, 2, cmdKeymapReset,
         "The same as 'keymap set P KEY default'."},
        {"firmware boot", "[--force] --backup FILE | --no-backup",
         "back up key functions and macros, then send the keyboard into its boot loader", 0, 2, cmdFirmwareBoot,
         "Reads the three profiles' key functions and the macros into FILE (a new profile file; an existing\n"
         "one is replaced only with --force), then asks the keyboard to restart into its boot loader, where it\n"
         "waits for a firmware updater. Nothing is sent when the backup cannot be written. --no-backup sends\n"
         "the request without a backup.",
         nullptr, true},
        {"macro list", "", "the macros the keyboard holds, with the keys that play them", 0, 0, cmdMacroList,
         "Lists id, cycles, step count and name of each macro in the keyboard's memory, and the keys\n"
         "(profile:key) that play it.",
         nullptr, false, true},
    };
    return commands;
}

} // namespace ombrel::cli
