#pragma once
// The per-user single-instance lock: an exclusive flock on <runtime dir>/QT42M17B.lock. The kernel drops it when
// the owning process ends however it ends, so a crashed instance never blocks the next start. The lock file is
// never removed (removing it would let two processes lock two different files of the same name).

#include "platform/UniqueFd.h"

#include <string>

namespace ombrel {

class InstanceLock {
public:
    enum class State {
        Owned,         // this object holds the lock: this process is the instance
        HeldElsewhere, // another instance (or another object of this process) holds it
        Unavailable,   // the lock file could not be opened; the program runs on without single-instance rules
    };

    // Tries once, without waiting.
    static InstanceLock acquire(const std::string& runtimeDir);

    InstanceLock() = default;
    InstanceLock(InstanceLock&&) noexcept = default;
    InstanceLock& operator=(InstanceLock&&) noexcept = default;

    State state() const { return m_state; }
    bool owned() const { return m_state == State::Owned; }
    const std::string& runtimeDir() const { return m_runtimeDir; }
    const std::string& error() const { return m_error; }

    // Gives the lock up early (the destructor does it too); the state becomes Unavailable.
    void release();

private:
    State m_state = State::Unavailable;
    std::string m_runtimeDir;
    std::string m_error;
    UniqueFd m_fd;
};

} // namespace ombrel
