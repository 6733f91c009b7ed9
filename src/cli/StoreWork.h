#pragma once
// What the commands on key functions, macros and profile files share: a command's work on the key stores, done
// the way the window does it, and the keys and profile a command names.

#include "BackupWork.h"
#include "CliTexts.h"
#include "Commands.h"
#include "KeyArguments.h"
#include "KeyChange.h"
#include "assign/AssignmentCaption.h"
#include "device/LinkResult.h"
#include "keyboard/ConfigBlock.h"
#include "keys/KeymapCodec.h"
#include "keys/MacroImage.h"
#include "platform/PerUserFolder.h"
#include "platform/SafeFileWriter.h"
#include "profiles/BinaryFile.h"
#include "profiles/ProfileStore.h"
#include "profiles/StoreFile.h"
#include "transfer/KeyboardBackup.h"
#include "transfer/KeyboardWriter.h"

#include <cstdio>
#include <mutex>
#include <span>
#include <string>
#include <vector>

namespace ombrel::cli {

inline constexpr int kAllProfiles[] = {0, 1, 2};

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
        const StoreWriteOutcome written =
            WriteStoreThrough(m_stores, commands(), state(), m_screen, profiles, m_storePath);
        switch (written.stage) {
        case StoreWriteOutcome::Stage::Done:
            return kExitOk;
        case StoreWriteOutcome::Stage::WriteFailed:
            return ReportResult(kWritingKeysWhat, written.result);
        case StoreWriteOutcome::Stage::MacrosDoNotFit:
        case StoreWriteOutcome::Stage::StoreNotSaved:
            break;
        }
        std::fprintf(stderr, "%s\n", written.message.c_str());
        return kExitFailed;
    }

    // Keys the keyboard's factory block names no slot for cannot be given a function.
    bool keyboardHasKey(KeyIndex index) { return FactoryBlockHasKey(state().defaultKeymap(), index); }

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

// The profile named by the command's first argument, else the keyboard's active one; the exit code.
int ProfileOrActive(StoreWork& work, const Args& args, int& profile);

} // namespace ombrel::cli
