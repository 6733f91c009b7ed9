#pragma once
// The reader of one registration: it holds the registration's own handle on its interface, waits for input
// without a time-out (an idle program does not wake) while a delete wakes it and an unplug fails its handle, and
// hands every input report to the registration. When the handle fails it sleeps until the next device change and
// opens the interface again.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "DeviceTable.h"
#include "HidBackend.h"
#include "Registration.h"
#include "ServiceTiming.h"

namespace ombrel::hid {

class ReaderThread {
public:
    ReaderThread(std::shared_ptr<Registration> registration, HidBackend& backend, DeviceTable& table,
                 const ServiceTiming& timing)
        : m_registration(std::move(registration)), m_backend(backend), m_table(table), m_timing(timing) {}
    ~ReaderThread();
    ReaderThread(const ReaderThread&) = delete;
    ReaderThread& operator=(const ReaderThread&) = delete;

    // Opens the interface once on the calling thread, so the reader listens before the registration call
    // returns, and starts the thread. Does nothing after requestStop().
    void start();
    // Asks the thread to end; it does at once, unless a callback of its own is running.
    void requestStop();
    // requestStop() and waits for the thread. Not to be called on the reader's own thread.
    void stop();

    bool runsOnThisThread() const;
    bool finished() const { return m_finished.load(); }
    // Whether the reader has caught up with the device change of this generation: it holds a handle, has tried
    // to open one since that change, or has ended.
    bool settledFor(std::uint64_t generation) const;

private:
    void run();
    // Tries to open the interface as the table of `generation` names it; with `retry` keeps trying while the
    // node exists but refuses (udev may not have set its permissions yet).
    void openInterface(std::uint64_t generation, bool retry);
    void closeInterface();

    const std::shared_ptr<Registration> m_registration;
    HidBackend& m_backend;
    DeviceTable& m_table;
    const ServiceTiming m_timing;

    // Replaced only by the reader's thread once it runs (by start() before), under m_deviceMutex, which
    // requestStop() takes to wake it; the reader reads without the lock, as nobody else replaces the handle.
    std::mutex m_deviceMutex;
    std::unique_ptr<HidInput> m_device;
    bool m_numberedReports = false;

    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_open{false};
    std::atomic<bool> m_finished{false};
    std::atomic<std::uint64_t> m_triedGeneration{0};

    std::mutex m_threadMutex; // guards m_thread: starting against stopping
    std::thread m_thread;
    std::atomic<std::thread::id> m_threadId{};
};

} // namespace ombrel::hid
