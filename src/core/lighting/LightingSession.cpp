#include "lighting/LightingSession.h"

#include "device/LinkResult.h"
#include "platform/IniFile.h"

#include <algorithm>

namespace ombrel {

namespace {

constexpr std::string_view kSwitchSection = "KEYCOLOR";
constexpr std::string_view kSwitchKey = "DengCheck";

int firstFailure(int a, int b) {
    return a != LINK_OK ? a : b;
}

} // namespace

LightingSession::LightingSession(DeviceCommands& commands, LightingPaths paths, PreviewEngine::Random random)
    : m_commands(commands), m_paths(std::move(paths)), m_writer(commands, m_state),
      m_patterns(commands, m_paths.colorFilePrefix), m_preview(std::move(random)) {
    m_panelOn = ReadIniString(m_paths.userIni, kSwitchSection, kSwitchKey, "0") == "1";
}

int LightingSession::load(bool withUserColors) {
    const int result = LoadLighting(m_commands, m_state);
    if (!withUserColors || !offersUserEffect()) return result;
    return firstFailure(result, m_patterns.loadCurrent(m_state.profile));
}

bool LightingSession::setPanelOn(bool on) {
    m_panelOn = on;
    return WriteIniString(m_paths.userIni, kSwitchSection, kSwitchKey, on ? "1" : "0");
}

int LightingSession::positionOfEffect(LightingEffect effect) const {
    const auto list = effects();
    const auto it = std::find(list.begin(), list.end(), effect);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

int LightingSession::reset() {
    // The effect and the colour template together are one change to take back.
    const WriteGroup group(m_commands, WriteGroup::Observe::Now);
    int result = m_writer.reset();
    if (offersUserEffect()) {
        m_patterns.open(m_state.profile);
        result = firstFailure(result, m_patterns.resetFromTemplate(m_paths.colorTemplate));
    }
    return result;
}

int LightingSession::paintKey(int control) {
    if (m_state.fields.effect != LightingEffect::User) return LINK_OK;
    if (m_patterns.profile() != m_state.profile) m_patterns.open(m_state.profile);
    return m_patterns.paintControl(control);
}

PreviewInput LightingSession::previewInput() const {
    const LightingFields& f = m_state.fields;
    return {f.effect, f.direction, f.colorful, f.color, m_state.effectSelections};
}

} // namespace ombrel
