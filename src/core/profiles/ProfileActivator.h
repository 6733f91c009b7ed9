#pragma once
// What the profile manager's Apply needs from whoever talks to the keyboard: make a profile active and reload the
// store. The profile list stays below the keyboard transfer this way; ProfileSwitcher is the one implementation.

#include <optional>

namespace ombrel {

class ProfileActivator {
public:
    // Settles pending edits, makes `index` (when given) the active profile and reloads the store from the
    // keyboard. False when the keyboard refused the profile or the edits could not be written.
    virtual bool ApplyProfileChoice(std::optional<int> index) = 0;

protected:
    ~ProfileActivator() = default;
};

} // namespace ombrel
