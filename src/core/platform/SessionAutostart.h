#pragma once
// "Start with my session": a desktop entry in the user's autostart folder ($XDG_CONFIG_HOME/autostart) that starts
// the program into the tray at log-in. The entry this program writes carries a marker line, so turning the choice
// off removes only a file the program wrote itself; an entry found there without the marker (a copy the user made
// of the system's entry, say) is the user's, and the caller asks before replacing or removing it.

#include "platform/SafeFileWriter.h"

#include <string>
#include <string_view>

namespace ombrel {

// The line that tells an entry this program wrote from one it did not.
inline constexpr const char* kAutostartMarkerKey = "X-Ombrel-Written";

struct AutostartEntry {
    bool exists = false;  // something is at the path
    bool ours = false;    // a desktop entry this program wrote (a regular file with the marker line)
    bool enabled = false; // a desktop entry that the desktop starts (not Hidden, not turned off for GNOME)
};

AutostartEntry ReadAutostartEntry(const std::string& path);
// The same for the bytes of an entry that exists; `regularFile` says whether they came from a regular file.
AutostartEntry AutostartEntryFromBytes(std::string_view bytes, bool regularFile);

// The entry's text for the program at `programPath`; empty when the path cannot be written into an Exec line
// (control characters).
std::string AutostartEntryText(const std::string& programPath);

// Writes the entry (creating the autostart folder when needed) through the safe writer; an existing file of any
// kind is replaced only when `replaceExisting` says so.
FileWriteResult WriteAutostartEntry(const std::string& path, const std::string& programPath, bool replaceExisting);

// Removes the entry; a missing one counts as removed. Only a file or a link is ever removed, never a folder.
FileWriteResult RemoveAutostartEntry(const std::string& path);

// One argument of a desktop entry's Exec line, quoted where the format needs it (reserved characters inside
// double quotes, '%' doubled, backslashes escaped for the value string as well).
std::string DesktopExecArgument(std::string_view argument);

} // namespace ombrel
