#pragma once
// Everything the lighting panel works with, without the widgets: the keyboard's lighting, the writer of its
// changes, the user patterns, the preview and the panel's on/off switch. The panel and its tests drive this; the
// panel only shows what it holds.

#include "device/DeviceCommands.h"
#include "lighting/EffectCatalogue.h"
#include "lighting/LightingState.h"
#include "lighting/LightingWriter.h"
#include "lighting/PreviewEngine.h"
#include "lighting/UserPatterns.h"

#include <string>
#include <vector>

namespace ombrel {

struct LightingPaths {
    std::string userIni;         // holds the panel switch: "KEYCOLOR"/"DengCheck"
    std::string colorFilePrefix; // the per-user colour files
    std::string colorTemplate;   // the template a reset copies
};

class LightingSession {
public:
    LightingSession(DeviceCommands& commands, LightingPaths paths, PreviewEngine::Random random = {});

    // Reads the lighting of the keyboard's active profile. With `withUserColors`, when the keyboard offers the
    // user effect, that profile's current pattern is loaded from its file and written too (on start-up and when
    // the profile changes; not when the keyboard only says its lighting changed). Returns the first failure.
    int load(bool withUserColors = true);

    // The lighting panel's switch, kept in the per-user settings file.
    bool panelOn() const { return m_panelOn; }
    // Saves it; false when the file cannot be written (the switch changes all the same).
    bool setPanelOn(bool on);

    // The effects the keyboard offers, in the order of its list.
    std::vector<LightingEffect> effects() const { return m_state.config.offeredEffects(); }
    // The first position of `effect` in effects(), or -1.
    int positionOfEffect(LightingEffect effect) const;
    bool offersUserEffect() const { return m_state.config.offersEffect(LightingEffect::User); }

    // The default lighting, and with the user effect the template's patterns for the shown profile.
    int reset();
    // A click on a map key while painting: only the user effect paints. Returns LINK_OK when nothing is to do.
    int paintKey(int control);

    PreviewInput previewInput() const;
    // One preview tick; whether any fill changed.
    bool tickPreview() { return m_preview.tick(previewInput()); }

    LightingState& state() { return m_state; }
    const LightingState& state() const { return m_state; }
    LightingWriter& writer() { return m_writer; }
    UserPatterns& patterns() { return m_patterns; }
    const UserPatterns& patterns() const { return m_patterns; }
    const PreviewEngine& preview() const { return m_preview; }
    PreviewEngine& preview() { return m_preview; }

private:
    DeviceCommands& m_commands;
    LightingPaths m_paths;
    LightingState m_state;
    LightingWriter m_writer;
    UserPatterns m_patterns;
    PreviewEngine m_preview;
    bool m_panelOn = false;
};

} // namespace ombrel
