#include "X11ActiveWindow.h"

#include "X11Connection.h"

#include <QGuiApplication>
#include <QSocketNotifier>

#include <unistd.h>

#include <cstdlib>

namespace ombrel {

namespace {

// A window of this program: activating it (to change the profile by hand, say) must not switch the keyboard away
// from the profile of the application the user came from.
bool OwnWindow(std::uint32_t pid) {
    return pid != 0 && pid == std::uint32_t(::getpid());
}

std::vector<apprules::RunningApplication> ListWindows(X11Connection& x) {
    std::vector<apprules::RunningApplication> list;
    for (const xcb_window_t window : x.clientList()) {
        std::uint32_t pid = 0;
        const auto facts = x.facts(window, &pid);
        if (!facts || OwnWindow(pid)) continue;
        list.push_back({apprules::IdentityOf(*facts), x.title(window)});
    }
    return list;
}

} // namespace

bool RunsOnX11() {
    // Qt on xcb inside a Wayland session talks to Xwayland, whose active window says nothing about the native
    // Wayland programs: there the desktop reports activations over the bus instead.
    const bool waylandSession =
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || qgetenv("XDG_SESSION_TYPE") == QByteArrayLiteral("wayland");
    return QGuiApplication::platformName() == QLatin1String("xcb") && !waylandSession;
}

std::unique_ptr<X11ActiveWindow> X11ActiveWindow::start(Activated activated, QString* why) {
    std::string problem;
    auto x = X11Connection::open(&problem);
    if (!x) {
        if (why) *why = QString::fromStdString(problem);
        return nullptr;
    }
    std::unique_ptr<X11ActiveWindow> watcher(new X11ActiveWindow(std::move(x), std::move(activated)));
    watcher->m_x->watchRoot();
    watcher->activeWindowChanged();
    return watcher;
}

X11ActiveWindow::X11ActiveWindow(std::unique_ptr<X11Connection> connection, Activated activated)
    : m_x(std::move(connection)), m_activated(std::move(activated)) {
    m_notifier = new QSocketNotifier(xcb_get_file_descriptor(m_x->connection()), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &X11ActiveWindow::readEvents);
}

X11ActiveWindow::~X11ActiveWindow() = default;

void X11ActiveWindow::readEvents() {
    xcb_connection_t* c = m_x->connection();
    bool activeChanged = false;
    // Reading a reply may queue further events without the socket becoming readable again: the loop takes those too.
    while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
        if ((event->response_type & 0x7F) == XCB_PROPERTY_NOTIFY) {
            const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(event);
            if (notify->window == m_x->root() && notify->atom == m_x->activeWindowAtom()) {
                activeChanged = true;
                m_changeRead = std::chrono::steady_clock::now();
                m_changeServerTime = notify->time;
            }
        }
        std::free(event);
    }
    if (xcb_connection_has_error(c)) {
        // The X server went away (the session ends): nothing more will come.
        m_notifier->setEnabled(false);
        return;
    }
    // A burst of changes (a window manager that clears the property before it sets it) is read once.
    if (activeChanged) activeWindowChanged();
}

void X11ActiveWindow::activeWindowChanged() {
    const xcb_window_t window = m_x->activeWindow();
    // The same window named again is no new activation; one that comes back after none was active (the desktop
    // was clicked) is.
    if (window == m_lastWindow) return;
    m_lastWindow = window;
    if (window == 0) return;
    std::uint32_t pid = 0;
    const auto facts = m_x->facts(window, &pid);
    if (!facts || OwnWindow(pid)) return;
    if (m_activated) m_activated(apprules::IdentityOf(*facts));
}

std::vector<apprules::RunningApplication> X11ActiveWindow::runningApplications() const {
    return ListWindows(*m_x);
}

std::vector<apprules::RunningApplication> ListRunningApplications() {
    if (!RunsOnX11()) return {};
    auto x = X11Connection::open(nullptr);
    return x ? ListWindows(*x) : std::vector<apprules::RunningApplication>{};
}

} // namespace ombrel
