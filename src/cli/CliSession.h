#pragma once
// Opens the keyboard for one command-line run: loads the real or the emulated service library, starts the device
// link and makes sure a keyboard answers, explaining what is wrong when it does not.

#include "device/DeviceLink.h"
#include "device/ServiceLibrary.h"
#include "platform/AppPaths.h"

#include <memory>
#include <optional>
#include <string>

namespace ombrel::cli {

class ProgramRoute;

struct CliOptions {
    bool emulator = false;
    std::string emulatorState; // empty: the emulator keeps its memory only for this run
    bool trace = false;
    bool force = false;  // --force: the user allows replacing files and using damaged profile files
    bool json = false;   // --json: what a command shows, as JSON
    bool direct = false; // --direct: to the keyboard itself, even while the program serves it on the bus
};

enum ExitCode { kExitOk = 0, kExitFailed = 1, kExitUsage = 2, kExitNoKeyboard = 3, kExitNoService = 4 };

class CliSession {
public:
    // Returns null after printing one line that says what failed; `exitCode` says how to end.
    static std::unique_ptr<CliSession> open(const CliOptions& options, int* exitCode);
    ~CliSession();

    DeviceLink& link() { return *m_link; }
    DeviceCommands& commands() { return m_link->commands(); }
    const CliOptions& options() const { return m_options; }
    // The program's paths; on the emulator its per-user data lives apart from the real keyboard's.
    const AppPaths& paths() const { return m_paths; }

private:
    CliSession();
    // The session through the running program when it serves the same keyboard; null otherwise.
    static std::unique_ptr<CliSession> openThroughProgram(const CliOptions& options, const AppPaths& paths);

    CliOptions m_options;
    std::unique_ptr<ProgramRoute> m_route;
    AppPaths m_paths;
    std::optional<ServiceLibrary> m_library;
    NullScreen m_screen;
    std::unique_ptr<DeviceLink> m_link;
};

// Prints "COMMAND failed: DESCRIPTION (NAME N)" to stderr and returns kExitFailed, or returns kExitOk for LINK_OK.
int ReportResult(const char* what, int result);

} // namespace ombrel::cli
