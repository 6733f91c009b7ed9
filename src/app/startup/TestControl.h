#pragma once
// A test-only remote control (--test-control=FIFO). Tests and demos drive the emulated keyboard that the running
// program sees (with --emulator): plug it in, pull it out, press the bank key, send consumer codes; and, with any
// keyboard, ask the program to write down what its window shows. One command a line:
//   plug | unplug | bank | consumer CODE | edit | restore FILE | dump FILE | running FILE
// `restore` makes the keyboard match a keyboard file as the window's Restore does.
// `running` writes the running applications the rules page offers, one a line: "app CLASS INSTANCE PROCESS
// DESKTOP-ID TITLE".
// `dump` writes FILE atomically, one fact a line: "visible 0|1", "ready 0|1", "tray ICON", "apply 0|1", "question TEXT"
// (the start of the open message box's text), "bank 0|1", "arrivals N", "departures N" (the keyboard's comings and
// goings since the start), "toplevels N" (visible top-level windows), "frame X Y W H" (the window with its frame),
// "focus NAME" (the focused control), "changes-waiting 0|1" (the note of unapplied edits), "reports N" (reports the
// emulated keyboard received), "tray-tip TEXT" (lines joined by " | "), "follow RULES X11 ACTIVATIONS SWITCHES
// WAITING" (the application follower: its rule count, whether it watches X11, the activations it was told of, the
// switches it made, whether one is held back), "follow-latency US US MS US" (how long its last switch took, see
// ApplicationFollower),
// then "button SKINKEY CHECKED ENABLED X Y W H TOOLTIP" for every image button of the window (global coordinates of the
// screen).

#include "device/ServiceLibrary.h"

#include <QObject>
#include <QString>

class QSocketNotifier;

namespace ombrel {

class ApplicationFollower;
class MainWindow;

class TestControl : public QObject {
public:
    TestControl(MainWindow& window, const ServiceLibrary& library, const ApplicationFollower* follower = nullptr,
                QObject* parent = nullptr);
    ~TestControl() override;

    // Creates the FIFO when missing and starts listening. Returns false with the reason in `error`.
    bool listen(const QString& fifoPath, QString* error);
    // Runs one command line; returns false when it was not understood.
    bool execute(const QString& line);
    // The window's state as `dump` writes it.
    QString describe() const;

private:
    void readAvailable();

    MainWindow& m_window;
    const ServiceLibrary& m_library;
    const ApplicationFollower* m_follower;
    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
    QByteArray m_pending;
};

} // namespace ombrel
