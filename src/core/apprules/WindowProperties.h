#pragma once
// What an X window says about its application, read from its properties. Property values come from other
// programs through the X server: every parser checks the value's format and length, takes only what fits and
// never reads past the end, whatever the bytes are.

#include "apprules/ApplicationRules.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ombrel::apprules {

// A property's value as the X server hands it over: its format (8, 16 or 32 bits a unit; 0 for a missing property)
// and its bytes (32-bit units in the client's byte order).
struct PropertyValue {
    std::uint8_t format = 0;
    std::span<const std::uint8_t> bytes;
};

inline constexpr std::size_t kMaxTitleLength = 512;          // bytes of a window title kept for the list
inline constexpr std::size_t kMaxListedWindows = 4096;       // windows of _NET_CLIENT_LIST looked at
inline constexpr std::size_t kMaxEnvironmentBytes = 1 << 20; // of /proc/PID/environ read for FLATPAK_ID

struct WindowClass {
    std::string instance;    // first string of WM_CLASS
    std::string windowClass; // second string
};

// WM_CLASS: two NUL-terminated strings, instance then class. A missing second string (a client that wrote only
// one) leaves the class empty; nothing for a value that is not 8-bit text.
std::optional<WindowClass> ParseWindowClass(PropertyValue value);
// An 8-bit text property (_NET_WM_NAME, _GTK_APPLICATION_ID, WM_NAME) up to its first NUL, control characters
// dropped, cut to `limit` bytes without splitting a UTF-8 sequence.
std::string ParsePropertyText(PropertyValue value, std::size_t limit);
// The first 32-bit unit (_NET_WM_PID, _NET_ACTIVE_WINDOW); nothing when the value has none.
std::optional<std::uint32_t> ParseCardinal(PropertyValue value);
// Every 32-bit unit up to `limit` of them (_NET_CLIENT_LIST).
std::vector<std::uint32_t> ParseCardinals(PropertyValue value, std::size_t limit);

// /proc/PID/comm: the process name up to its newline.
std::string ProcessNameFromComm(std::string_view comm);
// The FLATPAK_ID of a process environment (/proc/PID/environ, NUL-separated "NAME=value"); empty when absent.
std::string FlatpakIdFromEnvironment(std::span<const std::uint8_t> environ);
// Steam starts every game with WM_CLASS "steam_app_<number>": that is the game's id, "steam_app_570".
std::string SteamGameId(const WindowClass& windowClass);

// What is known about a window, gathered from its properties and its process.
struct WindowFacts {
    WindowClass windowClass;
    std::string processName;
    std::string gtkApplicationId; // _GTK_APPLICATION_ID
    std::string flatpakId;        // FLATPAK_ID of its process
};

// The identity rules are matched against: the desktop file id is the GTK application id, else the Flatpak id,
// else Steam's game id, and empty when none is known.
ApplicationIdentity IdentityOf(const WindowFacts& facts);

} // namespace ombrel::apprules
