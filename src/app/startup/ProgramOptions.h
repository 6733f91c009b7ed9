#pragma once
// The program's command line. The two start switches ("/Start", "/Kill" and their "--" forms) are the platform's;
// the toolkit's own options (-platform NAME, -display NAME, -style NAME, ...) are left to Qt; the rest are this
// program's own: the emulated keyboard, and options that only tests and demonstrations use. Anything else is an
// error, so a mistyped option is not silently dropped.

#include <QString>
#include <QStringList>

#include <optional>

namespace ombrel {

struct ProgramOptions {
    bool help = false;
    bool version = false;
    bool emulator = false;
    QString emulatorState; // --emulator=STATE_FILE; empty = memory only
    bool emulatorUnplugged = false;
    QString testControl;     // --test-control=FIFO (with --emulator)
    QString screenshot;      // --screenshot=PNG: show the window, save a picture of it, end
    QString screenshotOf;    // --screenshot-of=DIALOG: the dialog to picture instead (profiles, firmware, key, about)
    QStringList qtArguments; // the toolkit's options with their values, in order
    QString platform;        // the value of Qt's -platform, if given
    QString error;           // set when the command line cannot be used
};

ProgramOptions ParseProgramOptions(const QStringList& arguments); // without the program name
QString ProgramUsage();

} // namespace ombrel
