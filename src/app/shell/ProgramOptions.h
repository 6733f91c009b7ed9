#pragma once
// The program's command line. The two start switches ("/Start", "/Kill" and their "--" forms) are the platform's;
// the rest are this program's own: the emulated keyboard, and options that only tests and demonstrations use.

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
    QString testControl; // --test-control=FIFO (with --emulator)
    QString screenshot;  // --screenshot=PNG: show the window, save a picture of it, end
    QStringList ignored; // arguments the program does not know; they do not stop a start
    QString error;       // set when the command line cannot be used
};

ProgramOptions ParseProgramOptions(const QStringList& arguments); // without the program name
QString ProgramUsage();

} // namespace ombrel
