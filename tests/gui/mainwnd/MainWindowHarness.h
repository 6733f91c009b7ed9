#pragma once
// The main window on the emulated keyboard, in a private set of per-user folders. Dialog answers come from the
// UserPrompts hooks; nothing blocks on a real dialog.

#include "COmbrelDlg.h"

#include "VevIrozEmu.h"
#include "device/ServiceLibrary.h"
#include "platform/SettingsStore.h"

#include <QTemporaryDir>

#include <array>
#include <memory>
#include <vector>

namespace ombrel::test {

struct Emu {
    decltype(&EmuReset) reset = nullptr;
    decltype(&EmuPlug) plug = nullptr;
    decltype(&EmuUnplug) unplug = nullptr;
    decltype(&EmuIsPlugged) isPlugged = nullptr;
    decltype(&EmuPressBankKey) pressBankKey = nullptr;
    decltype(&EmuSendConsumer) sendConsumer = nullptr;
    decltype(&EmuReadMemory) readMemory = nullptr;
    decltype(&EmuWriteMemory) writeMemory = nullptr;
    decltype(&EmuReportCount) reportCount = nullptr;
    decltype(&EmuSetLatencyMicros) setLatencyMicros = nullptr;
};

class MainWindowHarness {
public:
    MainWindowHarness();
    ~MainWindowHarness();

    // Starts a window on a fresh emulated keyboard (factory memory), plugged in or not, and waits until the
    // start-up has settled: UM_INIT handled and the first presence report applied.
    COmbrelDlg& start(bool plugged = true, bool autoShowDone = false);
    // Ends the window (as the program's end would), keeping the folders so a later start sees its settings.
    void stop();
    COmbrelDlg& window() { return *m_window; }
    const Emu& emu() const;
    SettingsStore& settings() { return *m_settings; }
    const AppPaths& paths() const { return m_paths; }
    QString dir() const { return m_dir.path(); }

    // Waits until the presence watcher and the UI have handled everything pending.
    void settle();
    std::vector<std::uint8_t> keyboardKeymap(int profile) const;
    std::vector<std::uint8_t> factoryKeymap() const;
    int keyboardActiveProfile() const;

private:
    QTemporaryDir m_dir;
    AppPaths m_paths;
    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<COmbrelDlg> m_window;
};

} // namespace ombrel::test
