#include "KeyboardFileBackup.h"

#include "cli/CliSetupNames.h"
#include "cli/KeyboardFileWork.h"
#include "device/LinkResult.h"
#include "keyboardfile/KeyboardFileWriter.h"
#include "platform/SafeFileWriter.h"
#include "profiles/ProfileStore.h"
#include "text/FileBytes.h"

namespace ombrel {

namespace {

SetupPlaces placesOf(DeviceLink& link, const AppPaths& paths, NullScreen& quiet, const cli::CliTexts& texts) {
    return SetupPlaces{link.commands(),          link.state(),         quiet, texts.text,
                       StorePath(paths.userDir), paths.userColorPrefix};
}

} // namespace

bool IsKeyboardFilePath(const std::string& path) {
    const std::string suffix = std::string(".") + kKeyboardFileSuffix;
    return path.size() > suffix.size() && path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0;
}

int BackUpKeyboardFile(DeviceLink& link, const AppPaths& paths, const std::string& path, std::string* why) {
    // Files name keys in English whatever language the window shows, so they read the same everywhere.
    const cli::CliTexts texts = cli::LoadCliTexts();
    const cli::CliSetupNames names(texts);
    NullScreen quiet;
    SetupPlaces places = placesOf(link, paths, quiet, texts);
    KeyboardSetup setup;
    if (const int r = ReadKeyboardSetup(places, setup, why); r != LINK_OK) return r;
    const std::string text =
        WriteKeyboardFile(setup, names, "The keyboard's setup, written by Ombrel; see ombrel-keyboard(5).");
    if (const FileWriteResult written = WriteFileSafely(path, text); !written) {
        *why = written.message;
        return LINK_NOT_KEPT;
    }
    return LINK_OK;
}

int RestoreKeyboardFile(DeviceLink& link, const AppPaths& paths, const std::string& path, std::string* why) {
    const FileBytes bytes = ReadFileBytes(path, kMaxKeyboardFileSize + 1);
    if (bytes.status != FileBytes::Status::Ok) {
        *why = "cannot read " + path;
        return LINK_BAD_ARGUMENT;
    }
    const cli::CliTexts texts = cli::LoadCliTexts();
    const cli::CliSetupNames names(texts);
    NullScreen quiet;
    SetupPlaces places = placesOf(link, paths, quiet, texts);
    const cli::ApplyOutcome applied =
        cli::ApplyKeyboardSetup(places, ReadKeyboardFile(bytes.bytes, names), names, false);
    switch (applied.stage) {
    case cli::ApplyOutcome::Stage::ReadFailed:
    case cli::ApplyOutcome::Stage::WriteFailed:
        *why = applied.why;
        return applied.result;
    case cli::ApplyOutcome::Stage::Refused:
        *why = cli::DescribeProblems(applied.problems);
        return LINK_BAD_ARGUMENT;
    case cli::ApplyOutcome::Stage::Done:
        break;
    }
    return LINK_OK;
}

} // namespace ombrel
