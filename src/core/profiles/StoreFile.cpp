#include "profiles/StoreFile.h"

#include "profiles/StoreFileHeader.h"

#include <algorithm>
#include <new>

namespace ombrel {

std::string StoreFileCheck::describe() const {
    const std::string which = "macro " + std::to_string(macro + 1);
    switch (problem) {
    case Problem::None:
        return "the file is a well-formed profile file";
    case Problem::TooShort:
        return "the file is too short to be a profile file";
    case Problem::BadHeader:
        return "the file's header is damaged, or the file is not a profile file";
    case Problem::TooManyMacros:
        return "the file claims more than 100 macros";
    case Problem::Truncated:
        return "the file is shorter than its header says: it was cut off";
    case Problem::UnterminatedName:
        return which + " in the file has a name without its terminating zero";
    case Problem::TooManyActions:
        return which + " in the file claims more than 4000 steps";
    case Problem::ReadFailed:
        return "the file could not be read";
    case Problem::NoMemory:
        return "there is not enough memory to load the file";
    }
    return {};
}

ParsedStoreFile ParseStoreFile(std::uint64_t size, const StoreFileReader& read, bool headerRules) {
    using Problem = StoreFileCheck::Problem;
    ParsedStoreFile parsed;
    auto fail = [&](Problem p, int macro = -1) {
        parsed.check = {p, macro};
        return std::move(parsed);
    };
    StoreFileContents& c = parsed.contents;
    if (size < kKeyImageSize) return fail(Problem::TooShort);
    if (!read(0, c.image.bytes())) return fail(Problem::ReadFailed);
    const auto h = StoreFileHeader::read(std::span<const std::uint8_t>(c.image.bytes()).first<kFileHeaderSize>());
    if (headerRules && !h.wellFormed()) return fail(Problem::BadHeader);
    if (h.macroCount > kMaxMacros) return fail(Problem::TooManyMacros);
    if (StoreFileSize(h.macroCount, h.stringSize) > size) return fail(Problem::Truncated);

    try {
        c.macros.resize(h.macroCount);
        c.stringArea.resize(h.stringSize);
    } catch (const std::bad_alloc&) {
        return fail(Problem::NoMemory);
    }
    std::uint64_t at = kKeyImageSize;
    for (std::size_t i = 0; i < c.macros.size(); ++i, at += kMacroRecordSize) {
        const MacroRecord& m = c.macros[i];
        if (!read(at, c.macros[i].bytes())) return fail(Problem::ReadFailed);
        if (!m.nameTerminated()) return fail(Problem::UnterminatedName, static_cast<int>(i));
        if (m.actionCount() > kMaxMacroActions) return fail(Problem::TooManyActions, static_cast<int>(i));
    }
    if (!read(at, c.stringArea)) return fail(Problem::ReadFailed);
    return parsed;
}

ParsedStoreFile ParseStoreFile(std::span<const std::uint8_t> bytes, bool headerRules) {
    return ParseStoreFile(
        bytes.size(),
        [bytes](std::uint64_t offset, std::span<std::uint8_t> out) {
            if (offset > bytes.size() || bytes.size() - offset < out.size()) return false;
            std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
            return true;
        },
        headerRules);
}

std::vector<std::uint8_t> SerializeStoreFile(const KeyImage& image, std::span<const MacroRecord> macros,
                                             std::span<const std::uint8_t> stringArea) {
    std::vector<std::uint8_t> file(kKeyImageSize + macros.size() * kMacroRecordSize + stringArea.size());
    auto at = std::copy(image.bytes().begin(), image.bytes().end(), file.begin());
    for (const MacroRecord& m : macros)
        at = std::copy(m.bytes().begin(), m.bytes().end(), at);
    std::copy(stringArea.begin(), stringArea.end(), at);
    return file;
}

} // namespace ombrel
