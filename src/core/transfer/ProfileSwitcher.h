#pragma once
// Keeps `workingStore` in step with the keyboard's profiles: reloads it from the keyboard (on arrival, after a
// keyboard-side profile change and after the profile manager's Apply), switches the active profile on request
// and names the active profile on the window. Edits that have not been written to the keyboard are never lost
// silently: before a switch the user is asked to apply or discard them.

#include "device/DeviceCommands.h"
#include "device/DeviceState.h"
#include "keys/AssignmentStore.h"
#include "keys/TextSources.h"
#include "platform/AppPaths.h"
#include "profiles/ProfileActivator.h"
#include "transfer/ProfileHost.h"

#include <optional>
#include <string>

namespace ombrel {

class ProfileSwitcher final : public ProfileActivator {
public:
    ProfileSwitcher(DeviceCommands& commands, DeviceState& state, AssignmentStore& working, AppPaths paths,
                    TextLookup text, ProfileHost& host);

    // Reads the keyboard into the profile store file and loads the store from it; when the keyboard cannot be
    // read the store gets a default image, so the map shows factory functions. Unless `keepApply`, the window's
    // pending edits are dropped from its Apply. Returns true when the keyboard was read.
    bool ReloadFromKeyboard(bool keepApply);

    // Makes profile `index` active (3 or more, or a negative index, means profile 0). Refused while the key
    // dialog is open. With pending edits the user is asked first: Apply writes them to the keyboard for the old
    // profile, Discard drops them, Cancel keeps them and the profile; a switch asked for while that question is
    // open does not ask again. Returns
    // true when the keyboard took the new profile.
    bool SwitchProfile(int index);

    // The profile manager's Apply: pending edits are settled as for a switch, `index` (when given) becomes the
    // active profile, and the store is reloaded from the keyboard. Returns false when the keyboard refused the
    // profile or the edits could not be written.
    bool ApplyProfileChoice(std::optional<int> index) override;

    // Profile `profile` (0..2) of the profile file at `path` replaces that profile in the store, with the macros and
    // strings it uses, as a pending edit that Apply writes to the keyboard. False with the reason in `why` when the
    // file cannot be loaded or its macros do not fit.
    bool LoadProfileFromFile(const std::string& path, int profile, std::string* why = nullptr);

    // Shows the active profile's name on the window (see ProfileNames.h).
    void RefreshProfileName();

    const std::string& storePath() const { return m_storePath; }
    const TextLookup& text() const { return m_text; }

private:
    // Asks about pending edits and applies or discards them. False when the user cancelled, or when they were to
    // be applied but stayed pending (the write failed and said why): switching then would leave them behind.
    bool settleEdits();
    // The store as the profile store file holds it; from the keyboard when the file cannot be loaded.
    void discardEdits();

    DeviceCommands& m_commands;
    DeviceState& m_state;
    AssignmentStore& m_working;
    AppPaths m_paths;
    std::string m_storePath;
    TextLookup m_text;
    ProfileHost& m_host;
    bool m_questionPending = false;
};

} // namespace ombrel
