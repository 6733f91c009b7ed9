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
#include "keys/Utf16Text.h"
#include "platform/PerUserFolder.h"
#include "profiles/BinaryFile.h"
#include "profiles/ProfileStore.h"
#include "profiles/StoreFile.h"

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
          m_storePath(StorePath(CliUserDir())) {
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
        if (!ReplaceBinaryFile(m_storePath, *file)) {
            std::fprintf(stderr, "writing %s failed\n", m_storePath.c_str());
            return kExitFailed;
        }
        std::string why;
        if (LoadStore(working(), m_storePath, &why) != 1) {
            std::fprintf(stderr, "loading %s failed: %s\n", m_storePath.c_str(), why.c_str());
            return kExitFailed;
        }
        return kExitOk;
    }

    // Saves the store into the profile store file and writes the macros and the blocks of `profiles`.
    int saveAndWrite(std::span<const int> profiles) {
        std::lock_guard guard(working().lock);
        if (!ensureStoreFolder() || ExportStore(working(), m_storePath, false) != 1) {
            std::fprintf(stderr, "saving %s failed\n", m_storePath.c_str());
            return kExitFailed;
        }
        return ReportResult("writing the key functions and macros",
                            WriteKeysToKeyboard(m_stores, commands(), state(), m_screen, profiles));
    }

    // Keys the keyboard's factory block names no slot for cannot be given a function.
    bool keyboardHasKey(KeyIndex index) {
        const KeymapBlock factory(state().defaultKeymap());
        for (int slot = 0; slot < KeymapBlock::kSlots; ++slot)
            if (const KeyCode k = KeyOfEntry(factory.entry(slot)); k != 0 && KeyIndexOf(k) == index) return true;
        return false;
    }

    std::string caption(int profile, KeyIndex index) {
        const KeyRecord r = working().image.record(RecordNumber(profile, index));
        return AssignmentCaption(KeyDisplayName(index, m_texts.keyName), r, text(), m_texts.keyName,
                                 MacroNamesOf(working()));
    }

private:
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
    bool ensureStoreFolder() {
        const auto& paths = ProcessAppPaths();
        if (!paths) {
            std::fprintf(stderr, "no per-user folder for the profile store file: neither XDG_DATA_HOME nor a home "
                                 "folder is known\n");
            return false;
        }
        const PerUserFolderResult r = EnsurePerUserFolder(*paths);
        if (r.status == PerUserFolderStatus::Failed)
            std::fprintf(stderr, "cannot create %s: %s\n", paths->userDir.c_str(), r.error.c_str());
        return r.status != PerUserFolderStatus::Failed;
    }

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

int cmdBackup(CliSession& s, const Args& args) {
    StoreWork work(s);
    if (ReadKeyboardToFile(work.commands(), work.state(), args[0], work.text()) != 1) {
        std::fprintf(stderr, "backup failed: the keyboard could not be read completely, or %s could not be written\n",
                     args[0].c_str());
        return kExitFailed;
    }
    std::printf("key functions and macros of the three profiles written to %s\n", args[0].c_str());
    return kExitOk;
}

int cmdValidate(const Args& args) {
    NullScreen quiet;
    std::string why;
    const int r = ValidateFile(args[0], quiet, &why);
    if (r != VALIDATE_OK) {
        std::fprintf(stderr, "%s is not a valid profile file: %s\n", args[0].c_str(), why.c_str());
        return kExitFailed;
    }
    AssignmentStore store;
    LoadStore(store, args[0]);
    std::printf("%s is a valid profile file: %u macros, %u bytes of program and text strings\n", args[0].c_str(),
                store.macroCount(), store.strings.stringBytes());
    return kExitOk;
}

int cmdRestore(CliSession& s, const Args& args) {
    if (cmdValidate(args) != kExitOk) return kExitFailed;
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
    std::printf("Profile %d\n", profile);
    for (KeyIndex index : profileKeys()) {
        const KeyRecord r = work.working().image.record(RecordNumber(profile, index));
        std::printf("%-6s %-14s %s\n", KeyArgument(index).c_str(), FunctionArgument(r).c_str(),
                    work.caption(profile, index).c_str());
    }
    return kExitOk;
}

// Gives `key` of profile `profile` the function `function` and writes that profile.
int changeKey(CliSession& s, const std::string& profileArg, const std::string& keyArg, const std::string& function) {
    const auto profile = parseProfile(profileArg);
    if (!profile) return kExitUsage;
    StoreWork work(s);
    const auto key = ParseKeyArgument(keyArg, work.names());
    if (!key) {
        std::fprintf(stderr, "'%s' is not a key of the keyboard: give its name or its key code (0x03A)\n",
                     keyArg.c_str());
        return kExitUsage;
    }
    std::string error;
    auto record = ParseFunctionArgument(function, work.names(), work.text(), &error);
    if (!record) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return kExitUsage;
    }
    if (!work.keyboardHasKey(*key)) {
        std::fprintf(stderr, "the keyboard has no key %s: its factory key functions do not name it\n", keyArg.c_str());
        return kExitFailed;
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
                return kExitFailed;
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
    std::printf("profile %d: %s\n", *profile, work.caption(*profile, *key).c_str());
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
    if (w.macros.empty()) {
        std::printf("the keyboard holds no macros\n");
        return kExitOk;
    }
    std::printf("%-4s %-6s %-6s %-24s %s\n", "ID", "CYCLES", "STEPS", "NAME", "KEYS (profile:key)");
    for (const MacroRecord& m : w.macros) {
        std::string keys;
        for (int p = 0; p < kProfileCount; ++p)
            for (KeyIndex index : profileKeys()) {
                const KeyRecord r = w.image.record(RecordNumber(p, index));
                if (r.type == KF_MACRO && r.value == m.macroId())
                    keys += (keys.empty() ? "" : " ") + std::to_string(p) + ":" + KeyArgument(index);
            }
        std::printf("%-4u %-6u %-6u %-24s %s\n", m.macroId(), m.cycles(), m.actionCount(),
                    Utf16ToUtf8(m.name()).c_str(), keys.c_str());
    }
    return kExitOk;
}

// A backup target this run may create: a new file in a folder this user can write to. An existing file is not
// replaced: it may be an earlier backup the user still needs.
bool checkBackupTarget(const std::string& path) {
    if (FileExists(path)) {
        std::fprintf(stderr, "%s exists already; give a new file name for the backup\n", path.c_str());
        return false;
    }
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    const std::string folder = parent.empty() ? "." : parent.string();
    if (::access(folder.c_str(), W_OK) != 0) {
        std::fprintf(stderr, "cannot write the backup into %s: %s\n", folder.c_str(), std::strerror(errno));
        return false;
    }
    return true;
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
        const std::string& path = args[1];
        if (!checkBackupTarget(path)) return kExitUsage;
        StoreWork work(s);
        int result = LINK_OK;
        const auto image = ReadKeyboardImage(work.commands(), work.state(), work.text(), &result);
        if (!image) {
            std::fprintf(stderr, "the boot request was not sent\n");
            return ReportResult("reading the key functions and macros for the backup", result);
        }
        errno = 0;
        if (!ReplaceBinaryFile(path, *image)) {
            std::fprintf(stderr, "writing the backup %s failed: %s; the boot request was not sent\n", path.c_str(),
                         std::strerror(errno ? errno : EIO));
            return kExitFailed;
        }
        std::printf("key functions and macros of the three profiles backed up to %s\n", path.c_str());
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
    std::string("Gives KEY of profile P (0, 1 or 2) another function and writes the profile "
                "to the keyboard.\n") +
    "KEY is a key name from the language file (letter case and blanks do not matter), "
    "a key code in\nhexadecimal (0x03A), or G1..G9 / G1B..G9B.\n" +
    kFunctionArgumentHelp;

} // namespace

const std::vector<CommandInfo>& StoreCommands() {
    static const std::vector<CommandInfo> commands = {
        {"backup", "FILE", "read key functions and macros of all profiles into a profile file", 1, 1, cmdBackup,
         "Reads the three key-function blocks and the macro memory and writes them to FILE (a profile file).\n"
         "Program and text functions are not kept by the keyboard and come back as factory and disabled keys."},
        {"validate", "FILE", "check that FILE is a well-formed profile file", 1, 1, nullptr,
         "Checks FILE's header and contents; needs no keyboard. Exit code 0 for a valid file, 1 otherwise.",
         cmdValidate},
        {"restore", "FILE", "write a profile file's key functions and macros to the keyboard", 1, 1, cmdRestore,
         "Validates FILE, loads it, saves it as the profile store file and writes all three profiles and the\n"
         "macros to the keyboard."},
        {"keymap show", "[P]", "each key of profile P (default: the active one) with its function", 0, 1, cmdKeymapShow,
         "Lists the 105 keys and the G keys of profile P as the keyboard holds them: key, function (in the\n"
         "form 'keymap set' takes) and the key's caption."},
        {"keymap set", "P KEY FUNCTION", "give KEY of profile P another function", 3, 3, cmdKeymapSet,
         kKeymapSetHelp.c_str()},
        {"keymap reset", "P KEY", "give KEY of profile P its factory function back", 2, 2, cmdKeymapReset,
         "The same as 'keymap set P KEY default'."},
        {"firmware boot", "--backup FILE | --no-backup",
         "back up key functions and macros, then send the keyboard into its boot loader", 0, 2, cmdFirmwareBoot,
         "Reads the three profiles' key functions and the macros into FILE (a new profile file), then asks the\n"
         "keyboard to restart into its boot loader, where it waits for a firmware updater. Nothing is sent when\n"
         "the backup cannot be written. --no-backup sends the request without a backup."},
        {"macro list", "", "the macros the keyboard holds, with the keys that play them", 0, 0, cmdMacroList,
         "Lists id, cycles, step count and name of each macro in the keyboard's memory, and the keys\n"
         "(profile:key) that play it."},
    };
    return commands;
}

} // namespace ombrel::cli
