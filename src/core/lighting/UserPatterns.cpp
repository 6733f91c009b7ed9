#include "lighting/UserPatterns.h"

#include "device/LinkResult.h"
#include "keyboard/KeyTable.h"
#include "platform/AppPaths.h"
#include "platform/FileCopy.h"
#include "text/Utf8.h"

#include <algorithm>
#include <vector>

namespace ombrel {

namespace {

constexpr int kSlotsPerWrite = 18;
constexpr int kPatternWrites = 8; // the last one addresses slots 126..143, beyond the 126 the map uses

std::array<std::uint8_t, 107> buildMapSlots() {
    std::array<std::uint8_t, 107> slots{};
    const auto& keys = KeyButtonSlots();
    std::copy(keys.begin(), keys.end(), slots.begin());
    slots[105] = kFnSlot;
    slots[106] = kGKeySlot;
    return slots;
}

// The text cut to `maxChars` code points (UTF-8 kept whole), line breaks replaced by blanks.
std::string patternName(std::string_view name) {
    std::string out;
    std::size_t chars = 0;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if ((c & 0xC0) != 0x80 && ++chars > kMaxPatternNameChars) break;
        out += (c == '\n' || c == '\r' || c == '\0') ? ' ' : name[i];
    }
    return out;
}

} // namespace

const std::array<std::uint8_t, 107>& MapSlots() {
    static const std::array<std::uint8_t, 107> slots = buildMapSlots();
    return slots;
}

UserPatterns::UserPatterns(DeviceCommands& commands, std::string colorFilePrefix)
    : m_commands(commands), m_prefix(std::move(colorFilePrefix)) {}

std::size_t UserPatterns::clampProfile(int profile) {
    return static_cast<std::size_t>(std::clamp(profile, 0, kProfileCount - 1));
}

std::string UserPatterns::filePath(int profile) const {
    return UserColorFile(m_prefix, static_cast<int>(clampProfile(profile)));
}

bool UserPatterns::baseFlag(int profile, int slot) const {
    if (slot < 0 || slot >= kColorSlotCount) return false;
    return m_baseFlags[clampProfile(profile)][static_cast<std::size_t>(slot)];
}

bool UserPatterns::save(std::span<const IniValue> values) {
    const std::string path = filePath(m_profile);
    bool& reported = m_unwritableReported[clampProfile(m_profile)];
    std::string why;
    if (WriteIniStrings(path, values, &why)) {
        reported = false;
        return true;
    }
    if (!reported && onFileUnwritable) onFileUnwritable(why);
    reported = true;
    return false;
}

bool UserPatterns::saveSettings() {
    const std::string section = PatternSection(m_pattern);
    const std::string tool = std::to_string(static_cast<int>(m_settings.tool));
    const std::string base = FormatColor(m_settings.baseColor);
    const std::string brush = FormatColor(m_settings.brushColor);
    const IniValue values[] = {{section, "tool", tool}, {section, "jcolor", base}, {section, "color", brush}};
    return save(values);
}

int UserPatterns::writePattern() {
    const SlotColors& cache = m_cache[clampProfile(m_profile)];
    return m_commands.Bracketed([&] {
        int first = LINK_OK;
        for (int w = 0; w < kPatternWrites; ++w) {
            std::array<std::uint8_t, kSlotsPerWrite * 3> bytes{};
            for (int i = 0; i < kSlotsPerWrite; ++i) {
                const int slot = w * kSlotsPerWrite + i;
                if (slot >= kColorSlotCount) break; // nothing is sent from past the cache: zeros
                const Rgb c = cache[static_cast<std::size_t>(slot)];
                bytes[static_cast<std::size_t>(i) * 3] = c.r;
                bytes[static_cast<std::size_t>(i) * 3 + 1] = c.g;
                bytes[static_cast<std::size_t>(i) * 3 + 2] = c.b;
            }
            const int r =
                m_commands.WriteKeyColors(bytes, static_cast<int>(bytes.size()), w * kSlotsPerWrite, m_profile);
            if (r != LINK_OK && first == LINK_OK) first = r;
        }
        return first;
    });
}

int UserPatterns::loadCurrent(int profile) {
    open(profile);
    return writePattern();
}

void UserPatterns::open(int profile) {
    const int previousProfile = m_profile;
    const int previousPattern = m_pattern;
    std::vector<PaintStep> paints = std::move(m_undo);
    m_profile = static_cast<int>(clampProfile(profile));
    const IniDocument doc = ReadIniDocument(filePath(m_profile)).value_or(IniDocument());
    readPattern(ColorFileView(doc).currentPattern());
    // The same pattern read again (the keyboard was changed elsewhere) is no new start: the user's paints can
    // still be taken back, as unapplied key edits stay.
    if (m_profile == previousProfile && m_pattern == previousPattern) m_undo = std::move(paints);
}

void UserPatterns::readPattern(int pattern) {
    m_undo.clear();
    const IniDocument doc = ReadIniDocument(filePath(m_profile)).value_or(IniDocument());
    const ColorFileView file(doc);
    m_pattern = pattern;
    m_settings = file.settings(m_pattern);
    const auto entries = file.entries(m_pattern);
    const std::size_t p = clampProfile(m_profile);
    for (std::size_t s = 0; s < entries.size(); ++s) {
        m_cache[p][s] = entries[s].color;
        m_baseFlags[p][s] = entries[s].base;
    }
}

std::array<std::string, kPatternCount> UserPatterns::patternNames() const {
    const IniDocument doc = ReadIniDocument(filePath(m_profile)).value_or(IniDocument());
    const ColorFileView file(doc);
    std::array<std::string, kPatternCount> names;
    for (int p = 0; p < kPatternCount; ++p)
        names[static_cast<std::size_t>(p)] = file.patternName(p);
    return names;
}

int UserPatterns::selectPattern(int pattern) {
    if (pattern < 0 || pattern >= kPatternCount) return LINK_BAD_ARGUMENT;
    const std::string value = std::to_string(pattern);
    const IniValue mode[] = {{kCurrentPatternSection, kCurrentPatternKey, value}};
    // The write history reads the colours from the file: it takes the state before the file changes.
    const WriteGroup group(m_commands, WriteGroup::Observe::Now);
    save(mode);
    readPattern(pattern);
    return writePattern();
}

bool UserPatterns::renameCurrent(std::string_view name) {
    const std::string key = std::to_string(m_pattern);
    const std::string text = patternName(Utf8Sanitize(name));
    const IniValue values[] = {{kPatternNameSection, key, text}};
    return save(values);
}

int UserPatterns::paintSlot(int slot) {
    if (slot < 0 || slot >= kColorSlotCount) return LINK_BAD_ARGUMENT;
    const bool base = m_settings.tool == PaintTool::Base;
    const std::size_t p = clampProfile(m_profile);
    const auto s = static_cast<std::size_t>(slot);
    // A long session of painting keeps its undo list small: the oldest paints go first.
    constexpr std::size_t kUndoDepth = 1000;
    if (m_undo.size() == kUndoDepth) m_undo.erase(m_undo.begin());
    m_undo.push_back({slot, m_cache[p][s], m_baseFlags[p][s]});
    return writeSlot(slot, base ? m_settings.baseColor : m_settings.brushColor, base);
}

int UserPatterns::undoPaint() {
    if (m_undo.empty()) return LINK_OK;
    const PaintStep step = m_undo.back();
    m_undo.pop_back();
    return writeSlot(step.slot, step.color, step.base);
}

int UserPatterns::writeSlot(int slot, Rgb color, bool base) {
    const std::size_t p = clampProfile(m_profile);
    m_baseFlags[p][static_cast<std::size_t>(slot)] = base;
    const std::array<std::uint8_t, 3> bytes{color.r, color.g, color.b};
    // The keyboard cannot give its colours back, so whoever watches the writes reads them from the file: the write
    // counts as done once the file has the colour too.
    WriteGroup group(m_commands);
    const int result = m_commands.Bracketed([&] { return m_commands.WriteKeyColors(bytes, 3, slot, m_profile); });
    m_cache[p][static_cast<std::size_t>(slot)] = color;
    const std::string section = PatternSection(m_pattern);
    const std::string key = std::to_string(slot);
    const std::string entry = FormatColorEntry({color, base});
    const IniValue values[] = {{section, key, entry}};
    save(values);
    return result;
}

int UserPatterns::paintControl(int control) {
    return paintSlot(SlotOfControl(control));
}

bool UserPatterns::setTool(PaintTool tool) {
    m_settings.tool = tool;
    return saveSettings();
}

bool UserPatterns::setBrushColor(Rgb color) {
    m_settings.brushColor = color;
    return saveSettings();
}

int UserPatterns::setBaseColor(Rgb color) {
    if (color == m_settings.baseColor) return LINK_OK;
    const WriteGroup group(m_commands, WriteGroup::Observe::Now);
    // Undone paints would bring back colours from before the new base colour.
    m_undo.clear();
    m_settings.baseColor = color;
    const std::size_t p = clampProfile(m_profile);
    const std::string section = PatternSection(m_pattern);
    const std::string tool = std::to_string(static_cast<int>(m_settings.tool));
    const std::string base = FormatColor(m_settings.baseColor);
    const std::string brush = FormatColor(m_settings.brushColor);
    const std::string entry = FormatColorEntry({color, true});
    std::vector<std::string> keys;
    for (std::uint8_t slot : MapSlots())
        if (m_baseFlags[p][slot]) {
            m_cache[p][slot] = color;
            keys.push_back(std::to_string(slot));
        }
    std::vector<IniValue> values{{section, "tool", tool}, {section, "jcolor", base}, {section, "color", brush}};
    for (const std::string& key : keys)
        values.push_back({section, key, entry});
    save(values);
    return writePattern();
}

void UserPatterns::recomputeBaseFlags() {
    for (std::size_t p = 0; p < kProfileCount; ++p)
        for (std::uint8_t slot : MapSlots())
            m_baseFlags[p][slot] = m_cache[p][slot] == m_settings.baseColor;
}

int UserPatterns::resetFromTemplate(const std::string& templatePath) {
    const WriteGroup group(m_commands, WriteGroup::Observe::Now);
    if (CopyFileReplacing(templatePath, filePath(m_profile)) == CopyResult::Failed && onFileUnwritable)
        onFileUnwritable("cannot write " + filePath(m_profile));
    const int result = loadCurrent(m_profile);
    m_undo.clear(); // the paints were on colours the template replaced
    return result;
}

} // namespace ombrel
