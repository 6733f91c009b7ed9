#pragma once
// The profile manager's list: the keyboard's three profiles, one of them checked as the profile to activate,
// followed by profile files the user keeps at hand. Apply writes the list into the settings (section PROFILES,
// for outside tools; this program never reads it back) and activates the checked profile.

#include "keys/TextSources.h"
#include "platform/SettingsStore.h"
#include "profiles/ProfileActivator.h"

#include <optional>
#include <string>
#include <vector>

namespace ombrel {

struct ProfileRow {
    std::string name;       // name column: a profile's name, or a file's name without folder and extension
    std::string folder;     // path column: the folder, ending in '/'
    std::string listedPath; // what the settings list names for this row
    int profile = -1;       // the keyboard profile the row stands for; -1 for a profile file
};

class ProfileListModel {
public:
    // The keyboard's three profiles (kept in the store file `storePath`), `activeProfile` checked when it is one
    // of them; Apply disabled.
    ProfileListModel(int activeProfile, const std::string& storePath, const TextLookup& text);

    const std::vector<ProfileRow>& rows() const { return m_rows; }
    int checkedRow() const { return m_checked; }
    std::optional<int> checkedProfile() const;
    bool applyEnabled() const { return m_applyEnabled; }

    // Checks `row`, unchecking the others. Only the keyboard's profiles can be made active; false for a file row
    // or an index outside the list.
    bool check(int row);
    // No row checked: Apply then keeps the active profile.
    void uncheck();
    // Writes a new default profile file (no macros, no strings: 32832 bytes) at `path`, replacing a file the user
    // agreed to replace, and lists it. False with the system's reason in `why` when it cannot be written.
    bool addNew(const std::string& path, std::string* why = nullptr);
    // Files New wrote in this session (not those it replaced) are removed again: Cancel leaves nothing behind.
    // Apply keeps them.
    void discardCreated();
    // Renames the file of a file row to `newName` + ".obp" in its folder, never over another file. False with
    // the reason in `why` for a keyboard profile's row, a name with '/', an existing target or a failed rename.
    bool rename(int row, const std::string& newName, std::string* why = nullptr);
    // Lists an existing profile file.
    void addExisting(const std::string& path);
    // Takes `row` off the list; the file stays where it is. The keyboard's own profiles cannot be removed.
    bool remove(int row);

    // Writes PROFILE00 (the number of rows) and PROFILE01... (each row's file) into `settings`.
    bool writeList(const SettingsStore& settings) const;
    // writeList, then activates the checked profile (none checked: the active one stays) and reloads the store
    // from the keyboard. Returns false when the keyboard refused the profile or the pending edits could not be
    // written; a list the settings could not take is only for outside tools and does not count.
    bool apply(const SettingsStore& settings, ProfileActivator& switcher);

private:
    std::vector<ProfileRow> m_rows;
    int m_checked = -1;
    bool m_applyEnabled = false;
    std::vector<std::string> m_created; // files New wrote, until Apply
};

// The file name the Add dialog proposes: the per-user folder followed directly by the text of "PROFILE_NEW".
std::string ProposedNewProfilePath(const std::string& userDir, const TextLookup& text);

} // namespace ombrel
