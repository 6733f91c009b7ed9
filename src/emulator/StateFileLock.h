#pragma once
// Keeps a state file to one program at a time. Two programs on one file would each work on their own copy of the
// keyboard's memory and the later save would silently undo the other's changes, so the emulator holds an
// exclusive lock for as long as it runs on the file. The lock is an flock on "<state file>.lock" beside it (the
// state file itself is replaced on every save, so it cannot carry the lock); the kernel drops it however the
// holder ends. The holder writes its name and process id into the lock file, so a program that has to wait can say
// who it waits for. The lock file is never removed: removing it would let two programs lock two different files
// of the same name.

#include "platform/UniqueFd.h"

#include <chrono>
#include <memory>
#include <string>

namespace ombrel::emu {

class StateFileLock {
public:
    // Locks `statePath`, waiting up to `wait` for another program to let it go; a line on stderr says who it
    // waits for. Null, with a sentence for the user in `problem`, when the lock cannot be had.
    static std::unique_ptr<StateFileLock> acquire(const std::string& statePath, std::chrono::milliseconds wait,
                                                  std::string* problem);

    static std::string lockPathOf(const std::string& statePath) { return statePath + ".lock"; }

private:
    explicit StateFileLock(UniqueFd fd) : m_fd(std::move(fd)) {}
    UniqueFd m_fd;
};

} // namespace ombrel::emu
