#include "DoctorCommand.h"

#include "doctor/Doctor.h"
#include "doctor/LocalDoctorSystem.h"
#include "platform/AppPaths.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace ombrel::cli {

namespace {

bool sessionBusPresent() {
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address && *address) return true;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    return runtime && *runtime && ::access((std::string(runtime) + "/bus").c_str(), F_OK) == 0;
}

// The tray is a name on the session bus; dbus-send asks for it without pulling a D-Bus library into the tool.
DesktopTray trayState() {
    if (!sessionBusPresent()) return DesktopTray::NoSession;
    FILE* pipe = ::popen("dbus-send --session --print-reply --reply-timeout=2000 --dest=org.freedesktop.DBus "
                         "/org/freedesktop/DBus org.freedesktop.DBus.NameHasOwner "
                         "string:org.kde.StatusNotifierWatcher 2>/dev/null",
                         "r");
    if (!pipe) return DesktopTray::NoSession;
    std::string reply;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe))
        reply += buffer;
    ::pclose(pipe);
    if (reply.find("boolean true") != std::string::npos) return DesktopTray::Present;
    if (reply.find("boolean false") != std::string::npos) return DesktopTray::Missing;
    return DesktopTray::NoSession; // no answer: dbus-send missing or the bus not reachable
}

int cmdDoctor(const Args&, const CliOptions&) {
    const auto report = DoctorReportHere(true);
    if (!report) return kExitNoService;
    std::fputs(report->format().c_str(), stdout);
    return report->allWell() ? kExitOk : kExitFailed;
}

} // namespace

std::optional<DoctorReport> DoctorReportHere(bool askTheTray) {
    const auto& paths = ProcessAppPaths();
    if (!paths) {
        std::fprintf(stderr, "cannot tell where the program is installed (no /proc/self/exe or no home folder)\n");
        return std::nullopt;
    }
    DoctorSystem system = LocalDoctorSystem(*paths);
    system.tray = askTheTray ? trayState() : DesktopTray::NoSession;
    return RunDoctor(system);
}

void PrintKeyboardProblems() {
    // Once a run: opening the keyboard and 'info' may both want to explain.
    static bool printed = false;
    if (printed) return;
    printed = true;
    // The tray matters to the window only; here the question is why no keyboard answers.
    const auto report = DoctorReportHere(false);
    if (!report) return;
    bool any = false;
    for (const DoctorFinding& f : report->findings) {
        if (f.level != DoctorFinding::Level::Problem) continue;
        if (!any) std::fprintf(stderr, "What is missing:\n");
        any = true;
        std::fprintf(stderr, "  %s\n", f.text.c_str());
        if (!f.fix.empty()) std::fprintf(stderr, "    fix: %s\n", f.fix.c_str());
    }
    if (!any) std::fprintf(stderr, "Is the keyboard plugged in? 'ombrelctl doctor' checks everything it needs.\n");
}

const CommandInfo& DoctorCommand() {
    static const CommandInfo command{
        "doctor",
        "",
        "check everything the keyboard needs on this computer, with the fix for each problem",
        0,
        0,
        nullptr,
        "Checks that the HID service library loads, which hidraw nodes belong to the keyboard and which interface\n"
        "each one is, their owner, mode and ACL and whether you can open them, that the udev rule is installed and\n"
        "applied, which other programs have the keyboard open, that the desktop shows tray icons and that the\n"
        "per-user folders are writable. Each problem comes with the one command that fixes it. Needs no keyboard\n"
        "access. Exit code 0 when all is well, 1 otherwise.",
        cmdDoctor};
    return command;
}

} // namespace ombrel::cli
