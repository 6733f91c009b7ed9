#include "CliSession.h"

#include "DoctorCommand.h"
#include "HexDump.h"
#include "ProgramRoute.h"
#include "device/CommandTexts.h"
#include "device/LinkResult.h"
#include "keyboardfile/WriteHistory.h"
#include "platform/KeyboardBus.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <unistd.h>

namespace ombrel::cli {

namespace {

// The library of the open session, for the reason behind a change the emulator could not keep.
const ServiceLibrary* g_library = nullptr;

void printTrace(TraceDirection direction, std::span<const std::uint8_t> bytes) {
    const char* mark = direction == TraceDirection::Sent ? "->" : direction == TraceDirection::Received ? "<-" : "<x";
    std::fprintf(stderr, "%s %s\n", mark, HexLine(bytes).c_str());
}

// How long to wait while another program talks to the keyboard: 10 s, or OMBREL_KEYBOARD_WAIT_MS milliseconds.
std::chrono::milliseconds keyboardTurnWait() {
    const char* value = std::getenv("OMBREL_KEYBOARD_WAIT_MS");
    if (!value || !*value) return std::chrono::seconds(10);
    char* end = nullptr;
    const long long ms = std::strtoll(value, &end, 10);
    return *end == '\0' && ms >= 0 ? std::chrono::milliseconds(ms) : std::chrono::seconds(10);
}

// Probes the keyboard; while another program is talking to it (it gives the keyboard back when it falls silent),
// waits for a turn, saying so once.
int probeWaitingForTurn(const ServiceApi& api, char* node, int capacity) {
    if (!api.Probe) return -1;
    const auto deadline = std::chrono::steady_clock::now() + keyboardTurnWait();
    bool said = false;
    int probe = api.Probe(node, capacity);
    while (probe == EBUSY && std::chrono::steady_clock::now() < deadline) {
        if (!said) std::fprintf(stderr, "waiting for another program to finish with the keyboard at %s...\n", node);
        said = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        probe = api.Probe(node, capacity);
    }
    return probe;
}

// Explains why no keyboard answers: absent, or present but not accessible to this user.
int explainMissingKeyboard(const ServiceApi& api) {
    char node[256] = {};
    const int probe = probeWaitingForTurn(api, node, sizeof node);
    if (probe > 0) {
        if (probe == EBUSY) {
            std::fprintf(stderr,
                         "the keyboard at %s is in use by another program (Ombrel or another ombrelctl), which did not "
                         "finish within the wait; try again when it is done\n",
                         node);
            return kExitNoKeyboard;
        }
        std::fprintf(stderr, "found the keyboard at %s but cannot open it: %s\n", node, std::strerror(probe));
        // What blocks access depends on the system (no rule, a rule not applied, no udev at all, a remote login):
        // the doctor's findings name it, with fixes that fit this user.
        if (probe == EACCES || probe == EPERM) PrintKeyboardProblems();
        return kExitNoKeyboard;
    }
    std::fprintf(stderr, "%s\n", kNoKeyboardText);
    return kExitNoKeyboard;
}

} // namespace

CliSession::CliSession() = default;

std::unique_ptr<CliSession> CliSession::openThroughProgram(const CliOptions& options, const AppPaths& paths) {
    auto route = ProgramRoute::find(KeyboardTargetName(options.emulator, options.emulatorState));
    if (!route) return nullptr;
    std::unique_ptr<CliSession> session(new CliSession);
    session->m_options = options;
    session->m_paths = options.emulator ? EmulatorAppPaths(paths, options.emulatorState) : paths;
    // The program passes the reports on without knowing what they make up: the history of this command's writes
    // is kept here, under this program's name.
    SetProcessHistory(HistorySettingsFor(session->m_paths, options.emulator, "ombrelctl"));
    std::string error;
    session->m_link = DeviceLink::start(ProgramRoute::quietApi(), session->m_screen, &error);
    if (!session->m_link) return nullptr;
    ProgramRoute* through = route.get();
    session->m_link->exchange().SetForwarder(
        [through](std::span<const std::uint8_t> request, std::uint8_t* reply, std::size_t capacity, int* replyLength) {
            return through->exchange(request, reply, capacity, replyLength);
        });
    if (options.trace) session->m_link->exchange().SetTrace(printTrace);
    session->m_route = std::move(route);
    return session;
}

std::unique_ptr<CliSession> CliSession::open(const CliOptions& options, int* exitCode) {
    const auto& paths = ProcessAppPaths();
    if (!paths) {
        std::fprintf(stderr, "cannot tell where the program is installed (no /proc/self/exe or no home folder)\n");
        *exitCode = kExitNoService;
        return nullptr;
    }
    // While the program serves this keyboard, the commands go through it rather than wait for it.
    if (!options.direct) {
        if (auto session = openThroughProgram(options, *paths)) {
            *exitCode = kExitOk;
            return session;
        }
    }
    std::unique_ptr<CliSession> session(new CliSession);
    session->m_options = options;
    session->m_paths = options.emulator ? EmulatorAppPaths(*paths, options.emulatorState) : *paths;
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
    // Every write this run makes first keeps the state it replaces (ombrelctl history).
    SetProcessHistory(HistorySettingsFor(session->m_paths, options.emulator, "ombrelctl"));
    const ServiceApi& api = session->m_library->api();
    // While another program talks to the keyboard, wait here where it can be said, before the link's first reads.
    char node[256] = {};
    probeWaitingForTurn(api, node, sizeof node);
    session->m_link = DeviceLink::start(api, session->m_screen, &error);
    if (!session->m_link) {
        const std::string problem = session->m_library->emulatorProblem();
        std::fprintf(stderr, "%s\n", problem.empty() ? error.c_str() : problem.c_str());
        *exitCode = kExitNoService;
        return nullptr;
    }
    if (options.trace) session->m_link->exchange().SetTrace(printTrace);

    // A node that exists but cannot be opened counts as a keyboard in the library's count; ask first.
    const bool unreachable = probeWaitingForTurn(api, node, sizeof node) > 0;
    if (unreachable || session->m_link->exchange().DeviceCount() <= 0) {
        *exitCode = explainMissingKeyboard(api);
        return nullptr;
    }
    *exitCode = kExitOk;
    g_library = &*session->m_library;
    return session;
}

CliSession::~CliSession() {
    if (m_library && g_library == &*m_library) g_library = nullptr;
    if (!m_link) return;
    m_link->shutdown();
    // A one-shot tool owns the library: stop its threads before the process exits rather than racing them.
    if (m_library) m_library->api().End();
}

int ReportResult(const char* what, int result) {
    if (result == LINK_OK) return kExitOk;
    std::fprintf(stderr, "%s\n", FailureText(what, result).c_str());
    // The emulator knows why it could not keep a change (a full disk, a read-only state file).
    if (result == LINK_NOT_KEPT && g_library) {
        if (const std::string why = g_library->emulatorProblem(); !why.empty())
            std::fprintf(stderr, "%s\n", why.c_str());
    }
    return kExitFailed;
}

} // namespace ombrel::cli
