#include "CliSession.h"

#include "HexDump.h"
#include "device/LinkResult.h"

#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace ombrel::cli {

namespace {

void printTrace(TraceDirection direction, std::span<const std::uint8_t> bytes) {
    const char* mark = direction == TraceDirection::Sent ? "->" : direction == TraceDirection::Received ? "<-" : "<x";
    std::fprintf(stderr, "%s %s\n", mark, HexLine(bytes).c_str());
}

// Explains why no keyboard answers: absent, or present but not accessible to this user.
int explainMissingKeyboard(const ServiceApi& api, const std::string& udevRule) {
    char node[256] = {};
    const int probe = api.Probe ? api.Probe(node, sizeof node) : -1;
    if (probe > 0) {
        std::fprintf(stderr, "found the keyboard at %s but cannot open it: %s\n", node, std::strerror(probe));
        if (probe == EACCES || probe == EPERM) {
            std::fprintf(stderr,
                         "The udev rule that gives you access is not installed. Install it with:\n"
                         "  sudo install -m 644 %s /etc/udev/rules.d/\n"
                         "  sudo udevadm control --reload && sudo udevadm trigger --subsystem-match=hidraw\n"
                         "then unplug and re-plug the keyboard.\n",
                         udevRule.c_str());
        }
        return kExitNoKeyboard;
    }
    std::fprintf(stderr, "no keyboard found\n");
    return kExitNoKeyboard;
}

} // namespace

std::unique_ptr<CliSession> CliSession::open(const CliOptions& options, int* exitCode) {
    std::unique_ptr<CliSession> session(new CliSession);
    const auto& paths = ProcessAppPaths();
    if (!paths) {
        std::fprintf(stderr, "cannot tell where the program is installed (no /proc/self/exe or no home folder)\n");
        *exitCode = kExitNoService;
        return nullptr;
    }
    session->m_options = options;
    session->m_paths = options.emulator ? EmulatorAppPaths(*paths, options.emulatorState) : *paths;
    const std::string udevRule = paths->dataDir + "udev/60-ombrel.rules";
    std::string error;
    ServiceChoice choice;
    choice.emulator = options.emulator;
    choice.emulatorState = options.emulatorState;
    session->m_library = LoadServiceLibrary(paths->serviceLibDir, choice, &error);
    if (!session->m_library) {
        std::fprintf(stderr, "%s\n", error.c_str());
        *exitCode = kExitNoService;
        return nullptr;
    }
    const ServiceApi& api = session->m_library->api();
    session->m_link = DeviceLink::start(api, session->m_screen, &error);
    if (!session->m_link) {
        const std::string problem = session->m_library->emulatorProblem();
        std::fprintf(stderr, "%s\n", problem.empty() ? error.c_str() : problem.c_str());
        *exitCode = kExitNoService;
        return nullptr;
    }
    if (options.trace) session->m_link->exchange().SetTrace(printTrace);

    // A node that exists but cannot be opened counts as a keyboard in the library's count; ask first.
    char node[256] = {};
    const bool unreachable = api.Probe && api.Probe(node, sizeof node) > 0;
    if (unreachable || session->m_link->exchange().DeviceCount() <= 0) {
        *exitCode = explainMissingKeyboard(api, udevRule);
        return nullptr;
    }
    *exitCode = kExitOk;
    return session;
}

CliSession::~CliSession() {
    if (!m_link) return;
    m_link->shutdown();
    // A one-shot tool owns the library: stop its threads before the process exits rather than racing them.
    m_library->api().End();
}

int ReportResult(const char* what, int result) {
    if (result == LINK_OK) return kExitOk;
    std::fprintf(stderr, "%s failed: %s (%s %d)\n", what, LinkResultDescription(result), LinkResultName(result),
                 result);
    return kExitFailed;
}

} // namespace ombrel::cli
