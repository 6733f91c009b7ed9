#pragma once
// The user effect's per-key colours: three named patterns per profile, kept in the profile's colour file, the
// current one mirrored in a colour cache and written to the keyboard's per-key colour memory. Every paint and
// every colour or tool change is saved at once; there is no Apply for colours.
//
// The keyboard's colour memory cannot be read back: the files are the store, and a pattern is written whole
// whenever it is loaded or its base colour changes.

#include "device/DeviceCommands.h"
#include "lighting/ColorFile.h"
#include "platform/IniFile.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ombrel {

using SlotColors = std::array<Rgb, kColorSlotCount>;

// The slots the map's buttons show: the key buttons, Fn and the G keys.
const std::array<std::uint8_t, 107>& MapSlots();

class UserPatterns {
public:
    // `colorFilePrefix`: the per-user path prefix of the colour files; profile p's is prefix + p + ".userd".
    UserPatterns(DeviceCommands& commands, std::string colorFilePrefix);

    // Called once when a colour file cannot be written (with what went wrong, the path included), and again only
    // after a write to it succeeded in between.
    std::function<void(const std::string& problem)> onFileUnwritable;

    std::string filePath(int profile) const;

    // Makes `profile` the one painted, loads its current pattern from its file into the cache and writes the
    // whole pattern to the keyboard (eight 54-byte writes in one bracket). Returns the device result.
    int loadCurrent(int profile);
    // The same without writing to the keyboard, for changes that write what they change themselves.
    void open(int profile);
    // The names of the three patterns of the painted profile, from its file.
    std::array<std::string, kPatternCount> patternNames() const;
    // Makes `pattern` the current one (saved in the file), then loads and writes it.
    int selectPattern(int pattern);
    // Renames the current pattern; line breaks become blanks and the name is cut to 260 characters. False when the
    // file cannot be written.
    bool renameCurrent(std::string_view name);

    // Paints one slot with the current tool's colour: written to the keyboard (3 bytes), the cache and the file.
    int paintSlot(int slot);
    // The slot of a map control (Fn: 110), painted.
    int paintControl(int control);
    // Paints are written at once, so a slip of the mouse is taken back by undoing it: each paint of the open
    // pattern can be undone, the last first, until the pattern or profile changes, the pattern is reset or
    // forgetPaints() is called. Opening the same pattern again keeps them.
    bool canUndoPaint() const { return !m_undo.empty(); }
    // Puts the last painted slot back as it was (keyboard, cache and file); LINK_OK when there is nothing to undo.
    int undoPaint();
    void forgetPaints() { m_undo.clear(); }
    bool setTool(PaintTool tool);
    // The brush colour is only saved; nothing is sent.
    bool setBrushColor(Rgb color);
    // A new base colour repaints the slots that carry the base colour (cache, file) and writes the whole pattern.
    // The current colour changes nothing (LINK_OK).
    int setBaseColor(Rgb color);
    // Every map slot of every profile carries the base colour exactly when its cached colour equals it.
    void recomputeBaseFlags();
    // Replaces the painted profile's colour file by a copy of `templatePath`, then loads and writes it.
    int resetFromTemplate(const std::string& templatePath);

    DeviceCommands& commands() const { return m_commands; }
    int profile() const { return m_profile; }
    int currentPattern() const { return m_pattern; }
    const PatternSettings& settings() const { return m_settings; }
    const SlotColors& colors(int profile) const { return m_cache[clampProfile(profile)]; }
    bool baseFlag(int profile, int slot) const;

private:
    static std::size_t clampProfile(int profile);
    void readPattern(int pattern);
    int writeSlot(int slot, Rgb color, bool base);
    int writePattern();
    bool saveSettings();
    bool save(std::span<const IniValue> values);

    DeviceCommands& m_commands;
    std::string m_prefix;
    int m_profile = 0;
    int m_pattern = 0;
    PatternSettings m_settings;
    std::array<SlotColors, kProfileCount> m_cache{};
    std::array<std::array<bool, kColorSlotCount>, kProfileCount> m_baseFlags{};
    std::array<bool, kProfileCount> m_unwritableReported{};
    struct PaintStep {
        int slot;
        Rgb color; // what the slot held before the paint
        bool base;
    };
    std::vector<PaintStep> m_undo; // paints of the open pattern, the last at the back
};

} // namespace ombrel
