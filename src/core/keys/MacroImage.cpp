#include "keys/MacroImage.h"

#include "keys/KeymapCodec.h"
#include "keys/ModifierTable.h"
#include "util/Bytes.h"

#include <algorithm>

namespace ombrel {

namespace {

constexpr std::size_t kBlockHeaderSize = 4;
constexpr std::size_t kStepSize = 4;
constexpr std::uint16_t kDelayMask = 0x0FFF;
constexpr std::uint16_t kPressBit = 0x8000;
constexpr int kKindShift = 12;
constexpr std::uint16_t kKindMask = 0x7;
constexpr std::uint32_t kDelayUnitMs = 10;

std::size_t nameUnits(const MacroRecord& m) {
    return m.name().size();
}

std::size_t blockSize(const MacroRecord& m) {
    return kBlockHeaderSize + kStepSize * static_cast<std::size_t>(m.stepCount());
}

std::u16string generatedName(const std::u16string& prefix, std::size_t position) {
    std::u16string name = prefix;
    for (char c : std::to_string(position + 1))
        name.push_back(static_cast<char16_t>(c));
    return name;
}

// One block of the image at `offset` into `macro`; false when the block does not lie inside the image.
bool readBlock(std::span<const std::uint8_t> image, std::size_t offset, MacroRecord& macro, bool& hasName) {
    hasName = false;
    if (offset > image.size() || image.size() - offset < kBlockHeaderSize) return false;
    const std::uint16_t steps = getLe16(&image[offset]);
    const std::uint8_t nameLength = image[offset + 3];
    // A macro plays at least once; a block that says 0 times (never written by this program) is read as once, so
    // a backup of it is a file this program accepts.
    macro.setCycles(std::max<std::uint8_t>(image[offset + 2], kMinMacroCycles));
    const std::size_t stepBytes = kStepSize * steps;
    const std::size_t stepsAt = offset + kBlockHeaderSize;
    if (steps > kMaxMacroActions || image.size() - stepsAt < stepBytes) return false;
    macro.setActionCount(steps);
    for (int j = 0; j < steps; ++j)
        macro.setAction(
            j, DecodeMacroStep(image.subspan(stepsAt + kStepSize * static_cast<std::size_t>(j)).first<kStepSize>()));
    const std::size_t nameAt = stepsAt + stepBytes;
    if (nameLength == 0 || image.size() - nameAt < 2u * nameLength) return true;
    std::u16string name;
    for (std::size_t k = 0; k < nameLength; ++k)
        name.push_back(static_cast<char16_t>(getLe16(&image[nameAt + 2 * k])));
    macro.setName(name);
    hasName = true;
    return true;
}

} // namespace

MacroImageSizes MeasureMacroImage(std::span<const MacroRecord> macros) {
    MacroImageSizes sizes;
    sizes.withoutNames += 2 * macros.size();
    for (const MacroRecord& m : macros)
        sizes.withoutNames += blockSize(m);
    sizes.withNames = sizes.withoutNames;
    for (const MacroRecord& m : macros)
        sizes.withNames += 2 * nameUnits(m);
    return sizes;
}

std::vector<std::uint8_t> BuildMacroImage(std::span<const MacroRecord> macros, bool includeNames) {
    const MacroImageSizes sizes = MeasureMacroImage(macros);
    const std::size_t size = includeNames ? sizes.withNames : sizes.withoutNames;
    std::array<std::uint8_t, kMacroImageHeaderSize> header{};
    putLe16(&header[0], kMacroImageMagic);
    putLe16(&header[2], static_cast<std::uint16_t>(size));
    putLe16(&header[4], static_cast<std::uint16_t>(macros.size()));
    putLe16(&header[6], includeNames ? 1 : 0);
    std::vector<std::uint8_t> image(header.begin(), header.end());
    image.resize(size, 0);
    std::size_t at = kMacroImageHeaderSize + 2 * macros.size();
    for (std::size_t i = 0; i < macros.size(); ++i) {
        const MacroRecord& m = macros[i];
        const std::u16string name = includeNames ? m.name() : std::u16string();
        putLe16(&image[kMacroImageHeaderSize + 2 * i], static_cast<std::uint16_t>(at));
        putLe16(&image[at], static_cast<std::uint16_t>(m.stepCount()));
        image[at + 2] = m.cycles();
        image[at + 3] = static_cast<std::uint8_t>(name.size());
        at += kBlockHeaderSize;
        for (int j = 0; j < m.stepCount(); ++j, at += kStepSize) {
            const auto step = EncodeMacroStep(m.action(j));
            std::copy(step.begin(), step.end(), image.begin() + static_cast<std::ptrdiff_t>(at));
        }
        for (char16_t unit : name) {
            putLe16(&image[at], unit);
            at += 2;
        }
    }
    return image;
}

KeymapEntry StepEntryOfKey(KeyCode code) {
    const HidUsage u = UsageOfKey(code);
    const auto lo = static_cast<std::uint8_t>(u.usage & 0xFF);
    const auto hi = static_cast<std::uint8_t>(u.usage >> 8);
    switch (u.page) {
    case 7:
        if (const std::uint8_t bit = ModifierBitOfKey(code)) return {EK_KEYBOARD, kKeyboardModifier, bit};
        return {EK_KEYBOARD, kKeyboardUsage, lo};
    case 0x0C:
        return {EK_CONSUMER, lo, hi};
    case 1:
        return {EK_SYSTEM, lo, hi};
    case 2:
        // The wheel-and-button rows beyond the five mouse functions are never offered for steps.
        return MouseEntryOfKey(code).value_or(KeymapEntry{EK_MOUSE, 0, 0});
    default:
        return {};
    }
}

std::array<std::uint8_t, 4> EncodeMacroStep(const MacroAction& action) {
    const KeymapEntry e = StepEntryOfKey(action.keyCode);
    const std::uint32_t units = std::min(action.delayMs, kMaxStepDelayMs) / kDelayUnitMs;
    const auto word = static_cast<std::uint16_t>((action.state == MACRO_PRESS ? kPressBit : 0) |
                                                 ((e.kind & kKindMask) << kKindShift) | (units & kDelayMask));
    std::array<std::uint8_t, 4> bytes{};
    putLe16(bytes.data(), word);
    bytes[2] = e.b1;
    bytes[3] = e.b2;
    return bytes;
}

MacroAction DecodeMacroStep(std::span<const std::uint8_t, 4> bytes) {
    const std::uint16_t word = getLe16(bytes.data());
    const KeymapEntry e{static_cast<std::uint8_t>((word >> kKindShift) & kKindMask), bytes[2], bytes[3]};
    MacroAction a;
    a.delayMs = (word & kDelayMask) * kDelayUnitMs;
    a.keyCode = KeyOfEntry(e);
    a.state = (word & kPressBit) ? MACRO_PRESS : MACRO_RELEASE;
    return a;
}

MacroImageHeader MacroImageHeader::read(std::span<const std::uint8_t> bytes) {
    MacroImageHeader h;
    if (bytes.size() < kMacroImageHeaderSize) return h;
    h.magic = getLe16(&bytes[0]);
    h.totalSize = getLe16(&bytes[2]);
    h.macroCount = getLe16(&bytes[4]);
    h.namesIncluded = getLe16(&bytes[6]);
    return h;
}

std::vector<MacroRecord> DecodeMacroImage(std::span<const std::uint8_t> image, const std::u16string& namePrefix) {
    std::vector<MacroRecord> macros;
    const MacroImageHeader header = MacroImageHeader::read(image);
    if (!header.valid() || image.size() < kMacroImageHeaderSize + 2u * header.macroCount) return macros;
    const std::size_t count = std::min<std::size_t>(header.macroCount, kMaxMacros);
    macros.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        MacroRecord& m = macros[i];
        m.setMacroId(static_cast<std::uint16_t>(i + 1));
        bool hasName = false;
        if (!readBlock(image, getLe16(&image[kMacroImageHeaderSize + 2 * i]), m, hasName)) m.setActionCount(0);
        if (!hasName || m.name().empty()) m.setName(generatedName(namePrefix, i));
    }
    return macros;
}

} // namespace ombrel
