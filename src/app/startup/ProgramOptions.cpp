#include "ProgramOptions.h"

#include "platform/CommandLine.h"

#include <array>

namespace ombrel {

namespace {

// Options every Qt program takes (QGuiApplication and QApplication read them), with "-" or "--".
constexpr std::array<const char*, 16> kQtOptionsWithValue{"platform",
                                                          "platformpluginpath",
                                                          "platformtheme",
                                                          "plugin",
                                                          "qwindowgeometry",
                                                          "qwindowicon",
                                                          "qwindowtitle",
                                                          "display",
                                                          "geometry",
                                                          "style",
                                                          "stylesheet",
                                                          "session",
                                                          "name",
                                                          "title",
                                                          "qmljsdebugger",
                                                          "visual"};
constexpr std::array<const char*, 5> kQtFlags{"reverse", "widgetcount", "nograb", "dograb", "sync"};

// The option's name without its dashes when it is one of Qt's, else an empty string.
QString QtOptionName(const QString& argument, bool* takesValue) {
    if (!argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("-") || argument == QLatin1String("--"))
        return {};
    const QString name = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
    for (const char* option : kQtOptionsWithValue)
        if (name == QLatin1String(option)) return *takesValue = true, name;
    for (const char* flag : kQtFlags)
        if (name == QLatin1String(flag)) return *takesValue = false, name;
    return {};
}

} // namespace

ProgramOptions ParseProgramOptions(const QStringList& arguments) {
    ProgramOptions options;
    bool kill = false;
    bool force = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const QByteArray bytes = argument.toUtf8();
        const StartSwitch startSwitch =
            ClassifyArgument(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        kill = kill || startSwitch == StartSwitch::Kill;
        force = force || startSwitch == StartSwitch::Force;
        if (startSwitch != StartSwitch::None) continue;
        bool takesValue = false;
        if (const QString qtOption = QtOptionName(argument, &takesValue); !qtOption.isEmpty()) {
            options.qtArguments << argument;
            if (!takesValue) continue;
            if (i + 1 >= arguments.size()) {
                if (options.error.isEmpty()) options.error = QStringLiteral("%1 needs a value").arg(argument);
                continue;
            }
            options.qtArguments << arguments[++i];
            if (qtOption == QLatin1String("platform")) options.platform = arguments[i];
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            options.help = true;
        } else if (argument == QLatin1String("--version")) {
            options.version = true;
        } else if (argument == QLatin1String("--emulator")) {
            options.emulator = true;
        } else if (argument.startsWith(QLatin1String("--emulator="))) {
            options.emulator = true;
            options.emulatorState = argument.mid(11);
        } else if (argument == QLatin1String("--emulator-unplugged")) {
            options.emulatorUnplugged = true;
        } else if (argument.startsWith(QLatin1String("--test-control="))) {
            options.testControl = argument.mid(15);
        } else if (argument.startsWith(QLatin1String("--screenshot="))) {
            options.screenshot = argument.mid(13);
            if (options.screenshot.isEmpty() && options.error.isEmpty())
                options.error = QStringLiteral("--screenshot needs a file name");
        } else if (argument.startsWith(QLatin1String("--screenshot-of="))) {
            options.screenshotOf = argument.mid(16);
            const QStringList dialogs{QStringLiteral("main"), QStringLiteral("profiles"), QStringLiteral("firmware"),
                                      QStringLiteral("key"), QStringLiteral("about")};
            if (!dialogs.contains(options.screenshotOf) && options.error.isEmpty())
                options.error =
                    QStringLiteral("--screenshot-of takes one of: %1").arg(dialogs.join(QLatin1String(", ")));
        } else if (options.error.isEmpty()) {
            options.error = QStringLiteral("unknown argument '%1'").arg(argument);
        }
    }
    if (options.error.isEmpty() && force && !kill) options.error = QStringLiteral("--force goes with /Kill only");
    if (options.error.isEmpty() && options.emulatorUnplugged && !options.emulator)
        options.error = QStringLiteral("--emulator-unplugged needs --emulator");
    return options;
}

QString ProgramUsage() {
    return QStringLiteral(
        "Usage: ombrel [OPTION]...\n"
        "Configuration program for the 0C45:5204 RGB gaming keyboard. It lives in the tray; the window opens the\n"
        "first time the keyboard is found (at start, or when it is plugged in later), and from the tray icon. While\n"
        "the window is open, unplugging the keyboard covers it with a note until the keyboard is back.\n"
        "\n"
        "  /Start, --start          stay in the tray until the window is opened from there\n"
        "  /Kill, --kill            end the running instance, if any, and do not start; with unapplied edits\n"
        "                           the instance asks first in its window whether to apply or discard them,\n"
        "                           and this start says so\n"
        "  --force                  with /Kill: end it without asking (unapplied edits are lost)\n"
        "  --emulator[=STATE]       use the built-in keyboard emulator instead of a real keyboard; STATE is the file\n"
        "                           that keeps its memory between runs (default: memory only)\n"
        "  --help                   show this help and exit\n"
        "  --version                show the version and exit\n"
        "\n"
        "For testing and demonstrations:\n"
        "  --emulator-unplugged     start with the emulated keyboard unplugged\n"
        "  --test-control=FIFO      read test commands from FIFO, one a line: dump FILE (writes the window's\n"
        "                           state to FILE), edit (an unapplied edit); with --emulator also plug,\n"
        "                           unplug, bank, consumer CODE\n"
        "  --screenshot-of=DIALOG   with --screenshot: picture a dialog over the window instead: profiles,\n"
        "                           firmware, key (the key assignment window) or about\n"
        "  --screenshot=PNG         show the window, save a picture of it to PNG and exit (on a machine without a\n"
        "                           screen: QT_QPA_PLATFORM=offscreen ombrel --emulator --screenshot=PNG)\n"
        "\n"
        "Qt's own options (-platform NAME, -display NAME, -style NAME, -reverse, ...) are passed on to Qt.\n"
        "\n"
        "Exit status: 0 on a normal end (also when a running instance took over the request), 1 for a bad\n"
        "command line, when no display can be reached or when the screenshot cannot be saved, 2 when the HID\n"
        "service library or the skin cannot be loaded, 3 when a running instance did not take the request.\n");
}

} // namespace ombrel
