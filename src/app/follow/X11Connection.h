#pragma once
// One connection to the X server with the EWMH atoms, and the properties the follower reads. Every property value
// goes through the bounds-checked parsers of apprules/WindowProperties.h.

#include "apprules/WindowProperties.h"

#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ombrel {

class X11Connection {
public:
    // Null, with the reason in `why`, when the X server of DISPLAY cannot be reached.
    static std::unique_ptr<X11Connection> open(std::string* why);
    ~X11Connection();
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    xcb_connection_t* connection() const { return m_connection; }
    xcb_window_t root() const { return m_root; }
    xcb_atom_t activeWindowAtom() const { return m_ewmh._NET_ACTIVE_WINDOW; }

    // Asks for PropertyNotify of the root window.
    void watchRoot();
    // The window _NET_ACTIVE_WINDOW names; 0 when none.
    xcb_window_t activeWindow();
    // _NET_CLIENT_LIST, at most kMaxListedWindows.
    std::vector<xcb_window_t> clientList();
    // WM_CLASS, the process (through _NET_WM_PID and /proc) and the desktop ids of `window`; nothing when the window
    // is gone. `pid` is set to _NET_WM_PID (0 when unknown).
    std::optional<apprules::WindowFacts> facts(xcb_window_t window, std::uint32_t* pid);
    // _NET_WM_NAME, else WM_NAME.
    std::string title(xcb_window_t window);

private:
    X11Connection() = default;
    // The value of a property, at most `maxBytes` of it; nothing when the window is gone or has no such property.
    struct Property {
        std::uint8_t format = 0;
        std::vector<std::uint8_t> bytes;
        apprules::PropertyValue value() const { return {format, bytes}; }
    };
    std::optional<Property> property(xcb_window_t window, xcb_atom_t atom, std::uint32_t maxBytes);
    // The request and its reply apart, so several requests go out before the first reply is waited for.
    xcb_get_property_cookie_t ask(xcb_window_t window, xcb_atom_t atom, std::uint32_t maxBytes);
    std::optional<Property> answer(xcb_get_property_cookie_t cookie, std::uint32_t maxBytes);

    xcb_connection_t* m_connection = nullptr;
    xcb_ewmh_connection_t m_ewmh{};
    bool m_ewmhReady = false;
    xcb_window_t m_root = 0;
    xcb_atom_t m_gtkApplicationId = XCB_ATOM_NONE;
};

} // namespace ombrel
