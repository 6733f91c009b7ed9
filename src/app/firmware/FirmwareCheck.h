#pragma once
// The firmware check when the window is opened: a keyboard whose firmware is too old for this program is offered
// the vendor's updater (a program of that name in the help folder); declining ends the program, since the
// keyboard cannot be configured correctly with that firmware. The firmware-update dialog goes beside it here.

#include <QObject>

namespace ombrel {

class WindowContext;

class FirmwareCheck : public QObject {
    Q_OBJECT
public:
    FirmwareCheck(WindowContext& context, QObject* parent);

    // Reads the keyboard's firmware version and, when it is too old, asks. Without an answer from the keyboard
    // its firmware is unknown and nothing is asked.
    void run();

signals:
    // The user declined the update.
    void exitRequested();

private:
    // Starts the updater; says so on stderr when it cannot be started.
    void startUpdater();

    WindowContext& m_context;
};

} // namespace ombrel
