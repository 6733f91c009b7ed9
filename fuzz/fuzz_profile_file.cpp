// Arbitrary bytes as a profile file, checked the way an import checks it and loaded the way the store is loaded:
// no read may leave the file or its string area, and whatever loads must save to a file that loads again.
#include "device/ScreenPort.h"
#include "keys/AssignmentStore.h"
#include "profiles/ProfileStore.h"
#include "profiles/StoreFile.h"
#include "profiles/StoreFileHeader.h"

#include "inputs/InputFiles.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ombrel;
    const fuzz::MemoryFile file(std::span<const std::uint8_t>(data, size));
    if (!file.ok()) return 0;
    NullScreen screen;
    const int valid = ValidateFile(file.path(), screen);

    AssignmentStore store;
    if (LoadStore(store, file.path()) != 1) {
        if (valid == VALIDATE_OK) std::abort(); // a file that validates must load
        return 0;
    }
    // Save in memory and load again: the program must accept what it writes.
    WriteFileHeader(store.image.bytes().first<kFileHeaderSize>(), store.macroCount(), store.strings.stringBytes(), 0);
    const auto area = store.strings.pack(store.image);
    const auto saved = SerializeStoreFile(store.image, store.macros, area);
    const ParsedStoreFile again = ParseStoreFile(saved, true);
    if (!again.check.ok()) std::abort();
    if (KeyStringTable::unpack(again.contents.image, again.contents.stringArea) != store.strings) std::abort();
    return 0;
}
