#pragma once
// The profile bar: the three profile buttons and the button that names the active profile. It keeps the working
// store in step with the keyboard: it reloads the store when the keyboard arrives or reports a profile change, and
// switches the keyboard's active profile when the user picks another one.

#include <QObject>

namespace ombrel {

class CPngButton;
class WindowContext;

class ProfileBar : public QObject {
    Q_OBJECT
public:
    ProfileBar(WindowContext& context, QObject* parent);

    // Profile `index` (0..2).
    CPngButton* profileButton(int index) const;
    CPngButton* nameButton() const { return m_name; }
    void applyTexts();

    // Reads the keyboard into the store file and loads the store from it; when the keyboard cannot be read the
    // store gets a default image. Unless `keepApply`, the store counts as applied afterwards. Returns true when
    // read.
    bool reloadFromKeyboard(bool keepApply);
    // The profile buttons: profile `index` picked by the user. Nothing happens when it is already active.
    void selectProfile(int index);
    // Makes profile `index` active, asking first about unapplied changes. Returns true when the keyboard took it.
    bool switchProfile(int index);
    // The active profile's button checked, and its name on the name button.
    void showActiveProfile();
    void showProfileName();

signals:
    // The working store now holds other records: what shows them must read them again.
    void storeChanged();
    // The user chose to apply the pending edits before the switch.
    void applyRequested();
    // The keyboard took the profile the user picked.
    void profileSelected(int index);

private:
    WindowContext& m_context;
    CPngButton* m_profiles[3] = {};
    CPngButton* m_name = nullptr;
    bool m_questionPending = false;
};

} // namespace ombrel
