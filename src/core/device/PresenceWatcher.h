#pragma once
// Follows the keyboard's arrival and removal through the number of attached keyboards. Every reported count
// runs a presence worker; the workers run one after the other, so two quick notifications cannot both see the
// same last count.

#include "device/DeviceCommands.h"
#include "device/DeviceState.h"
#include "device/ScreenPort.h"
#include "device/SerialWorker.h"

#include <atomic>
#include <chrono>

namespace ombrel {

class PresenceWatcher {
public:
    PresenceWatcher(DeviceCommands& commands, DeviceState& state, ScreenPort& screen)
        : m_commands(commands), m_state(state), m_screen(screen) {}
    ~PresenceWatcher() { stop(); }

    // Runs a presence worker for `count` on the watcher's thread.
    void post(int count);
    // Waits until every posted worker has finished (tests, shutdown).
    void drain() { m_worker.drain(); }
    // Ends the thread; a running worker finishes the read it is in and skips the rest.
    void stop();
    bool stopping() const { return m_stopping.load(); }

    // The worker itself, on the calling thread.
    void PresenceWorker(int count);

    std::chrono::milliseconds windowPollInterval{50};

private:
    DeviceCommands& m_commands;
    DeviceState& m_state;
    ScreenPort& m_screen;
    std::atomic<bool> m_stopping{false};
    SerialWorker m_worker;
};

} // namespace ombrel
