#include "transfer/KeyboardBackup.h"

#include "device/ActiveProfile.h"
#include "device/LinkResult.h"
#include "keys/KeymapCodec.h"
#include "keys/MacroImage.h"
#include "keys/Utf16Text.h"
#include "profiles/BinaryFile.h"
#include "profiles/ProfileStore.h"
#include "profiles/StoreFile.h"
#include "profiles/StoreFileHeader.h"

#include <array>

namespace ombrel {

namespace {

constexpr int kHighestProfileIndex = 3;

// The whole macro memory image, or an empty one when the memory holds no image this program wrote.
int readMacroImage(DeviceCommands& commands, unsigned capacity, std::vector<std::uint8_t>& image) {
    std::array<std::uint8_t, kMacroImageHeaderSize> head{};
    if (const int r = commands.ReadMacros(head); r != LINK_OK) return r;
    const MacroImageHeader header = MacroImageHeader::read(head);
    image.clear();
    // A header that claims less than itself, or more than the memory holds, was not written by this program.
    if (!header.valid() || header.totalSize < kMacroImageHeaderSize || (capacity && header.totalSize > capacity))
        return LINK_OK;
    image.resize(header.totalSize);
    return commands.ReadMacros(image);
}

} // namespace

std::optional<std::vector<std::uint8_t>> ReadKeyboardImage(DeviceCommands& commands, DeviceState& state,
                                                           const TextLookup& text, int* result) {
    auto fail = [result](int r) {
        if (result) *result = r;
        return std::nullopt;
    };
    if (GetActiveProfile(commands, state) > kHighestProfileIndex) return fail(LINK_BAD_PROFILE);
    std::array<KeymapBytes, kProfileCount> blocks{};
    for (int p = 0; p < kProfileCount; ++p)
        if (const int r = commands.ReadKeymap(blocks[static_cast<std::size_t>(p)], p); r != LINK_OK) return fail(r);
    std::vector<std::uint8_t> macroImage;
    if (const int r = readMacroImage(commands, state.macroCapacity.load(), macroImage); r != LINK_OK) return fail(r);

    const std::vector<MacroRecord> macros = DecodeMacroImage(macroImage, Utf8ToUtf16(text("MACRO_NEW_PREFIX")));
    KeyImage image = DefaultKeyImage();
    WriteFileHeader(image.bytes().first<kFileHeaderSize>(), static_cast<std::uint16_t>(macros.size()), 0, 0);
    const KeymapBlock factory(state.defaultKeymap());
    for (int p = 0; p < kProfileCount; ++p)
        DecodeKeymapBlock(KeymapBlock(blocks[static_cast<std::size_t>(p)]), factory, image, p);
    // A key that plays a macro position the memory does not hold plays nothing; the file says so, as it must
    // name only macros it holds.
    for (int p = 0; p < kProfileCount; ++p)
        for (int key = 0; key < kRecordsPerLayer; ++key) {
            const int n = RecordNumber(p, static_cast<KeyIndex>(key));
            KeyRecord r = image.record(n);
            if (r.type != KF_MACRO || r.value <= macros.size()) continue;
            r.type = KF_DISABLED;
            r.value = 0;
            image.setRecord(n, r);
        }
    if (result) *result = LINK_OK;
    return SerializeStoreFile(image, macros, {});
}

int ReadKeyboardToFile(DeviceCommands& commands, DeviceState& state, const std::string& path, const TextLookup& text,
                       std::string* why) {
    int result = LINK_OK;
    const auto file = ReadKeyboardImage(commands, state, text, &result);
    if (!file) {
        if (why) *why = std::string("the keyboard could not be read completely: ") + LinkResultDescription(result);
        return 0;
    }
    const FileWriteResult written = WriteBinaryFile(path, *file);
    if (why) *why = written.message;
    return written ? 1 : 0;
}

} // namespace ombrel
