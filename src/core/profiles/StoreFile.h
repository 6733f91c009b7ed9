#pragma once
// The profile file format: the key image (file header, image header, 2048 key records), the macro records and the
// string area, back to back. Parsing never reads outside the file: every piece is read through a reader that
// is only asked for bytes the file's size says are there.

#include "keys/KeyImage.h"
#include "keys/MacroRecord.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace ombrel {

struct StoreFileCheck {
    enum class Problem {
        None,
        TooShort,         // shorter than a key image: not a profile file at all
        BadHeader,        // the file header is not one this program writes
        TooManyMacros,    // more macros than a store holds
        Truncated,        // shorter than its header says
        UnterminatedName, // a macro name without its terminating zero
        TooManyActions,   // a macro with more than 4000 steps
        ReadFailed,       // the file could not be read
        NoMemory,         // there is not enough memory for what the file holds
    };
    Problem problem = Problem::None;
    int macro = -1; // the macro concerned (0-based), for the two macro problems

    bool ok() const { return problem == Problem::None; }
    // One sentence for the user, in English (for logs and the command line).
    std::string describe() const;
};

struct StoreFileContents {
    KeyImage image;
    std::vector<MacroRecord> macros;
    std::vector<std::uint8_t> stringArea;
};

struct ParsedStoreFile {
    StoreFileCheck check;
    StoreFileContents contents; // complete only when check.ok()
};

// Fills `out` with the file's bytes from `offset`; false when that fails.
using StoreFileReader = std::function<bool(std::uint64_t offset, std::span<std::uint8_t> out)>;

// Reads a profile file of `size` bytes. With `headerRules` the header must also be well-formed (magic, sizes,
// format, checksum ...); without them only what loading needs is checked: enough bytes for what the header
// counts, at most 100 macros, and macros that can be used as they are. Bytes beyond the total size are ignored.
ParsedStoreFile ParseStoreFile(std::uint64_t size, const StoreFileReader& read, bool headerRules);
ParsedStoreFile ParseStoreFile(std::span<const std::uint8_t> bytes, bool headerRules);

// A whole file: `image` (whose file header the caller has written), then the macros and the string area.
std::vector<std::uint8_t> SerializeStoreFile(const KeyImage& image, std::span<const MacroRecord> macros,
                                             std::span<const std::uint8_t> stringArea);

} // namespace ombrel
