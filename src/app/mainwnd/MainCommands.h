#pragma once
// The main window's command buttons and menus: Apply, OK, Default, the restore/backup menu, help, the links and
// the firmware command. Writing to the keyboard runs as a DeviceTask, so the window keeps painting.

#include <QString>

class QPoint;

namespace ombrel {

class COmbrelDlg;

// The profile file filter and extension of the import and export dialogs.
inline constexpr const char* kProfileFileFilter = "Profile files (*.obp);;All files (*)";
inline constexpr const char* kProfileFileSuffix = "obp";

class MainCommands {
public:
    explicit MainCommands(COmbrelDlg& window) : m_window(window) {}

    // Saves the store file and writes the pending assignments of the active profile. Returns true when nothing
    // was pending or both succeeded.
    bool ApplyChanges();
    // Asks, then resets the active profile's keys and applies.
    void ResetAll();
    // Restore: validates and loads a profile file, saves it as the store and writes all three profiles.
    void ImportProfiles();
    // Backup: the store into a file the user chooses.
    void ExportProfiles();
    // Before the program ends: with unapplied changes, asks whether to apply or discard them, or to stay. True
    // when the program may end.
    bool ConfirmUnappliedChanges();
    void OpenHelp();
    void OpenVendorLink(const QString& target);
    // The restore/backup menu at `globalPos`.
    void ShowBackupMenu(const QPoint& globalPos);
    // The firmware dialog's entry point.
    void OpenFirmwareDialog();

    QString storePath() const;

private:
    COmbrelDlg& m_window;
};

} // namespace ombrel
