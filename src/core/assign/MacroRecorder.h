#pragma once
// Recording a macro from the real keyboard: key events, with the times the window system gave them, become steps
// of the current macro of a MacroListModel. Pauses are the time between events as the events themselves say,
// not when they happened to be handled.

#include "assign/KeyEvent.h"

#include <cstdint>
#include <optional>

namespace ombrel {

class MacroListModel;

// How long a press that the recorder had to add before its release is held.
inline constexpr std::uint32_t kAddedPressHoldMs = 10;

class MacroRecorder {
public:
    // `startTimestampMs`: the time of the event that started recording (the click on Record), on the same clock
    // as the key events. Without it the first recorded step gets no pause before it.
    void start(std::optional<std::uint64_t> startTimestampMs);
    void stop();
    bool recording() const { return m_recording; }

    enum class Result {
        PassOn,    // not recorded, the desktop may have it (keys without a key code, media keys)
        Swallowed, // kept from the desktop, not recorded (auto-repeat)
        Recorded,
        Dropped, // kept from the desktop, but the macro is full or there is none
    };
    // A key event while recording. A first press or a release is recorded with the pause since the previous
    // recorded event (or the start); a pause longer than a step can hold is cut to the longest one. A release
    // that comes without its press (the key was held when recording began) gets a press added before it.
    Result feed(const KeyEvent& event, MacroListModel& model);

private:
    std::uint32_t pauseUntil(std::uint64_t timestampMs) const;

    bool m_recording = false;
    std::optional<std::uint64_t> m_lastTimestamp;
    HeldKeys m_held;
};

} // namespace ombrel
