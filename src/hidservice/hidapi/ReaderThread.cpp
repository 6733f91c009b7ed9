#include "ReaderThread.h"

#include <vector>

#include "DebugLog.h"
#include "LibraryThread.h"
#include "ReportDescriptor.h"

namespace ombrel::hid {

namespace {
// Larger than any report the keyboard sends; hidraw cuts a longer report to the buffer.
constexpr std::size_t kReadBufferSize = 4096;
} // namespace

ReaderThread::~ReaderThread() {
    requestStop();
    std::lock_guard lock(m_threadMutex);
    if (m_thread.joinable()) {
        if (m_thread.get_id() == std::this_thread::get_id())
            m_thread.detach(); // the thread is about to return
        else
            m_thread.join();
    }
}

void ReaderThread::start() {
    std::lock_guard lock(m_threadMutex);
    if (m_stop.load() || m_thread.joinable()) return;
    openInterface(m_table.generation(), false);
    m_thread = std::thread([this] { run(); });
}

void ReaderThread::requestStop() {
    m_stop.store(true);
    m_table.wake();
    std::lock_guard lock(m_deviceMutex);
    if (m_device) m_device->wake();
}

void ReaderThread::stop() {
    requestStop();
    std::lock_guard lock(m_threadMutex);
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id()) m_thread.join();
}

bool ReaderThread::runsOnThisThread() const {
    return m_threadId.load() == std::this_thread::get_id();
}

bool ReaderThread::settledFor(std::uint64_t generation) const {
    return m_open.load() || m_triedGeneration.load() >= generation || m_finished.load();
}

void ReaderThread::run() {
    // Stored here rather than by start(), so a callback on this thread already sees it.
    m_threadId.store(std::this_thread::get_id());
    t_libraryThread = true;
    std::vector<std::uint8_t> buffer(kReadBufferSize);
    while (!m_stop.load()) {
        if (!m_device) {
            const std::uint64_t generation = m_table.generation();
            if (generation == m_triedGeneration.load()) {
                m_table.waitForChange(generation, m_stop);
            } else {
                openInterface(generation, true);
            }
            continue;
        }
        const int got = m_device->read(buffer);
        if (got > 0) {
            m_registration->deliverData(std::span<const std::uint8_t>(buffer.data(), static_cast<std::size_t>(got)),
                                        m_numberedReports);
        } else if (got < 0) {
            debugLog(1, "reader " + std::to_string(m_registration->unitId()) + " lost its device");
            closeInterface();
        }
    }
    closeInterface();
    m_finished.store(true);
    m_table.wake();
}

void ReaderThread::openInterface(std::uint64_t generation, bool retry) {
    const auto deadline = std::chrono::steady_clock::now() + m_timing.openRetryLimit;
    for (;;) {
        const std::optional<std::string> path = m_table.pathFor(m_registration->filter());
        if (!path) break; // not attached: the next device change wakes the reader
        int error = 0;
        std::unique_ptr<HidInput> opened = m_backend.openInput(*path, error);
        if (opened) {
            std::lock_guard lock(m_deviceMutex);
            m_device = std::move(opened);
            // A stop asked while the node was opening found no handle to wake.
            if (m_stop.load()) m_device->wake();
        }
        if (m_device) {
            m_numberedReports = parseReportDescriptor(m_backend.reportDescriptor(*path)).numberedReports;
            break;
        }
        debugLog(1, "cannot open " + *path + ": " + errorText(error));
        if (!retry || m_stop.load() || std::chrono::steady_clock::now() >= deadline) break;
        m_table.sleepFor(m_timing.openRetryStep, m_stop);
    }
    m_open.store(m_device != nullptr);
    m_triedGeneration.store(generation);
    m_table.wake();
}

void ReaderThread::closeInterface() {
    {
        std::lock_guard lock(m_deviceMutex);
        m_device.reset();
    }
    m_open.store(false);
    m_table.wake();
}

} // namespace ombrel::hid
