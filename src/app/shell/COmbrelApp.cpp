#include "COmbrelApp.h"

#include "COmbrelDlg.h"
#include "MainMessages.h"
#include "ProgramOptions.h"
#include "ScreenFit.h"
#include "SkinImageCache.h"
#include "TestControl.h"

#include "device/ServiceLibrary.h"
#include "platform/RuntimeDir.h"
#include "platform/StartupPlan.h"
#include "text/LanguageTexts.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>

namespace ombrel {

namespace {

constexpr int kScreenshotDelayMs = 400;

// A failure that ends the program: on stderr, and in a message box when there is a screen to show it on.
int Fail(int code, const QString& message) {
    std::fprintf(stderr, "ombrel: %s\n", qPrintable(message));
    if (QGuiApplication::platformName() != QLatin1String("offscreen") &&
        QGuiApplication::platformName() != QLatin1String("minimal"))
        QMessageBox::critical(nullptr, QStringLiteral("Ombrel"), message);
    return code;
}

} // namespace

int COmbrelApp::run(int argc, char** argv) {
    // The command line is read before the GUI starts, so --help works without a display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const ProgramOptions options = ParseProgramOptions(arguments);
    if (options.help) {
        std::fputs(qPrintable(ProgramUsage()), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("ombrel %s\n", OMBREL_VERSION);
        return 0;
    }
    for (const QString& argument : options.ignored)
        std::fprintf(stderr, "ombrel: ignoring the unknown argument %s\n", qPrintable(argument));
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "ombrel: %s\nTry 'ombrel --help'.\n", qPrintable(options.error));
        return kExitBadCommandLine;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ombrel"));
    QApplication::setApplicationVersion(QStringLiteral(OMBREL_VERSION));
    // The window hides into the tray: closing it must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);

    const auto& paths = ProcessAppPaths();
    if (!paths) return Fail(kExitNoService, QStringLiteral("the program's own folders could not be found"));
    FitProgramToScreen(QString::fromStdString(paths->mainIniDir));
    SharedLanguageTexts().setDataFolder(paths->dataDir);
    SkinImageCache::instance().setSkinFolder(QString::fromStdString(paths->mainIniDir));
    SettingsStore settings(paths->settingsIni, paths->appProfileIni);

    std::string runtimeError;
    const auto runtimeDir = InstanceRuntimeDir(RuntimeEnvironment::current(), &runtimeError);
    StartupPlan plan = PlanStartup(*paths, ParseStartSwitches(argc, argv), runtimeDir);
    if (!plan.note.empty()) std::fprintf(stderr, "ombrel: %s\n", plan.note.c_str());
    if (plan.exitNow) return 0;

    ServiceChoice choice;
    choice.emulator = options.emulator;
    choice.emulatorState = options.emulatorState.toLocal8Bit().toStdString();
    choice.emulatorUnplugged = options.emulatorUnplugged;
    std::string loadError;
    const auto library = LoadServiceLibrary(paths->serviceLibDir, choice, &loadError);
    if (!library) return Fail(kExitNoService, QString::fromStdString(loadError));
    QString error;

    MainContext context;
    // An emulator run keeps its per-user data apart, so it never changes what the real keyboard's data holds.
    context.paths = options.emulator ? EmulatorAppPaths(*paths, options.emulatorState.toStdString()) : *paths;
    context.settings = &settings;
    context.api = &library->api();
    context.autoShowDone = plan.autoShowDone;
    if (!options.screenshot.isEmpty()) context.trayAvailable = false;
    auto window = std::make_unique<COmbrelDlg>(std::move(context));
    if (!window->OnInitDialog(&error)) {
        // The emulator says itself why it refused to start (a state file that is not one, or one in use).
        const std::string problem = library->emulatorProblem();
        return Fail(kExitNoService, problem.empty() ? error : QString::fromStdString(problem));
    }
    QObject::connect(window.get(), &COmbrelDlg::ended, &app, [](int code) { QCoreApplication::exit(code); });

    // Later starts reach this one through the instance channel; their request is handled on this thread, and
    // they wait for the answer until it has been.
    std::unique_ptr<QSocketNotifier> channelNotifier;
    if (plan.channel) {
        COmbrelDlg* target = window.get();
        plan.channel->setHandler([target](InstanceRequest request) {
            const bool open = request == InstanceRequest::Open;
            AppMessageEvent message(open ? UM_OPEN : UM_KILL, open ? kTagOpen : kTagKill, 0);
            QCoreApplication::sendEvent(target, &message);
        });
        channelNotifier = std::make_unique<QSocketNotifier>(plan.channel->fd(), QSocketNotifier::Read);
        InstanceChannel* channel = &*plan.channel;
        QObject::connect(channelNotifier.get(), &QSocketNotifier::activated, [channel] { channel->handlePending(); });
    }

    std::unique_ptr<TestControl> control;
    if (!options.testControl.isEmpty()) {
        control = std::make_unique<TestControl>(*window, *library);
        if (!control->listen(options.testControl, &error)) return Fail(kExitBadCommandLine, error);
    }

    if (!options.screenshot.isEmpty()) {
        // The window is shown (there is no tray), painted, saved as a picture, and the program ends.
        QTimer::singleShot(kScreenshotDelayMs, window.get(), [&window, &options] {
            window->ShowMain();
            QCursor::setPos(0, 0); // no key shows the pointer's hover face in the picture
            QTimer::singleShot(kScreenshotDelayMs, window.get(), [&window, &options] {
                const bool saved = window->grab().save(options.screenshot);
                std::fprintf(saved ? stdout : stderr,
                             saved ? "ombrel: screenshot saved to %s\n"
                                   : "ombrel: could not save the screenshot to %s\n",
                             qPrintable(options.screenshot));
                window->ExitMain();
            });
        });
    }

    const int code = app.exec();
    window->ShutdownMain();
    control.reset();
    window.reset();
    // The skin pictures are shared by every button for the life of the window; free them while the application
    // object, which owns the pixmap backend, still exists.
    SkinImageCache::instance().clear();
    channelNotifier.reset();
    plan.channel.reset();
    plan.lock.release();
    return code;
}

} // namespace ombrel
