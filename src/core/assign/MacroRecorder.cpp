#include "assign/MacroRecorder.h"

#include "assign/MacroListModel.h"
#include "keys/MacroImage.h"
#include "keys/MediaTable.h"

#include <algorithm>

namespace ombrel {

void MacroRecorder::start(std::optional<std::uint64_t> startTimestampMs) {
    m_recording = true;
    m_lastTimestamp = startTimestampMs;
    m_held.clear();
}

void MacroRecorder::stop() {
    m_recording = false;
    m_held.clear();
}

std::uint32_t MacroRecorder::pauseUntil(std::uint64_t timestampMs) const {
    // A clock that went backwards (the window system's 32-bit time wraps after 49 days) gives no pause.
    if (!m_lastTimestamp || timestampMs < *m_lastTimestamp) return 0;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(timestampMs - *m_lastTimestamp, kMaxStepDelayMs));
}

MacroRecorder::Result MacroRecorder::feed(const KeyEvent& event, MacroListModel& model) {
    if (!m_recording || event.key == 0 || IsMediaKey(event.key)) return Result::PassOn;
    const HeldKeys::Kind kind = m_held.classify(event);
    if (kind == HeldKeys::Kind::Repeat) return Result::Swallowed;

    const std::uint32_t pause = pauseUntil(event.timestampMs);
    if (kind == HeldKeys::Kind::ReleaseWithoutPress) {
        // Both steps or none: a press recorded without its release would leave the key held when the macro plays.
        if (model.current() < 0 || model.stepCount() + 2 > kMaxMacroActions) return Result::Dropped;
        model.addStep(pause, event.key, MACRO_PRESS);
        model.addStep(kAddedPressHoldMs, event.key, MACRO_RELEASE);
    } else if (!model.addStep(pause, event.key, event.press ? MACRO_PRESS : MACRO_RELEASE)) {
        return Result::Dropped;
    }
    m_lastTimestamp = event.timestampMs;
    return Result::Recorded;
}

} // namespace ombrel
