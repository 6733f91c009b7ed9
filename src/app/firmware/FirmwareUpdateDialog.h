#pragma once
// The firmware dialog: choose the updater program, back up the key assignments, and start the update, which sends
// the keyboard into its boot loader (after an automatic backup and the user's confirmation) and starts the
// updater. The chosen updater is kept by FirmwareUpdate, so it is still chosen when the dialog opens again.

#include "SkinnedDialog.h"

#include <map>

class QKeyEvent;

namespace ombrel {

class SkinButton;
class ColorStatic;
class FirmwareUpdate;
struct AppPaths;

class FirmwareUpdateDialog : public SkinnedDialog {
    Q_OBJECT
public:
    enum ControlId { kIdUpdate = 1147, kIdPath = 1179, kIdCancelUpdate = 1180, kIdOpen = 1181, kIdBackup = 1182 };

    FirmwareUpdateDialog(const QString& layoutFile, const AppPaths& paths, FirmwareUpdate& update, int languageIndex,
                         QWidget* parent = nullptr);

    SkinButton* button(int id) const;
    ColorStatic* pathDisplay() const { return m_path; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    SkinButton* makeButton(int id, const char* skinKey, const std::string& caption);
    void showPath();
    void onOpen();
    void onUpdate();
    void onBackup();

    const AppPaths& m_paths;
    FirmwareUpdate& m_update;
    int m_languageIndex;
    ColorStatic* m_path = nullptr;
    std::map<int, SkinButton*> m_buttons;
};

} // namespace ombrel
