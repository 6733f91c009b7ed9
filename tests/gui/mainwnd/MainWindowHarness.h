#pragma once
// The main window on the emulated keyboard, in a private set of per-user folders. Dialog answers come from the
// UserPrompts hooks; nothing blocks on a real dialog.

#include "BackupActions.h"
#include "CaptionBar.h"
#include "CommandBar.h"
#include "KeyboardMap.h"
#include "LightingPanel.h"
#include "MainWindow.h"
#include "ProfileBar.h"
#include "WindowShell.h"

#include "platform/SettingsStore.h"
#include "support/EmulatorLibrary.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace ombrel::test {

// Clicks the window's image button of that skin key, as the mouse would; fails the test when it is missing.
void Click(MainWindow& window, const char* skinKey);
// Chooses the tray menu's item whose command is `command` (kCmdTrayOpen, kCmdTrayAbout, kCmdTrayExit).
void TrayMenu(MainWindow& window, int command);

// Runs `steps` on the modal dialog of type T once it is open; `steps` closes it.
template <typename T>
void WhenOpen(const std::function<void(T&)>& steps) {
    QTimer::singleShot(0, [steps] {
        T* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        QVERIFY2(dialog, "the dialog did not open");
        steps(*dialog);
    });
}

class MainWindowHarness {
public:
    MainWindowHarness();
    ~MainWindowHarness();

    // Starts a window on a fresh emulated keyboard (factory memory), plugged in or not, and waits until the
    // start-up has settled: the queued start-up call handled and the first presence report applied.
    // `tray` says whether the desktop offers a tray.
    MainWindow& start(bool plugged = true, bool autoShowDone = false, bool tray = true);
    // Ends the window (as the program's end would), keeping the folders so a later start sees its settings.
    void stop();
    MainWindow& window() { return *m_window; }
    const EmulatorControl& emu() const { return Emulator(); }
    SettingsStore& settings() { return *m_settings; }
    const AppPaths& paths() const { return m_paths; }
    QString dir() const { return m_dir.path(); }

    // Waits until the presence watcher and the UI have handled everything pending.
    void settle();
    std::vector<std::uint8_t> keyboardKeymap(int profile) const;
    std::vector<std::uint8_t> keyboardLighting(int profile) const; // the 42-byte block of that profile
    std::vector<std::uint8_t> factoryKeymap() const;
    int keyboardActiveProfile() const;

private:
    QTemporaryDir m_dir;
    AppPaths m_paths;
    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<MainWindow> m_window;
};

} // namespace ombrel::test
