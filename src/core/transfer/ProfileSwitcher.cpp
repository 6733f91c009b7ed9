#include "transfer/ProfileSwitcher.h"

#include "device/ActiveProfile.h"
#include "device/LinkResult.h"
#include "platform/LegacyUserFolders.h"
#include "platform/PerUserFolder.h"
#include "profiles/ProfileLayerCopy.h"
#include "profiles/ProfileNames.h"
#include "profiles/ProfileStore.h"
#include "transfer/KeyboardBackup.h"

#include <mutex>

namespace ombrel {

ProfileSwitcher::ProfileSwitcher(DeviceCommands& commands, DeviceState& state, AssignmentStore& working, AppPaths paths,
                                 TextLookup text, ProfileHost& host)
    : m_commands(commands), m_state(state), m_working(working), m_paths(std::move(paths)),
      m_storePath(StorePath(m_paths.userDir)), m_text(std::move(text)), m_host(host) {
    // A folder the start-up did not look at (the emulator's state folder) may still hold the old name.
    MoveLegacyStoreFile(m_paths.userDir);
}

bool ProfileSwitcher::ReloadFromKeyboard(bool keepApply) {
    EnsurePerUserFolder(m_paths);
    const int read = m_host.runDeviceWork([this] {
        const int p = GetActiveProfile(m_commands, m_state);
        const bool fromKeyboard = p >= 0 && ReadKeyboardToFile(m_commands, m_state, m_storePath, m_text) == 1;
        std::lock_guard lock(m_working.lock);
        // A file that cannot be loaded leaves the store as it was, so the default image below replaces it whole.
        if (fromKeyboard && LoadStore(m_working, m_storePath) == 1) return 1;
        ClearStrings(m_working);
        ClearMacros(m_working);
        ClearImage(m_working);
        CreateDefault(m_working, std::string(), 0, DefaultTarget::Store);
        return 0;
    });
    m_host.refreshKeyMarks();
    if (!keepApply) m_host.setEditsPending(false);
    return read == 1;
}

bool ProfileSwitcher::settleEdits() {
    if (!m_host.editsPending() || m_questionPending) return true;
    m_questionPending = true;
    bool settled = true;
    switch (m_host.askAboutEdits(m_text("PROFILE_SELECT_PROMPT"))) {
    case ProfileHost::EditsAnswer::Apply:
        m_host.applyEdits();
        settled = !m_host.editsPending();
        break;
    case ProfileHost::EditsAnswer::Discard:
        m_host.setEditsPending(false);
        discardEdits();
        break;
    case ProfileHost::EditsAnswer::Cancel:
        settled = false; // the user stays on the profile with the edits
        break;
    }
    m_questionPending = false;
    return settled;
}

bool ProfileSwitcher::LoadProfileFromFile(const std::string& path, int profile, std::string* why) {
    AssignmentStore file;
    {
        std::lock_guard fileLock(file.lock);
        if (LoadStore(file, path, why) != 1) return false;
    }
    {
        std::scoped_lock locks(m_working.lock, file.lock);
        if (!CopyProfileLayer(file, m_working, profile, why)) return false;
    }
    // Like an edit in the key dialog: shown at once, written to the keyboard by Apply.
    m_host.setEditsPending(true);
    m_host.refreshKeyMarks();
    return true;
}

void ProfileSwitcher::discardEdits() {
    if (GetActiveProfile(m_commands, m_state) < 0) return;
    {
        std::lock_guard lock(m_working.lock);
        if (LoadStore(m_working, m_storePath) == 1) return;
    }
    // No store file to go back to: the keyboard itself holds what the edits would have changed.
    ReloadFromKeyboard(false);
}

bool ProfileSwitcher::SwitchProfile(int index) {
    if (m_host.keyDialogOpen()) {
        m_host.tell(m_text("PROFILE_SEELCT_PROMPT2"));
        return false;
    }
    if (index < 0 || index >= kProfileCount) index = 0;
    if (!settleEdits()) return false;
    // A profile the keyboard did not take is not shown as active.
    const bool switched = SetActiveProfile(m_commands, m_state, index) == LINK_OK;
    if (switched) m_host.activeProfileChanged(index);
    m_host.refreshKeyMarks();
    RefreshProfileName();
    return switched;
}

bool ProfileSwitcher::ApplyProfileChoice(std::optional<int> index) {
    if (!settleEdits()) return false;
    bool switched = true;
    if (index) {
        switched = SetActiveProfile(m_commands, m_state, *index) == LINK_OK;
        if (switched) m_host.activeProfileChanged(*index);
    }
    ReloadFromKeyboard(false);
    RefreshProfileName();
    return switched;
}

void ProfileSwitcher::RefreshProfileName() {
    const std::string name = ProfileDisplayName(GetActiveProfile(m_commands, m_state), m_text);
    m_host.showProfileName(name, m_text("PROFILE_TIP") + name);
}

} // namespace ombrel
