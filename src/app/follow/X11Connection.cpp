#include "X11Connection.h"

#include "apprules/ApplicationRulesFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>

namespace ombrel {

namespace {

constexpr std::uint32_t kCommBytes = 64;
constexpr std::uint32_t kClassBytes = 2 * (apprules::kMaxApplicationLength + 1);

// At most `limit` bytes of a file under /proc; empty when it cannot be read (the process ended, another user's).
std::vector<std::uint8_t> ReadProcFile(const std::string& path, std::size_t limit) {
    std::vector<std::uint8_t> bytes;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return bytes;
    bytes.resize(limit);
    std::size_t filled = 0;
    while (filled < limit) {
        const ssize_t n = ::read(fd, bytes.data() + filled, limit - filled);
        if (n <= 0) break;
        filled += std::size_t(n);
    }
    ::close(fd);
    bytes.resize(filled);
    return bytes;
}

} // namespace

std::unique_ptr<X11Connection> X11Connection::open(std::string* why) {
    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
    if (!c || xcb_connection_has_error(c)) {
        if (c) xcb_disconnect(c);
        if (why) *why = "cannot connect to the X server";
        return nullptr;
    }
    std::unique_ptr<X11Connection> x(new X11Connection);
    x->m_connection = c;
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    if (!screens.rem) {
        if (why) *why = "the X server has no such screen";
        return nullptr;
    }
    x->m_root = screens.data->root;
    xcb_intern_atom_cookie_t* cookies = xcb_ewmh_init_atoms(c, &x->m_ewmh);
    if (!cookies || !xcb_ewmh_init_atoms_replies(&x->m_ewmh, cookies, nullptr)) {
        if (why) *why = "the X server does not answer for its EWMH names";
        return nullptr;
    }
    x->m_ewmhReady = true;
    constexpr std::string_view kGtkId = "_GTK_APPLICATION_ID";
    const xcb_intern_atom_cookie_t gtk = xcb_intern_atom(c, 0, kGtkId.size(), kGtkId.data());
    if (xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, gtk, nullptr)) {
        x->m_gtkApplicationId = reply->atom;
        std::free(reply);
    }
    return x;
}

X11Connection::~X11Connection() {
    if (m_ewmhReady) xcb_ewmh_connection_wipe(&m_ewmh);
    if (m_connection) xcb_disconnect(m_connection);
}

void X11Connection::watchRoot() {
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(m_connection);
}

xcb_get_property_cookie_t X11Connection::ask(xcb_window_t window, xcb_atom_t atom, std::uint32_t maxBytes) {
    return xcb_get_property(m_connection, 0, window, atom, XCB_GET_PROPERTY_TYPE_ANY, 0, (maxBytes + 3) / 4);
}

std::optional<X11Connection::Property> X11Connection::answer(xcb_get_property_cookie_t cookie, std::uint32_t maxBytes) {
    xcb_generic_error_t* error = nullptr;
    xcb_get_property_reply_t* reply = xcb_get_property_reply(m_connection, cookie, &error);
    std::free(error);
    if (!reply) return std::nullopt;
    Property p;
    if (reply->type != XCB_ATOM_NONE) {
        p.format = reply->format;
        const int length = xcb_get_property_value_length(reply);
        const auto* data = static_cast<const std::uint8_t*>(xcb_get_property_value(reply));
        // The server sends no more than was asked for; the length is still checked against the reply it came in.
        const std::size_t replyBytes = sizeof(xcb_get_property_reply_t) + std::size_t(reply->length) * 4;
        if (length > 0 && sizeof(xcb_get_property_reply_t) + std::size_t(length) <= replyBytes)
            p.bytes.assign(data, data + std::min<std::size_t>(std::size_t(length), maxBytes));
    }
    std::free(reply);
    return p;
}

std::optional<X11Connection::Property> X11Connection::property(xcb_window_t window, xcb_atom_t atom,
                                                               std::uint32_t maxBytes) {
    if (atom == XCB_ATOM_NONE) return std::nullopt;
    return answer(ask(window, atom, maxBytes), maxBytes);
}

xcb_window_t X11Connection::activeWindow() {
    const auto p = property(m_root, m_ewmh._NET_ACTIVE_WINDOW, 4);
    return p ? apprules::ParseCardinal(p->value()).value_or(0) : 0;
}

std::vector<xcb_window_t> X11Connection::clientList() {
    const auto p = property(m_root, m_ewmh._NET_CLIENT_LIST, apprules::kMaxListedWindows * 4);
    if (!p) return {};
    const auto units = apprules::ParseCardinals(p->value(), apprules::kMaxListedWindows);
    return {units.begin(), units.end()};
}

std::optional<apprules::WindowFacts> X11Connection::facts(xcb_window_t window, std::uint32_t* pid) {
    *pid = 0;
    // One round trip to the server for the three: all requests go out before the first reply is read.
    constexpr std::uint32_t kGtkBytes = apprules::kMaxApplicationLength + 1;
    const xcb_get_property_cookie_t classCookie = ask(window, XCB_ATOM_WM_CLASS, kClassBytes);
    const xcb_get_property_cookie_t pidCookie = ask(window, m_ewmh._NET_WM_PID, 4);
    const bool askGtk = m_gtkApplicationId != XCB_ATOM_NONE;
    const xcb_get_property_cookie_t gtkCookie = askGtk ? ask(window, m_gtkApplicationId, kGtkBytes) : pidCookie;
    const auto windowClass = answer(classCookie, kClassBytes);
    const auto pidValue = answer(pidCookie, 4);
    const auto gtk = askGtk ? answer(gtkCookie, kGtkBytes) : std::nullopt;
    if (!windowClass) return std::nullopt; // the window is gone
    apprules::WindowFacts facts;
    if (auto parsed = apprules::ParseWindowClass(windowClass->value())) facts.windowClass = std::move(*parsed);
    if (gtk) facts.gtkApplicationId = apprules::ParsePropertyText(gtk->value(), apprules::kMaxApplicationLength);
    if (pidValue) *pid = apprules::ParseCardinal(pidValue->value()).value_or(0);
    if (*pid > 0) {
        const std::string proc = "/proc/" + std::to_string(*pid);
        const auto comm = ReadProcFile(proc + "/comm", kCommBytes);
        facts.processName =
            apprules::ProcessNameFromComm(std::string_view(reinterpret_cast<const char*>(comm.data()), comm.size()));
        facts.flatpakId =
            apprules::FlatpakIdFromEnvironment(ReadProcFile(proc + "/environ", apprules::kMaxEnvironmentBytes));
    }
    return facts;
}

std::string X11Connection::title(xcb_window_t window) {
    if (const auto name = property(window, m_ewmh._NET_WM_NAME, apprules::kMaxTitleLength + 4)) {
        std::string text = apprules::ParsePropertyText(name->value(), apprules::kMaxTitleLength);
        if (!text.empty()) return text;
    }
    if (const auto name = property(window, XCB_ATOM_WM_NAME, apprules::kMaxTitleLength + 4))
        return apprules::ParsePropertyText(name->value(), apprules::kMaxTitleLength);
    return {};
}

} // namespace ombrel
