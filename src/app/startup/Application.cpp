#include "Application.h"

#include "AboutDialog.h"
#include "ApplicationFollower.h"
#include "DisplayProbe.h"
#include "FirmwarePart.h"
#include "KeyboardBusService.h"
#include "KeyboardBusStart.h"
#include "KeyboardMap.h"
#include "MainMessages.h"
#include "MainWindow.h"
#include "ProfileBar.h"
#include "ProgramIcon.h"
#include "ProgramOptions.h"
#include "ScreenFit.h"
#include "SkinAccessibility.h"
#include "SkinButton.h"
#include "SkinImageCache.h"
#include "SkinStyle.h"
#include "TestControl.h"
#include "WindowShell.h"
#include "X11ActiveWindow.h"

#include "apprules/ApplicationRulesFile.h"
#include "device/ServiceLibrary.h"
#include "keyboardfile/WriteHistory.h"
#include "platform/KeyboardBus.h"
#include "platform/RuntimeDir.h"
#include "platform/SafeFileWriter.h"
#include "platform/StartupPlan.h"
#include "text/LanguageTexts.h"

#include <QApplication>
#include <QBuffer>
#include <QCursor>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPixmap>
#include <QSocketNotifier>
#include <QTimer>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace ombrel {

namespace {

// Opens the dialog a screenshot of it was asked for, as the user would.
void OpenScreenshotDialog(MainWindow& window, const QString& which) {
    if (which == QLatin1String("profiles"))
        window.profileBar().nameButton()->click();
    else if (which == QLatin1String("firmware"))
        window.firmware().openDialog();
    else if (which == QLatin1String("about"))
        window.shell().openAbout();
    else if (which == QLatin1String("key"))
        window.map().button(GKeyControls()[0])->click();
}

constexpr int kScreenshotDelayMs = 400;

// A failure that ends the program: on stderr, and in a message box when there is a screen to show it on.
int Fail(int code, const QString& message) {
    std::fprintf(stderr, "ombrel: %s\n", qPrintable(message));
    if (QGuiApplication::platformName() != QLatin1String("offscreen") &&
        QGuiApplication::platformName() != QLatin1String("minimal")) {
        EnsureApplicationIcon();
        QMessageBox::critical(nullptr, QStringLiteral("Ombrel"), message);
    }
    return code;
}

// Why a picture cannot be saved at `path`, or "" when its folder takes new files.
std::string ScreenshotFolderProblem(const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    const QByteArray native = QFile::encodeName(folder);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0) return "the folder " + folder.toStdString() + ": " + std::strerror(errno);
    if (!S_ISDIR(st.st_mode)) return folder.toStdString() + " is not a folder";
    if (::access(native.constData(), W_OK) != 0)
        return "the folder " + folder.toStdString() + ": " + std::strerror(errno);
    return {};
}

// Saves the picture as PNG through the program's safe writer; the reason on failure.
std::string SaveScreenshot(const QPixmap& picture, const QString& path) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "PNG")) return "cannot save the screenshot: the picture could not be encoded";
    const FileWriteResult written =
        WriteFileSafely(QFile::encodeName(path).toStdString(), std::string_view(png.constData(), png.size()));
    return written ? std::string() : written.message;
}

// A start that handed its request to the running instance says what became of it: nothing when it was done, and
// why when it was not, so a /Kill that did not reach the program is not taken for one that did.
int ReportDelivery(const std::optional<DeliveryResult>& delivery) {
    if (!delivery || *delivery == DeliveryResult::Delivered) return 0;
    if (*delivery == DeliveryResult::Asking) {
        std::fprintf(stderr,
                     "ombrel: the running program has unapplied edits: it asks in its window whether to apply "
                     "or discard them, and ends once they are settled (/Kill --force ends it without asking)\n");
        return 0;
    }
    std::fprintf(stderr, "ombrel: the running program did not take the request (%s)\n", DeliveryResultName(*delivery));
    return kExitRequestNotTaken;
}

} // namespace

int Application::run(int argc, char** argv) {
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
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "ombrel: %s\nUsage: ombrel [OPTION]...\nTry 'ombrel --help' for the options.\n",
                     qPrintable(options.error));
        return kExitBadCommandLine;
    }
    if (!options.screenshot.isEmpty()) {
        // Refused before the window starts, rather than after it was shown for nothing.
        const std::string problem = ScreenshotFolderProblem(options.screenshot);
        if (!problem.empty()) {
            std::fprintf(stderr, "ombrel: cannot save the screenshot to %s: %s\n", qPrintable(options.screenshot),
                         problem.c_str());
            return kExitBadCommandLine;
        }
    }
    // Qt aborts the process when it finds no display; say plainly what is missing instead.
    if (const std::string reason = NoDisplayReason(DisplayEnvironment::current(options.platform.toStdString()));
        !reason.empty()) {
        std::fprintf(stderr,
                     "ombrel: %s.\n"
                     "Start Ombrel from a desktop session (or with DISPLAY set to a running X server). For a picture\n"
                     "of the window on a machine without a screen:\n"
                     "  QT_QPA_PLATFORM=offscreen ombrel --emulator --screenshot=ombrel.png\n",
                     reason.c_str());
        return kExitNoDisplay;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ombrel"));
    // The desktop matches the window to its menu entry (icon, name) by this.
    QGuiApplication::setDesktopFileName(QStringLiteral("ombrel"));
    QApplication::setApplicationVersion(QStringLiteral(OMBREL_VERSION));
    // The window hides into the tray: closing it must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);
    ApplyProgramLook();
    InstallSkinAccessibility();

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
    if (plan.exitNow) return ReportDelivery(plan.delivery);
    // Every window of the program, message boxes and file dialogs too, carries its icon; it is made on another
    // core while the window is built.
    PrepareProgramIcon(QString::fromStdString(paths->mainIniDir));

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
    const AppPaths userPaths =
        options.emulator ? EmulatorAppPaths(*paths, options.emulatorState.toStdString()) : *paths;
    context.paths = userPaths;
    context.settings = &settings;
    context.api = &library->api();
    context.autoShowDone = plan.autoShowDone;
    context.emulator = options.emulator;
    // Every write to the keyboard from now on first keeps the state it replaces.
    SetProcessHistory(HistorySettingsFor(context.paths, options.emulator, "Ombrel"));
    if (!options.screenshot.isEmpty()) context.trayAvailable = false;
    auto window = std::make_unique<MainWindow>(std::move(context));
    if (!window->initialize(&error)) {
        // The emulator says itself why it refused to start (a state file that is not one, or one in use).
        const std::string problem = library->emulatorProblem();
        return Fail(kExitNoService, problem.empty() ? error : QString::fromStdString(problem));
    }
    QApplication::setWindowIcon(ProgramIcon(QString::fromStdString(paths->mainIniDir)));
    // The rules page offers the running applications where the program can see them (X11).
    if (RunsOnX11()) window->setRunningApplications(&ListRunningApplications);
    // The keyboard follows the application in front, by the user's rules (off while there are none).
    std::unique_ptr<ApplicationFollower> follower;
    if (options.screenshot.isEmpty())
        follower = std::make_unique<ApplicationFollower>(
            *window, QString::fromStdString(apprules::ApplicationRulesPath(*paths)), RunsOnX11());
    // Scripts, desktop shortcuts and ombrelctl reach the keyboard through this program while it runs.
    std::unique_ptr<KeyboardBusService> busService;
    if (options.screenshot.isEmpty())
        busService = ServeKeyboardOnBus(
            *window, KeyboardTargetName(options.emulator, choice.emulatorState), paths->dataDir, userPaths,
            [f = follower.get()](const apprules::ApplicationIdentity& front) { f->activated(front); });
    QObject::connect(window.get(), &MainWindow::ended, &app, [](int code) { QCoreApplication::exit(code); });

    // Later starts reach this one through the instance channel; their request is handled on this thread, and
    // they wait for the answer until it has been.
    std::unique_ptr<QSocketNotifier> channelNotifier;
    if (plan.channel) {
        MainWindow* target = window.get();
        plan.channel->setHandler([target](InstanceRequest request) {
            const bool open = request == InstanceRequest::Open;
            const std::uintptr_t tag = open                                     ? kTagOpen
                                       : request == InstanceRequest::KillForced ? kTagKillForced
                                                                                : kTagKill;
            AppMessageEvent message(open ? UM_OPEN : UM_KILL, tag, 0);
            QCoreApplication::sendEvent(target, &message);
        });
        plan.channel->setAsking([target](InstanceRequest request) {
            return request == InstanceRequest::Kill && target->asksBeforeEnding();
        });
        channelNotifier = std::make_unique<QSocketNotifier>(plan.channel->fd(), QSocketNotifier::Read);
        InstanceChannel* channel = &*plan.channel;
        QObject::connect(channelNotifier.get(), &QSocketNotifier::activated, [channel] { channel->handlePending(); });
    }

    std::unique_ptr<TestControl> control;
    if (!options.testControl.isEmpty()) {
        control = std::make_unique<TestControl>(*window, *library, follower.get());
        if (!control->listen(options.testControl, &error)) return Fail(kExitBadCommandLine, error);
    }

    bool screenshotFailed = false;
    if (!options.screenshot.isEmpty()) {
        // The window is shown (there is no tray), painted, saved as a picture, and the program ends.
        QTimer::singleShot(kScreenshotDelayMs, window.get(), [&window, &options, &screenshotFailed] {
            window->showWindow();
            QCursor::setPos(0, 0); // no key shows the pointer's hover face in the picture
            QTimer::singleShot(kScreenshotDelayMs, window.get(), [&window, &options, &screenshotFailed] {
                // A dialog is pictured while it runs: its own event loop takes the picture and closes it.
                QWidget* shown = window.get();
                if (QWidget* dialog = QApplication::activeModalWidget())
                    shown = dialog;
                else if (AboutDialog* about = window->shell().aboutDialog(); about && about->isVisible())
                    shown = about;
                const std::string problem = SaveScreenshot(shown->grab(), options.screenshot);
                if (shown != window.get()) shown->close();
                screenshotFailed = !problem.empty();
                if (screenshotFailed)
                    std::fprintf(stderr, "ombrel: %s\n", problem.c_str());
                else
                    std::printf("ombrel: screenshot saved to %s\n", qPrintable(options.screenshot));
                window->exitProgram();
            });
            // After the picture is planned: a dialog runs its own event loop until the picture closes it.
            OpenScreenshotDialog(*window, options.screenshotOf);
        });
    }

    const int code = app.exec();
    busService.reset();
    follower.reset();
    window->shutDown();
    control.reset();
    window.reset();
    // The skin pictures are shared by every button for the life of the window; free them while the application
    // object, which owns the pixmap backend, still exists.
    SkinImageCache::instance().clear();
    channelNotifier.reset();
    plan.channel.reset();
    plan.lock.release();
    return screenshotFailed ? kExitBadCommandLine : code;
}

} // namespace ombrel
