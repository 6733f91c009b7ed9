#include "MainWindowHarness.h"
#include "ScreenTest.h"

#include "SkinButton.h"
#include "TrayIcon.h"
#include "UserPrompts.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QTest>
#include <QThread>

#include <cstdio>
#include <cstdlib>

namespace ombrel::test {

void Click(MainWindow& window, const char* skinKey) {
    auto* button = window.findChild<SkinButton*>(QString::fromLatin1(skinKey));
    if (!button) {
        std::fprintf(stderr, "no button %s in the window\n", skinKey);
        std::abort();
    }
    button->click();
}

void TrayMenu(MainWindow& window, int command) {
    for (QAction* action : window.shell().tray().menu()->actions())
        if (action->data().toInt() == command) return action->trigger();
    std::fprintf(stderr, "no tray menu item %d\n", command);
    std::abort();
}

MainWindowHarness::MainWindowHarness() {
    PathEnvironment env;
    env.executablePath = OMBREL_TEST_PROGRAM;
    env.home = m_dir.path().toStdString();
    env.xdgDataHome = m_dir.filePath(QStringLiteral("data")).toStdString();
    env.xdgConfigHome = m_dir.filePath(QStringLiteral("config")).toStdString();
    m_paths = *BuildAppPaths(env);
    m_settings = std::make_unique<SettingsStore>(m_paths.settingsIni, m_paths.appProfileIni);
    UseProgramData(QString::fromStdString(m_paths.dataDir));
    UserPrompts::reset();
    static const bool memoryOnly = Emulator().configure(nullptr) == 1;
    (void)memoryOnly;
}

MainWindowHarness::~MainWindowHarness() {
    stop();
}

MainWindow& MainWindowHarness::start(bool plugged, bool autoShowDone, bool tray) {
    stop();
    emu().reset();
    emu().setLatencyMicros(0);
    if (!plugged) emu().unplug();
    MainContext context;
    context.paths = m_paths;
    context.settings = m_settings.get();
    context.api = &EmulatorLibrary().api();
    context.autoShowDone = autoShowDone;
    context.trayAvailable = tray;
    m_window = std::make_unique<MainWindow>(std::move(context));
    QString error;
    if (!m_window->initialize(&error)) {
        std::fprintf(stderr, "window start-up failed: %s\n", qPrintable(error));
        std::abort();
    }
    settle();
    return *m_window;
}

void MainWindowHarness::settle() {
    // The presence worker waits for the UI thread while the window handles its messages, so this waits by
    // running the event loop until the worker's last step (the count it handled) matches the keyboard.
    const int expected = emu().isPlugged() ? 1 : 0;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (m_window->windowReady() && m_window->link()->state().lastDeviceCount.load() == expected) break;
        QThread::msleep(1);
    }
    QTest::qWait(20); // what the worker posted last
}

void MainWindowHarness::stop() {
    if (!m_window) return;
    m_window->shutDown();
    m_window.reset();
    QCoreApplication::processEvents();
}

std::vector<std::uint8_t> MainWindowHarness::keyboardKeymap(int profile) const {
    std::vector<std::uint8_t> bytes(378);
    emu().readMemory(EMU_AREA_KEYMAP, static_cast<std::uint32_t>(profile * 378), bytes.data(), 378);
    return bytes;
}

std::vector<std::uint8_t> MainWindowHarness::keyboardLighting(int profile) const {
    std::vector<std::uint8_t> bytes(42);
    emu().readMemory(EMU_AREA_LIGHTING, static_cast<std::uint32_t>(profile * 42), bytes.data(), 42);
    return bytes;
}

std::vector<std::uint8_t> MainWindowHarness::factoryKeymap() const {
    std::vector<std::uint8_t> bytes(378);
    emu().readMemory(EMU_AREA_DEFAULT_KEYMAP, 0, bytes.data(), 378);
    return bytes;
}

int MainWindowHarness::keyboardActiveProfile() const {
    std::uint8_t config[44] = {};
    emu().readMemory(EMU_AREA_CONFIG, 0, config, sizeof config);
    return config[10];
}

} // namespace ombrel::test
