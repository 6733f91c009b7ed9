#pragma once
// The application in front on an X11 desktop: the window manager names the focused window in the root window's
// _NET_ACTIVE_WINDOW, and announces every change with a PropertyNotify. A connection of our own to the X server
// listens for exactly that, with its socket on the event loop, so nothing is polled.

#include "apprules/ApplicationRules.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QSocketNotifier;

namespace ombrel {

class X11Connection;

class X11ActiveWindow : public QObject {
    Q_OBJECT
public:
    using Activated = std::function<void(const apprules::ApplicationIdentity&)>;

    // Connects to the X server of DISPLAY; null, with the reason in `why`, when there is none to connect to.
    // `activated` is called on this thread for every newly activated window of another program, and once at the start
    // for the one in front then.
    static std::unique_ptr<X11ActiveWindow> start(Activated activated, QString* why);
    ~X11ActiveWindow() override;

    // The windows the window manager lists (_NET_CLIENT_LIST), other programs' only, with their titles.
    std::vector<apprules::RunningApplication> runningApplications() const;

    // When the last change of the active window was read off the connection, and the X server's time of it (its
    // milliseconds of the monotonic clock): what the latency of a switch is measured from.
    std::chrono::steady_clock::time_point lastChangeRead() const { return m_changeRead; }
    std::uint32_t lastChangeServerTime() const { return m_changeServerTime; }

private:
    X11ActiveWindow(std::unique_ptr<X11Connection> connection, Activated activated);
    void readEvents();
    void activeWindowChanged();

    std::unique_ptr<X11Connection> m_x;
    Activated m_activated;
    QSocketNotifier* m_notifier = nullptr;
    std::uint32_t m_lastWindow = 0;
    std::chrono::steady_clock::time_point m_changeRead;
    std::uint32_t m_changeServerTime = 0;
};

// The running applications of the X server of DISPLAY, for the window's list to add a rule from; empty without one.
std::vector<apprules::RunningApplication> ListRunningApplications();

// Whether the program runs on X11 itself, not on a Wayland compositor (where _NET_ACTIVE_WINDOW would name only
// the X11 programs run through Xwayland, and say nothing about the native ones).
bool RunsOnX11();

} // namespace ombrel
