#pragma once
// The program's main window. It lives for the whole process: it starts hidden with an icon in the tray, binds the
// keyboard, shows the keyboard map, and handles the window messages of the device link and of later starts of the
// program. The map is KeyboardMap, the commands MainCommands, the profile switching ProfileSync.

#include "CBaseDialog.h"
#include "KeyboardMap.h"
#include "MainCommands.h"
#include "MainContext.h"
#include "ProfileSync.h"
#include "UiDispatcher.h"
#include "WindowScreen.h"

#include "device/DeviceLink.h"
#include "keys/AssignmentStore.h"

#include <QPointer>
#include <QTimer>

#include <map>
#include <memory>

class QLabel;

namespace ombrel {

class CAboutDlg;
class CPngButton;
class LightingPanelFrame;
class CTrayIcon;

class COmbrelDlg : public CBaseDialog {
    Q_OBJECT
public:
    explicit COmbrelDlg(MainContext context);
    ~COmbrelDlg() override;

    // The window start-up. Returns false, with the reason in `error`, when the service library cannot be
    // initialised or the skin cannot be read; the program then ends.
    bool OnInitDialog(QString* error);

    // Shows the window when the keyboard is present, else says that no keyboard was found.
    void ShowMain();
    // Hides the window; without a tray it is minimised instead, so it can always be reached.
    void HideMain();
    void SetApplyPending(bool pending);
    bool applyPending() const { return m_applyPending; }
    // Ends the program: hides the window, shuts down and emits `ended`. During device work the end waits for it.
    void ExitMain();
    void ShutdownMain();
    // Mode 0 with an icon shows and remembers it, mode 0 with 0 shows the remembered one, mode 1 the activity icon.
    void SetTrayState(int mode, int icon);
    // A command of a button or a menu (the window's WM_COMMAND).
    void OnCommand(int id);
    void OpenAbout();

    // What the parts of the window share.
    DeviceLink* link() { return m_link.get(); }
    KeyStores& stores() { return m_stores; }
    KeyboardMap& map() { return *m_map; }
    MainCommands& commands() { return m_commands; }
    ProfileSync& profiles() { return m_profiles; }
    WindowScreen& screen() { return m_screen; }
    UiDispatcher& dispatcher() { return m_dispatcher; }
    const MainContext& context() const { return m_context; }
    CTrayIcon& tray() { return *m_tray; }
    CPngButton* functionButton(int id) const;
    QLabel* progressPicture() const { return m_progress; }
    const QList<QWidget*>& lightingControls() const { return m_lightingControls; }
    LightingPanelFrame& lightingPanel() { return *m_lightingPanel; }
    CAboutDlg* aboutDialog() const;
    bool trayAvailable() const { return m_trayAvailable; }
    int languageIndex() const { return m_languageIndex; }
    bool multiSelectMode() const { return m_multiSelect; }
    bool lightingPanelOn() const { return m_lightingPanelOn; }
    bool windowReady() const { return m_screen.windowReady(); }
    bool hasEnded() const { return m_ended; }
    // The layer of the key image the map shows: the active profile, or profile 1's when it is unknown.
    int activeLayer();
    int bank();

    // Marks, tooltips and layout of the whole map from the working store (the caller may hold its lock).
    void RefreshKeyMarks();
    void RefreshOverlays();
    // The multi-select view on or off: the Switch caption and the overlays follow.
    void SetMultiSelect(bool on);
    void MarkProfileButtons();
    // Progress picture shown and animated / stopped and hidden.
    // The one-shot lighting reload; while the window is hidden it waits until the window is shown.
    void startReloadTimer();
    void startApplyIndicator();
    void stopApplyIndicator();

signals:
    // The program is to end with this exit code (after ShutdownMain).
    void ended(int exitCode);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    bool handleMessage(int message, std::uintptr_t wParam, std::intptr_t lParam);
    void onInit();
    void onOpen();
    void onProfileReload();
    void onBankChanged();
    void onLanguage(int languageIndex);
    void onDetach();
    void onReloadTimer();
    void onPreviewTimer();
    void onApplyAnimTimer();
    void checkFirmware();
    void buildFunctionButtons();
    void buildLightingPanel();
    CPngButton* makeFunctionButton(int id, const QString& key, const QPixmap* normal, const QPixmap* over,
                                   const QPixmap* down, const QPixmap* disabled, const QPixmap* checked);
    void setCaption(int id, const QString& text);
    void toggleFlip();
    void openForKey(int controlId);
    void updatePreviewTimer();
    void closeOwnedDialogs();
    void finishExit(int exitCode);

    MainContext m_context;
    UiDispatcher m_dispatcher;
    WindowScreen m_screen;
    KeyStores m_stores;
    std::unique_ptr<DeviceLink> m_link;
    KeyboardMap* m_map = nullptr;
    CTrayIcon* m_tray = nullptr;
    QPointer<CAboutDlg> m_about;
    MainCommands m_commands;
    ProfileSync m_profiles;
    std::map<int, CPngButton*> m_functionButtons;
    QLabel* m_progress = nullptr;
    QList<QWidget*> m_lightingControls;
    std::unique_ptr<LightingPanelFrame> m_lightingPanel;
    QString m_vendorLink;

    QTimer m_applyAnimTimer;
    QTimer m_reloadTimer;
    QTimer m_previewTimer;
    int m_applyAnimFrame = 0;
    bool m_reloadPending = false; // a reload asked for while the window was hidden

    bool m_trayAvailable = false;
    bool m_applyPending = false;
    bool m_multiSelect = false;
    bool m_lightingPanelOn = false;
    int m_languageIndex = 0;
    bool m_shutDown = false;
    bool m_ended = false;
    bool m_exitAfterTask = false;
};

} // namespace ombrel
