#pragma once
// The program's main window. It lives for the whole process: it starts hidden with an icon in the tray, binds the
// keyboard, and composes the parts that make up the screen: the caption bar, the profile bar, the keyboard map,
// the lighting panel, the command bar and the shell (tray and About). Each part owns its widgets, state and
// timers and reaches the rest through a WindowContext; the window wires their signals together, handles the
// messages of the device link and of later starts of the program, and takes everything down at the end.

#include "ApplicationRulesDialog.h"
#include "MainContext.h"
#include "SkinnedDialog.h"
#include "UiDispatcher.h"
#include "WindowContext.h"
#include "WindowScreen.h"

#include <cstdint>
#include <memory>
#include <utility>

class QLabel;

namespace ombrel {

class BackupActions;
class CaptionBar;
class CommandBar;
class FirmwareCheck;
class KeyAssignmentPart;
class FirmwarePart;
class KeyboardMap;
class LightingPanel;
class MapModeHint;
class ProfileBar;
class UnpluggedNotice;
class WindowShell;

class MainWindow : public SkinnedDialog {
    Q_OBJECT
public:
    explicit MainWindow(MainContext context);
    ~MainWindow() override;

    // The window start-up. Returns false, with the reason in `error`, when the service library cannot be
    // initialised or the skin cannot be read; the program then ends.
    bool initialize(QString* error);

    // Shows the window when the keyboard is present, else says that no keyboard was found.
    void showWindow();
    // Hides the window; without a tray it is minimised instead, so it can always be reached.
    void hideWindow();
    // The keyboard was unplugged: an open window stays and says so until the keyboard is back.
    void showKeyboardGone();
    const char* keyboardGoneTextKey() const;
    bool showsKeyboardGone() const;
    // The user's language choice: stored, and every open window takes its texts.
    void chooseLanguage(int languageIndex);
    // Ends the program: hides the window, shuts down and emits `ended`. During device work the end waits for it.
    void exitProgram();
    void shutDown();

    DeviceLink* link() { return m_link.get(); }
    WindowContext& context() { return m_parts; }
    KeyStores& stores() { return m_parts.stores(); }
    UiDispatcher& dispatcher() { return m_dispatcher; }
    bool windowReady() const { return m_screen.windowReady(); }
    bool hasEnded() const { return m_ended; }
    // Whether an end request now would first ask about unapplied edits in the window.
    bool asksBeforeEnding();

    CaptionBar& captionBar() { return *m_caption; }
    ProfileBar& profileBar() { return *m_profiles; }
    KeyboardMap& map() { return *m_map; }
    LightingPanel& lightingPanel() { return *m_lighting; }
    CommandBar& commandBar() { return *m_commands; }
    BackupActions& backupActions() { return *m_backup; }
    WindowShell& shell() { return *m_shell; }
    KeyAssignmentPart& keyAssignment() { return *m_assign; }
    FirmwarePart& firmware() { return *m_firmwarePart; }

    // A bus client changed the keyboard: the window shows what it holds now, keeping unapplied edits and saying
    // that the keyboard was changed elsewhere.
    void showChangedElsewhere();

    // "Switch profiles with the application": the rules page, offering the applications `m_runningApplications`
    // lists when a rule is added.
    void openApplicationRules();
    void setRunningApplications(RunningApplicationsSource source) { m_runningApplications = std::move(source); }

    // What the device link asks of the window (through WindowScreen).
    void startReloadTimer();
    void setTrayState(TrayState state);

signals:
    // The program is to end with this exit code (after shutDown).
    void ended(int exitCode);
    // What the keyboard holds may have changed (a write, a profile switch, the keyboard's profile key).
    void keyboardChanged();
    // The rules file was saved from the window and now holds `rules`.
    void applicationRulesChanged(const apprules::ApplicationRules& rules);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildParts();
    void arrangeTabOrder();
    void connectParts();
    bool handleMessage(int message, std::uintptr_t tag);
    void onInit();
    void onOpen();
    void onProfileReload();
    void onBankChanged();
    void onLanguage(int languageIndex);
    void onDetach();
    // The user's Close or Exit: with unapplied changes the command bar asks first.
    void closeFromUser();
    // "/Kill" from a later start: ends the program, asking first when edits are unapplied.
    void onKill();
    // The menu's "Discard changes": the store goes back to what the keyboard holds.
    void discardChanges();
    // The history of writes; a restore there reloads what the window shows.
    void openHistory();
    void checkUnfinishedWrite();
    // After a history restore or a keyboard file restored: the window reads the keyboard again.
    void reloadAfterRewrite();
    void finishExit(int exitCode);

    MainContext m_context;
    UiDispatcher m_dispatcher;
    WindowScreen m_screen;
    WindowContext m_parts;
    std::unique_ptr<DeviceLink> m_link;

    CaptionBar* m_caption = nullptr;
    ProfileBar* m_profiles = nullptr;
    KeyboardMap* m_map = nullptr;
    LightingPanel* m_lighting = nullptr;
    CommandBar* m_commands = nullptr;
    BackupActions* m_backup = nullptr;
    FirmwareCheck* m_firmware = nullptr;
    KeyAssignmentPart* m_assign = nullptr;
    FirmwarePart* m_firmwarePart = nullptr;
    WindowShell* m_shell = nullptr;
    UnpluggedNotice* m_unplugged = nullptr;
    MapModeHint* m_mapHint = nullptr;
    RunningApplicationsSource m_runningApplications; // none until the desktop can list them: ids are typed
    QLabel* m_pendingNote = nullptr;                 // "unapplied changes are waiting", on a window reopened with them

    bool m_shutDown = false;
    bool m_ended = false;
    bool m_killAfterWrite = false; // "/Kill" came during a write while edits were unapplied
};

} // namespace ombrel
