#pragma once
// Keeps the working store in step with the keyboard: reloads it when the keyboard arrives, switches the active
// profile from the profile buttons, and names the active profile on the profile button.

namespace ombrel {

class COmbrelDlg;

class ProfileSync {
public:
    explicit ProfileSync(COmbrelDlg& window) : m_window(window) {}

    // Reads the keyboard into the store file and loads the store from it; when the keyboard cannot be read the
    // store gets a default image. Unless `keepApply`, Apply is disabled afterwards. Returns true when read.
    bool ReloadFromKeyboard(bool keepApply);
    // Makes profile `index` active, asking first about unapplied changes. Returns true when handled.
    bool SwitchProfile(int index);
    void RefreshProfileName();
    // The profile buttons: profile `k` selected by the user.
    void SelectProfile(int k);

private:
    COmbrelDlg& m_window;
    bool m_questionPending = false;
};

} // namespace ombrel
