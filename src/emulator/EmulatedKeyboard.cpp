#include "emulator/EmulatedKeyboard.h"

#include <sys/prctl.h>

#include "VevIroz.h"
#include "emulator/StateFile.h"
#include "emulator/StateFileLock.h"
#include "platform/AppPaths.h"
#include "platform/SafeFileWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace ombrel::emu {

namespace {

bool fieldMatches(std::uint32_t mask, std::uint32_t bit, std::uint16_t want, std::uint16_t have) {
    return (mask & bit) == 0 || want == have;
}

bool filterMatches(const DeviceFilter& filter, const DeviceFilter& iface) {
    return fieldMatches(filter.matchMask, 1u, filter.vendorId, iface.vendorId) &&
           fieldMatches(filter.matchMask, 2u, filter.productId, iface.productId) &&
           fieldMatches(filter.matchMask, 4u, filter.usagePage, iface.usagePage) &&
           fieldMatches(filter.matchMask, 8u, filter.usage, iface.usage);
}

// How long to wait for another program's hold on a state file: kStateLockWait, or OMBREL_STATE_LOCK_WAIT_MS for
// scripts (and tests) that run many programs on one file or want a quick answer.
std::chrono::milliseconds stateLockWait() {
    const char* value = std::getenv("OMBREL_STATE_LOCK_WAIT_MS");
    if (!value || !*value) return EmulatedKeyboard::kStateLockWait;
    char* end = nullptr;
    const long long ms = std::strtoll(value, &end, 10);
    return *end == '\0' && ms >= 0 ? std::chrono::milliseconds(ms) : EmulatedKeyboard::kStateLockWait;
}

// A keyboard that refuses writes after a number of them (OMBREL_EMU_FAIL_WRITES_AFTER=N: the write reports after
// the first N answer status 0xFF), so a program run as a whole can be tested with a write failing halfway.
std::optional<long long> writesBeforeFailure() {
    const char* value = std::getenv("OMBREL_EMU_FAIL_WRITES_AFTER");
    if (!value || !*value) return std::nullopt;
    char* end = nullptr;
    const long long n = std::strtoll(value, &end, 10);
    return *end == '\0' && n >= 0 ? std::optional(n) : std::nullopt;
}

// A fault aimed at one report of a whole program run, so a command-line run can be tested with a reply lost or
// damaged at a chosen point: OMBREL_EMU_FAULT=KIND,ARG,COMMAND,NTH[,TIMES] gives the NTH report (counting from 1)
// with command byte COMMAND, and the TIMES - 1 reports after it (its retries), fault KIND (the numbers of
// VevIrozEmu.h) with ARG. Nothing when unset or not four or five whole numbers in range.
std::optional<EmulatedKeyboard::AimedFault> aimedFault() {
    const char* value = std::getenv("OMBREL_EMU_FAULT");
    if (!value || !*value) return std::nullopt;
    long long n[5] = {0, 0, 0, 0, 1};
    int count = 0;
    const char* at = value;
    while (count < 5) {
        char* end = nullptr;
        errno = 0;
        n[count++] = std::strtoll(at, &end, 10);
        if (end == at || errno != 0) return std::nullopt;
        at = end;
        if (*at == '\0') break;
        if (*at++ != ',') return std::nullopt;
    }
    if (*at != '\0' || count < 4) return std::nullopt;
    if (n[0] < 0 || n[0] > static_cast<int>(FaultKind::BadSum) || n[1] < 0 || n[1] > 60000 || n[2] < 0 || n[2] > 255 ||
        n[3] < 1 || n[3] > 100000 || n[4] < 1 || n[4] > 3)
        return std::nullopt;
    EmulatedKeyboard::AimedFault aimed;
    aimed.kind = static_cast<FaultKind>(n[0]);
    aimed.arg = static_cast<std::int32_t>(n[1]);
    aimed.command = static_cast<std::uint8_t>(n[2]);
    aimed.nth = static_cast<std::uint32_t>(n[3]);
    aimed.times = static_cast<std::uint32_t>(n[4]);
    return aimed;
}

bool isWriteCommand(std::uint8_t command) {
    return command == 4 || command == 6 || command == 8 || command == 10 || command == 17;
}

void warn(const std::string& text) {
    std::fprintf(stderr, "VevIrozEmu: %s\n", text.c_str());
}

} // namespace

Interface InterfaceOf(const DeviceFilter& filter) {
    if (filterMatches(filter, kVendorFilter)) return Interface::Vendor;
    if (filterMatches(filter, kConsumerFilter)) return Interface::Consumer;
    if (filterMatches(filter, kBankStatusFilter)) return Interface::BankStatus;
    return Interface::None;
}

EmulatedKeyboard::EmulatedKeyboard() = default;

EmulatedKeyboard::~EmulatedKeyboard() {
    stop();
}

// ---- life ----

bool EmulatedKeyboard::configure(const std::string& stateFile) {
    std::lock_guard lock(m_mutex);
    if (m_running) return false;
    // Resolved once: a link to the file and the file itself must share one lock.
    m_statePath = ResolvedStatePath(stateFile);
    return true;
}

bool EmulatedKeyboard::start() {
    std::lock_guard life(m_lifeMutex);
    {
        std::lock_guard lock(m_mutex);
        if (m_running) return true;
        m_problem.clear();
        // The caller reports the refusal (EmuProblem), so it is not printed here too.
        if (!m_statePath.empty() && !claimStateFileLocked()) return false;
        m_running = true;
        m_stopping = false;
        m_writesBeforeFailure = writesBeforeFailure();
        m_aimedFault = aimedFault();
    }
    m_thread = std::thread([this] { deliveryLoop(); });
    return true;
}

bool EmulatedKeyboard::claimStateFileLocked() {
    m_stateLock = StateFileLock::acquire(m_statePath, stateLockWait(), &m_problem);
    if (!m_stateLock) return false;
    StateLoad loaded = LoadStateFile(m_statePath);
    switch (loaded.status) {
    case StateLoad::Status::Loaded:
        m_model.setMemory(*loaded.memory);
        m_keptMemory = *loaded.memory;
        RemoveStaleTemporaryFiles(m_statePath);
        return true;
    case StateLoad::Status::Missing:
        // A new state file starts from factory memory and exists from the start, so a mistyped path shows at once.
        m_model.resetToFactory();
        if (SaveStateFile(m_statePath, m_model.memory(), &m_problem)) {
            m_model.markSaved();
            m_keptMemory = m_model.memory();
            return true;
        }
        break;
    case StateLoad::Status::Refused:
        m_problem = std::move(loaded.problem);
        break;
    }
    m_stateLock.reset();
    return false;
}

std::string EmulatedKeyboard::problem() const {
    std::lock_guard lock(m_mutex);
    return m_problem;
}

bool EmulatedKeyboard::stop() {
    {
        // Checked before m_lifeMutex: the delivery thread must not wait for a stop() that waits for it.
        std::lock_guard lock(m_mutex);
        if (m_running && std::this_thread::get_id() == m_threadId) return false;
    }
    std::lock_guard life(m_lifeMutex);
    {
        std::lock_guard lock(m_mutex);
        if (!m_running) return true;
        m_stopping = true;
        // Nobody is left to hear a failure here but stderr.
        if (m_model.hasUnsavedChanges() && !m_statePath.empty() && !saveLocked()) warn(m_problem);
        m_stateLock.reset(); // another program may use the file from here on
        m_keptMemory.reset();
    }
    m_wake.notify_all();
    m_thread.join();
    std::lock_guard lock(m_mutex);
    m_running = false;
    m_stopping = false;
    m_threadId = {};
    m_registrations.clear();
    m_events.clear();
    return true;
}

bool EmulatedKeyboard::running() const {
    std::lock_guard lock(m_mutex);
    return m_running;
}

// ---- delivery ----

void EmulatedKeyboard::enqueue(Clock::time_point due, Event event) {
    // A notification goes to the registrations that exist when it happens, not to later ones.
    const Interface target = event.kind == EventKind::ConsumerData ? Interface::Consumer : Interface::Vendor;
    for (const auto& [id, reg] : m_registrations)
        if (reg.reads && reg.iface == target) event.targets.push_back(id);
    if (event.targets.empty()) return;
    m_events.emplace(EventKey{due, m_nextSeq++}, std::move(event));
    m_wake.notify_all();
}

void EmulatedKeyboard::enqueueCount(std::uint32_t count) {
    Event event;
    event.kind = EventKind::DeviceCount;
    event.count = count;
    enqueue(Clock::now(), std::move(event));
}

void EmulatedKeyboard::dropPendingData() {
    std::erase_if(m_events, [](const auto& item) { return item.second.kind != EventKind::DeviceCount; });
}

void EmulatedKeyboard::deliveryLoop() {
    // A USB endpoint answers on its polling interval; the kernel's default 50 us timer slack on this thread would
    // make every emulated report late by that much.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    std::unique_lock lock(m_mutex);
    // Known before the first callback runs, so a callback that deletes its own registration never waits for
    // itself.
    m_threadId = std::this_thread::get_id();
    while (!m_stopping) {
        if (m_events.empty()) {
            m_wake.wait(lock);
            continue;
        }
        const auto first = m_events.begin();
        // A copy: while the wait lets go of the lock, another thread may remove this event (an unplug).
        if (const Clock::time_point due = first->first.first; due > Clock::now()) {
            m_wake.wait_until(lock, due);
            continue;
        }
        const Event event = std::move(first->second);
        m_events.erase(first);
        for (std::uint32_t id : event.targets) {
            const auto it = m_registrations.find(id);
            if (it == m_registrations.end() || m_stopping) continue; // deleted by an earlier callback
            const Registration reg = it->second;
            m_activeId = id;
            lock.unlock();
            deliver(reg, event);
            lock.lock();
            m_activeId = 0;
            m_callbackDone.notify_all();
        }
    }
}

void EmulatedKeyboard::deliver(const Registration& reg, const Event& event) const {
    // Every callback gets its own copy of the bytes and records, alive for the duration of the call.
    std::vector<std::uint8_t> bytes = event.bytes;
    VevReportHolder holder{};
    VevRequestRecord request{};
    VevNotifyRecord record{};
    request.tag = reg.tag;
    request.report = &holder;
    record.request = &request;
    if (event.kind == EventKind::DeviceCount) {
        record.kind = VEV_NOTIFY_DEVICE_COUNT;
        request.length = event.count;
    } else {
        const std::uint8_t* data = bytes.data();
        record.kind = VEV_NOTIFY_DATA;
        request.length = event.length;
        request.data = data;
        std::memcpy(holder.consumerReport, &data, sizeof data);
        holder.consumerLength = event.length;
    }
    reg.callback(&record);
}

// ---- service calls ----

std::uint32_t EmulatedKeyboard::newIdLocked() {
    std::uint32_t id = m_nextId++;
    if (id == 0) id = m_nextId++; // after wrap-around; 0 means "no registration"
    return id;
}

std::int32_t EmulatedKeyboard::deviceCount(Interface iface) const {
    std::lock_guard lock(m_mutex);
    return (m_running && m_plugged && iface != Interface::None) ? 1 : 0;
}

std::uint32_t EmulatedKeyboard::registerRead(Interface iface, Callback callback, std::uint32_t tag) {
    if (iface == Interface::None || !callback) return 0;
    std::lock_guard lock(m_mutex);
    if (!m_running) return 0;
    const std::uint32_t id = newIdLocked();
    m_registrations[id] = Registration{iface, callback, tag, true};
    return id;
}

std::uint32_t EmulatedKeyboard::registerStatusWrite(Interface iface, Callback callback, std::uint32_t tag,
                                                    std::span<const std::uint8_t> payload) {
    if (iface == Interface::None) return 0;
    std::lock_guard lock(m_mutex);
    if (!m_running || !m_plugged) return 0;
    if (iface == Interface::BankStatus) m_bankStatus.assign(payload.begin(), payload.end());
    const std::uint32_t id = newIdLocked();
    m_registrations[id] = Registration{iface, callback, tag, false};
    return id;
}

bool EmulatedKeyboard::unregister(std::uint32_t id) {
    std::unique_lock lock(m_mutex);
    if (m_registrations.erase(id) == 0) return false;
    if (std::this_thread::get_id() != m_threadId) m_callbackDone.wait(lock, [&] { return m_activeId != id; });
    return true;
}

std::int32_t EmulatedKeyboard::writeReport(std::span<const std::uint8_t, Frame::kSize> bytes) {
    std::lock_guard lock(m_mutex);
    if (!m_running || !m_plugged) return 0;
    Fault fault{FaultKind::None, 0};
    if (!m_faults.empty()) {
        fault = m_faults.front();
        m_faults.pop_front();
    }
    if (m_aimedFault && fault.kind == FaultKind::None) {
        AimedFault& aimed = *m_aimedFault;
        if (aimed.remaining == 0 && bytes[3] == aimed.command && ++aimed.seen == aimed.nth)
            aimed.remaining = aimed.times;
        if (aimed.remaining > 0) {
            --aimed.remaining;
            fault = Fault{aimed.kind, aimed.arg};
        }
    }
    if (m_writesBeforeFailure && isWriteCommand(bytes[3]) && (*m_writesBeforeFailure)-- <= 0)
        fault.kind = FaultKind::StatusFF;
    if (fault.kind == FaultKind::SendFail) return 0;
    ++m_reportCount;
    if (fault.kind == FaultKind::Unplug) {
        setPluggedLocked(false);
        return 0;
    }

    std::optional<Frame> reply;
    if (fault.kind == FaultKind::StatusFF || fault.kind == FaultKind::StatusFE) {
        reply =
            Frame::replyTo(Frame::received(bytes), fault.kind == FaultKind::StatusFF ? KeyboardModel::kStatusRefused
                                                                                     : KeyboardModel::kStatusBadSum);
        reply->stampChecksum();
    } else {
        reply = m_model.handleReport(bytes);
    }
    if (m_model.bootMode()) {
        // The keyboard restarts into its boot loader: it leaves the bus until it is plugged in again.
        m_bootRequested = true;
        setPluggedLocked(false);
        return 1;
    }
    if (!saveIfDueLocked() && reply) {
        // The keyboard did not keep what it was given: the reply must not say it did.
        reply->setStatus(KeyboardModel::kStatusNotKept);
        reply->stampChecksum();
    }
    if (!reply || fault.kind == FaultKind::DropReply) return 1;

    if (fault.kind == FaultKind::WrongCommand) {
        reply->setCommand(static_cast<std::uint8_t>(reply->command() ^ 0x80));
        reply->stampChecksum();
    }
    // Damaged after the sum was stamped, as a bit flipped on the wire would be.
    if (fault.kind == FaultKind::BadSum) reply->payload()[0] ^= 0x01;
    Event event;
    event.kind = EventKind::VendorData;
    event.bytes.assign(reply->bytes.begin(), reply->bytes.end());
    event.length = Frame::kSize;
    if (fault.kind == FaultKind::ShortReply) event.length = static_cast<std::uint32_t>(fault.arg);
    Clock::duration due = latencyLocked();
    if (fault.kind == FaultKind::DelayReply) due += std::chrono::milliseconds(fault.arg);
    enqueue(Clock::now() + due, std::move(event));
    return 1;
}

// ---- control interface ----

void EmulatedKeyboard::setPluggedLocked(bool plugged) {
    if (m_plugged == plugged) return;
    m_plugged = plugged;
    if (plugged) {
        m_model.leaveBootMode();
    } else {
        dropPendingData(); // replies and key events still on their way are lost with the keyboard
    }
    enqueueCount(plugged ? 1 : 0);
}

void EmulatedKeyboard::reset() {
    std::lock_guard lock(m_mutex);
    m_model.resetToFactory();
    m_faults.clear();
    m_latencyMicros = kDefaultLatencyMicros;
    m_reportCount = 0;
    m_bootRequested = false;
    m_bankStatus.clear();
    dropPendingData();
    setPluggedLocked(true);
}

void EmulatedKeyboard::plug() {
    std::lock_guard lock(m_mutex);
    setPluggedLocked(true);
}

void EmulatedKeyboard::unplug() {
    std::lock_guard lock(m_mutex);
    setPluggedLocked(false);
}

bool EmulatedKeyboard::plugged() const {
    std::lock_guard lock(m_mutex);
    return m_plugged;
}

void EmulatedKeyboard::setLatencyMicros(std::uint32_t micros) {
    std::lock_guard lock(m_mutex);
    m_latencyMicros = micros;
}

bool EmulatedKeyboard::sendConsumer(std::uint16_t code) {
    std::lock_guard lock(m_mutex);
    if (!m_plugged) return false;
    Event event;
    event.kind = EventKind::ConsumerData;
    event.bytes = {static_cast<std::uint8_t>(code & 0xFF), static_cast<std::uint8_t>(code >> 8)};
    event.length = static_cast<std::uint32_t>(event.bytes.size());
    enqueue(Clock::now(), std::move(event));
    return true;
}

bool EmulatedKeyboard::injectFault(FaultKind kind, std::int32_t arg) {
    if (static_cast<int>(kind) < 0 || kind > FaultKind::BadSum) return false;
    if (kind == FaultKind::DelayReply && arg < 0) return false;
    if (kind == FaultKind::ShortReply && (arg < 0 || arg > static_cast<std::int32_t>(Frame::kSize))) return false;
    std::lock_guard lock(m_mutex);
    m_faults.push_back(Fault{kind, arg});
    return true;
}

void EmulatedKeyboard::clearFaults() {
    std::lock_guard lock(m_mutex);
    m_faults.clear();
}

bool EmulatedKeyboard::readMemory(Area area, std::size_t offset, std::span<std::uint8_t> out) const {
    std::lock_guard lock(m_mutex);
    return m_model.readArea(area, offset, out);
}

bool EmulatedKeyboard::writeMemory(Area area, std::size_t offset, std::span<const std::uint8_t> in) {
    std::lock_guard lock(m_mutex);
    if (!m_model.writeArea(area, offset, in)) return false;
    return saveIfDueLocked();
}

std::uint32_t EmulatedKeyboard::reportCount() const {
    std::lock_guard lock(m_mutex);
    return m_reportCount;
}

bool EmulatedKeyboard::bankStatus(std::uint8_t out[2]) const {
    std::lock_guard lock(m_mutex);
    if (m_bankStatus.empty()) return false;
    out[0] = m_bankStatus[0];
    out[1] = m_bankStatus.size() > 1 ? m_bankStatus[1] : 0;
    return true;
}

bool EmulatedKeyboard::bootRequested() const {
    std::lock_guard lock(m_mutex);
    return m_bootRequested;
}

// ---- state file ----

bool EmulatedKeyboard::saveState() {
    std::lock_guard lock(m_mutex);
    return saveLocked();
}

bool EmulatedKeyboard::saveIfDueLocked() {
    // Without a state file the memory lives only as long as the library: nothing to keep, nothing to fail.
    if (m_statePath.empty() || !m_model.hasUnsavedChanges() || m_model.inBracket()) return true;
    return saveLocked();
}

bool EmulatedKeyboard::saveLocked() {
    // Only a file this run has claimed is written: never one that was refused or that another program holds.
    if (m_statePath.empty() || !m_stateLock) return false;
    std::string problem;
    if (!SaveStateFile(m_statePath, m_model.memory(), &problem)) {
        // A real keyboard that cannot store a change does not show it later either: back to what the file holds.
        if (m_keptMemory) m_model.setMemory(*m_keptMemory);
        m_problem = problem;
        return false;
    }
    m_problem.clear();
    m_model.markSaved();
    m_keptMemory = m_model.memory();
    return true;
}

} // namespace ombrel::emu
