#pragma once
// A key event from the window system as the key capture and the macro recorder see it, and the bookkeeping of
// which keys are held, which tells a first press from auto-repeat and finds releases that arrive without a press
// (a key already held when capturing began, or one whose press the desktop kept for itself).

#include "keyboard/KeyTable.h"

#include <cstdint>
#include <set>

namespace ombrel {

struct KeyEvent {
    KeyCode key = 0; // 0: a key without a key code
    bool press = true;
    bool autoRepeat = false;       // the window system marks repeated events of a held key
    std::uint64_t timestampMs = 0; // when the event happened, on the window system's clock
};

class HeldKeys {
public:
    enum class Kind {
        FirstPress,          // a key that was up went down
        Repeat,              // a press or release of a held key's auto-repeat
        Release,             // a held key went up
        ReleaseWithoutPress, // a key went up that was never seen going down
    };

    // Classifies `event` and updates the held keys.
    Kind classify(const KeyEvent& event);
    void clear() { m_held.clear(); }

private:
    std::set<KeyCode> m_held;
};

} // namespace ombrel
