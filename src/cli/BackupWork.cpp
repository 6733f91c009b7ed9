#include "BackupWork.h"

#include "device/LinkResult.h"
#include "keys/MacroImage.h"
#include "profiles/ProfileStore.h"
#include "transfer/KeyboardWriter.h"

namespace ombrel::cli {

std::string NotAProfileFileText(const std::string& name, const std::string& why) {
    return name + " is not a valid profile file: " + why;
}

std::string DamageText(const std::string& name, const std::vector<ContentProblem>& problems) {
    std::string text;
    for (const ContentProblem& p : problems)
        text += (text.empty() ? "" : "\n") + name + ": " + p.describe();
    return text;
}

std::string DamagedRefusalText(const std::string& name, bool forceHint) {
    std::string text = name + " is damaged (see above); nothing was restored.";
    if (forceHint)
        text += " Give --force to restore it anyway: keys with values out of range then get their factory function "
                "back";
    return text;
}

std::string BackupTooLargeText(const std::string& name) {
    return name + " is larger than 16 MB; no backup of the keyboard is that large";
}

BackupUpload ReadBackupUpload(std::span<const std::uint8_t> bytes, const std::string& name) {
    BackupUpload out;
    if (bytes.size() > kMaxBackupUpload) {
        out.verdict = BackupUpload::Verdict::TooLarge;
        out.refusal = BackupTooLargeText(name);
        return out;
    }
    std::string why;
    std::vector<ContentProblem> problems;
    if (ValidateImage(bytes, &why, &problems) != VALIDATE_OK) {
        out.verdict = BackupUpload::Verdict::NotAProfileFile;
        out.refusal = NotAProfileFileText(name, why);
        return out;
    }
    if (!problems.empty()) {
        out.verdict = BackupUpload::Verdict::Damaged;
        out.refusal = DamageText(name, problems) + "\n" + DamagedRefusalText(name, false);
        return out;
    }
    // Loaded as ombrelctl loads the file once it passed the same checks.
    ParsedStoreFile parsed = ParseStoreFile(bytes, false);
    if (!parsed.check.ok()) {
        out.verdict = BackupUpload::Verdict::NotAProfileFile;
        out.refusal = NotAProfileFileText(name, parsed.check.describe());
        return out;
    }
    out.contents = std::move(parsed.contents);
    return out;
}

StoreWriteOutcome WriteStoreThrough(KeyStores& stores, DeviceCommands& commands, DeviceState& state, ScreenPort& screen,
                                    std::span<const int> profiles, const std::string& storePath) {
    StoreWriteOutcome out;
    AssignmentStore& working = stores.workingStore;
    // Said once here rather than by the keyboard writer's message box, which a script cannot read.
    const unsigned capacity = state.macroCapacity.load();
    if (const std::size_t needed = MeasureMacroImage(working.macros).withoutNames; capacity != 0 && needed > capacity) {
        out.stage = StoreWriteOutcome::Stage::MacrosDoNotFit;
        out.message = "the macros need " + std::to_string(needed) + " bytes but the keyboard's macro memory holds " +
                      std::to_string(capacity) + "; nothing was written. Shorten or delete some macros";
        return out;
    }
    if (const int r = WriteKeysToKeyboard(stores, commands, state, screen, profiles); r != LINK_OK) {
        out.stage = StoreWriteOutcome::Stage::WriteFailed;
        out.result = r;
        return out;
    }
    if (storePath.empty()) return out;
    if (std::string why; ExportStore(working, storePath, false, &why) != 1) {
        out.stage = StoreWriteOutcome::Stage::StoreNotSaved;
        out.message = why + "\nthe keyboard holds the new key functions, but the profile store file does not";
    }
    return out;
}

} // namespace ombrel::cli
