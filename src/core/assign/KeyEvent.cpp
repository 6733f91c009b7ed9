#include "assign/KeyEvent.h"

namespace ombrel {

HeldKeys::Kind HeldKeys::classify(const KeyEvent& event) {
    // Some window systems send auto-repeat as release/press pairs marked as repeats; others only repeat the press.
    // Either way the key stays held.
    if (event.autoRepeat) return Kind::Repeat;
    if (event.press) return m_held.insert(event.key).second ? Kind::FirstPress : Kind::Repeat;
    return m_held.erase(event.key) ? Kind::Release : Kind::ReleaseWithoutPress;
}

} // namespace ombrel
