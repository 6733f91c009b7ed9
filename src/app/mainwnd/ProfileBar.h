#pragma once
// The profile bar: the three profile buttons and the button that names the active profile and opens the profile
// manager. It is the window's side of profile switching (ProfileHost): the store follows the keyboard through
// ProfileSwitcher, and the bar answers its questions and shows what it decided.

#include "ProfileManagerDialog.h"

#include "transfer/ProfileHost.h"
#include "transfer/ProfileSwitcher.h"

#include <QObject>
#include <QPointer>

#include <memory>

namespace ombrel {

class SkinButton;
class WindowContext;

class ProfileBar : public QObject, public ProfileHost {
    Q_OBJECT
public:
    ProfileBar(WindowContext& context, QObject* parent);
    ~ProfileBar() override;

    // Profile `index` (0..2).
    SkinButton* profileButton(int index) const;
    SkinButton* nameButton() const { return m_name; }
    void applyTexts();

    // Reads the keyboard into the store file and loads the store from it; when the keyboard cannot be read the
    // store gets a default image. Unless `keepApply`, the store counts as applied afterwards. Returns true when
    // read.
    bool reloadFromKeyboard(bool keepApply);
    // The profile buttons: profile `index` picked by the user. Nothing happens when it is already active.
    void selectProfile(int index);
    // Makes profile `index` active, asking first about unapplied changes. Returns true when the keyboard took it.
    bool switchProfile(int index);
    // The same for the lighting view, which shows the active profile: its question about unapplied changes speaks
    // of the lighting, not of another profile.
    bool switchProfileForLighting(int index);
    // The active profile's button checked, and its name on the name button.
    void showActiveProfile();
    void showProfileName();

    // The profile manager, modal; null when it is not open.
    void openProfileManager();
    ProfileManagerDialog* profileManager() const { return m_manager; }
    // The keyboard went away: an open profile manager closes as with Cancel.
    void closeProfileManager();

    // ProfileHost
    bool keyDialogOpen() const override;
    bool editsPending() const override;
    void setEditsPending(bool pending) override;
    void applyEdits() override;
    bool askYesNo(const std::string& text) override;
    EditsAnswer askAboutEdits(const std::string& text) override;
    void tell(const std::string& text) override;
    void refreshKeyMarks() override;
    void showProfileName(const std::string& name, const std::string& tooltip) override;
    void activeProfileChanged(int index) override;
    int runDeviceWork(const std::function<int()>& work) override;

signals:
    // The working store now holds other records: what shows them must read them again.
    void storeChanged();
    // The user chose to apply the pending edits before the switch.
    void applyRequested();
    // The keyboard took the profile the user picked.
    void profileSelected(int index);
    // F1 in the profile manager.
    void helpRequested();
    // The keyboard took profile `index` (0..2): its report went through.
    void profileTaken(int index);
    // The active profile's name was shown, with its tooltip ("Profile: Gaming").
    void profileNameShown(const QString& tooltip);

private:
    // Null until the window has a device link.
    ProfileSwitcher* switcher();

    WindowContext& m_context;
    SkinButton* m_profiles[3] = {};
    SkinButton* m_name = nullptr;
    std::unique_ptr<ProfileSwitcher> m_switcher;
    const char* m_editsQuestion = "PROFILE_SWITCH_UNAPPLIED";
    QPointer<ProfileManagerDialog> m_manager;
};

} // namespace ombrel
