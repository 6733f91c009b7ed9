#include "ProgramOptions.h"

#include "platform/CommandLine.h"

namespace ombrel {

ProgramOptions ParseProgramOptions(const QStringList& arguments) {
    ProgramOptions options;
    for (const QString& argument : arguments) {
        const QByteArray bytes = argument.toUtf8();
        if (ClassifyArgument(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))) !=
            StartSwitch::None)
            continue;
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
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
        } else {
            // Launchers and the toolkit add arguments of their own; a start (or a "/Kill") must not fail on them.
            options.ignored << argument;
        }
    }
    if (options.error.isEmpty() && (options.emulatorUnplugged || !options.testControl.isEmpty()) && !options.emulator)
        options.error = QStringLiteral("--emulator-unplugged and --test-control need --emulator");
    return options;
}

QString ProgramUsage() {
    return QStringLiteral(
        "Usage: ombrel [OPTION]...\n"
        "Configuration program for the 0C45:5204 RGB gaming keyboard. It lives in the tray; the window opens when\n"
        "the keyboard is found, or from the tray icon.\n"
        "\n"
        "  /Start, --start          stay in the tray until the window is opened from there\n"
        "  /Kill, --kill            end the running instance, if any, and do not start\n"
        "  --emulator[=STATE]       use the built-in keyboard emulator instead of a real keyboard; STATE is the file\n"
        "                           that keeps its memory between runs (default: memory only)\n"
        "  --help                   show this help and exit\n"
        "  --version                show the version and exit\n"
        "\n"
        "For testing and demonstrations:\n"
        "  --emulator-unplugged     start with the emulated keyboard unplugged\n"
        "  --test-control=FIFO      read emulator commands from FIFO, one a line: plug, unplug, bank,\n"
        "                           consumer CODE, dump FILE (writes the window's state to FILE)\n"
        "  --screenshot=PNG         show the window, save a picture of it to PNG and exit\n"
        "\n"
        "Exit status: 0 on a normal end (also when a running instance took over the request), 1 for a bad\n"
        "command line, 2 when the HID service library or the skin cannot be loaded.\n");
}

} // namespace ombrel
