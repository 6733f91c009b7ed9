#pragma once
// The profile manager: the keyboard's three profiles with the active one checked, and the profile files the user
// keeps at hand. New writes a default profile file, Add file lists an existing one, Remove takes a file off the
// list (the file stays), Rename renames a listed file, Export writes the keyboard's profiles to a file, Load into
// takes one profile of a listed file into profile 1, 2 or 3 (written by the main window's Apply), Apply and
// OK activate the checked profile and reload the keys from the keyboard. Cancel takes back the files New wrote.

#include "SkinnedDialog.h"

#include "profiles/ProfileListModel.h"
#include "transfer/ProfileSwitcher.h"

#include <map>

class QKeyEvent;

namespace ombrel {

class SkinButton;
class CheckableList;
struct AppPaths;

class ProfileManagerDialog : public SkinnedDialog {
    Q_OBJECT
public:
    enum ControlId {
        kIdList = 1007,
        kIdLoad = 1008,
        kIdAdd = 1010,
        kIdDelete = 1011,
        kIdApply = 1012,
        kIdRename = 1013,
        kIdExport = 1014,
        kIdLoadInto = 1015
    };
    static inline constexpr int kIdOk = 1;
    static inline constexpr int kIdCancel = 2;

    // `activeProfile` is the row checked at opening (none when it is not 0..2).
    ProfileManagerDialog(const QString& layoutFile, const AppPaths& paths, const SettingsStore& settings,
                         ProfileSwitcher& switcher, int activeProfile, int languageIndex, QWidget* parent = nullptr);

    CheckableList* list() const { return m_list; }
    SkinButton* button(int id) const;
    const ProfileListModel& model() const { return m_model; }

    // Cancel: the files New wrote in this opening are removed again.
    void reject() override;

signals:
    void helpRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    SkinButton* makeButton(int id, const char* skinKey, const char* textKey, const char* fallback);
    void fillList();
    void onAdd();
    void onLoad();
    void onDelete();
    void onRename();
    void onExport();
    void onLoadInto();
    void onApply();
    QString text(const char* key, const char* fallback = nullptr) const;

    const AppPaths& m_paths;
    const SettingsStore& m_settings;
    ProfileSwitcher& m_switcher;
    ProfileListModel m_model;
    int m_languageIndex;
    CheckableList* m_list = nullptr;
    std::map<int, SkinButton*> m_buttons;
};

} // namespace ombrel
