#pragma once
// The firmware check when the window is opened: a keyboard whose firmware is too old for this program is offered
// the vendor's updater (a program of that name in the help folder); declining ends the program, since the
// keyboard cannot be configured correctly with that firmware. The firmware dialog is FirmwarePart's.

#include <QObject>

namespace ombrel {

class FirmwarePart;
class WindowContext;

class FirmwareCheck : public QObject {
    Q_OBJECT
public:
    FirmwareCheck(WindowContext& context, FirmwarePart& firmware, QObject* parent);

    // Reads the keyboard's firmware version and, when it is too old, asks. Without an answer from the keyboard
    // its firmware is unknown and nothing is asked.
    void run();

signals:
    // The user declined the update.
    void exitRequested();

private:
    // Starts the updater after the automatic backup; says so on stderr when it cannot be started. Without the
    // backup (the user was told why) the updater is not started.
    void startUpdater();

    WindowContext& m_context;
    FirmwarePart& m_firmware;
};

} // namespace ombrel
