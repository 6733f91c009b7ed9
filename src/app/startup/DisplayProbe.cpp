#include "DisplayProbe.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <cstdlib>
#include <sstream>
#include <vector>

namespace ombrel {

namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::vector<std::string> SplitPlatforms(const std::string& list) {
    std::vector<std::string> names;
    std::stringstream in(list);
    for (std::string name; std::getline(in, name, ';');) {
        // "xcb:option=value" carries options after the name.
        name = name.substr(0, name.find(':'));
        if (!name.empty()) names.push_back(name);
    }
    return names;
}

bool WaylandSocketExists(const DisplayEnvironment& env) {
    const std::string name = env.waylandDisplay.empty() ? "wayland-0" : env.waylandDisplay;
    const std::string path = name.front() == '/' ? name : env.runtimeDir.empty() ? "" : env.runtimeDir + "/" + name;
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode);
}

} // namespace

DisplayEnvironment DisplayEnvironment::current(const std::string& platformArgument) {
    DisplayEnvironment env;
    env.platform = platformArgument.empty() ? Env("QT_QPA_PLATFORM") : platformArgument;
    env.display = Env("DISPLAY");
    env.waylandDisplay = Env("WAYLAND_DISPLAY");
    env.runtimeDir = Env("XDG_RUNTIME_DIR");
    return env;
}

bool CanReachXDisplay(const std::string& display) {
    // Through the X library Qt's own platform plugin uses, loaded only for this question; without it Qt cannot
    // use X either, and its own message says why.
    void* xcb = ::dlopen("libxcb.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!xcb) return true;
    using Connect = void* (*)(const char*, int*);
    using HasError = int (*)(void*);
    using Disconnect = void (*)(void*);
    const auto connect = reinterpret_cast<Connect>(::dlsym(xcb, "xcb_connect"));
    const auto hasError = reinterpret_cast<HasError>(::dlsym(xcb, "xcb_connection_has_error"));
    const auto disconnect = reinterpret_cast<Disconnect>(::dlsym(xcb, "xcb_disconnect"));
    bool reached = true;
    if (connect && hasError && disconnect) {
        void* connection = connect(display.c_str(), nullptr);
        reached = connection && hasError(connection) == 0;
        if (connection) disconnect(connection);
    }
    ::dlclose(xcb);
    return reached;
}

std::string NoDisplayReason(const DisplayEnvironment& env, const XDisplayCheck& canReachX) {
    std::vector<std::string> platforms = SplitPlatforms(env.platform);
    if (platforms.empty()) {
        // Qt's choice when nothing is asked for: Wayland in a Wayland session, else X.
        if (!env.waylandDisplay.empty()) platforms.push_back("wayland");
        platforms.push_back("xcb");
    }
    std::string reason;
    for (const std::string& platform : platforms) {
        if (platform == "xcb") {
            if (env.display.empty()) {
                if (reason.empty()) reason = "no display found ($DISPLAY is not set)";
                continue;
            }
            if (canReachX(env.display)) return {};
            reason = "the display " + env.display + " cannot be reached";
        } else if (platform.rfind("wayland", 0) == 0) {
            if (WaylandSocketExists(env)) return {};
            reason = "the Wayland display " + (env.waylandDisplay.empty() ? "wayland-0" : env.waylandDisplay) +
                     " cannot be found";
        } else {
            // offscreen, minimal, vnc, eglfs, linuxfb...: these need no desktop session to start.
            return {};
        }
    }
    return reason;
}

} // namespace ombrel
