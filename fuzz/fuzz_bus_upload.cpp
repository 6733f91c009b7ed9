// What a client hands the program over the session bus for Import and Restore, from hostile bytes: as a keyboard
// file's text it is read with ombrelctl's names and refused with a place for every problem; as a backup it is
// either loaded or refused with ombrelctl's message, never both.
#include "BackupWork.h"
#include "CliSetupNames.h"
#include "CliTexts.h"
#include "KeyboardFileWork.h"
#include "profiles/ProfileStore.h"

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <span>
#include <string>
#include <string_view>

namespace {

// "LINE:COLUMN: " with both numbers from 1.
bool startsWithPlace(std::string_view line) {
    for (int part = 0; part < 2; ++part) {
        std::size_t digits = 0;
        while (digits < line.size() && std::isdigit(static_cast<unsigned char>(line[digits])))
            ++digits;
        if (digits == 0 || line[0] == '0' || digits == line.size() || line[digits] != ':') return false;
        line.remove_prefix(digits + 1);
    }
    return line.substr(0, 1) == " ";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ombrel;
    static const cli::CliTexts texts = cli::LoadCliTexts();
    static const cli::CliSetupNames names(texts);

    const std::string_view text(reinterpret_cast<const char*>(data), size); // NOLINT: bytes as chars
    const KeyboardFileRead read = ReadKeyboardFile(text, names);
    if (read.setup.has_value() != read.problems.empty()) std::abort();
    const std::string described = cli::DescribeProblems(read.problems);
    for (std::size_t start = 0; start < described.size();) {
        const std::size_t end = std::min(described.find('\n', start), described.size());
        if (!startsWithPlace(std::string_view(described).substr(start, end - start))) std::abort();
        start = end + 1;
    }

    cli::BackupUpload upload = cli::ReadBackupUpload(std::span(data, size), "the backup");
    if (upload.contents.has_value() != upload.refusal.empty()) std::abort();
    if (upload.contents.has_value() != (upload.verdict == cli::BackupUpload::Verdict::Usable)) std::abort();
    if (upload.contents) {
        AssignmentStore store;
        std::lock_guard guard(store.lock);
        ReplaceStoreContents(store, std::move(*upload.contents));
    }
    return 0;
}
