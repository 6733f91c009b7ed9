#include "emulator/StateFileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <thread>

namespace ombrel::emu {

namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(20);

std::string programName() {
    std::ifstream comm("/proc/self/comm");
    std::string name;
    std::getline(comm, name);
    return name.empty() ? std::string("a program") : name;
}

// What the holder wrote into the lock file: "NAME (process PID)".
std::string holderOf(int fd) {
    char buffer[128] = {};
    const ssize_t n = ::pread(fd, buffer, sizeof buffer - 1, 0);
    std::string text(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\0'))
        text.pop_back();
    return text.empty() ? std::string("another program") : text;
}

bool tryLock(int fd) {
    int result;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

void writeHolder(int fd) {
    const std::string text = programName() + " (process " + std::to_string(::getpid()) + ")\n";
    if (::ftruncate(fd, 0) == 0) {
        [[maybe_unused]] const ssize_t ignored = ::pwrite(fd, text.data(), text.size(), 0);
    }
}

} // namespace

std::unique_ptr<StateFileLock> StateFileLock::acquire(const std::string& statePath, std::chrono::milliseconds wait,
                                                      std::string* problem) {
    const std::string path = lockPathOf(statePath);
    // Close-on-exec: a program started from here must not inherit the lock and keep it after we end.
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644));
    if (!fd.valid()) {
        *problem = "cannot open the lock file " + path + ": " + std::strerror(errno);
        return nullptr;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        *problem = path + " is not a lock file (not a regular file); it is left alone";
        return nullptr;
    }
    const auto deadline = std::chrono::steady_clock::now() + wait;
    bool told = false;
    while (!tryLock(fd.get())) {
        if (errno != EWOULDBLOCK) {
            *problem = "cannot lock " + path + ": " + std::strerror(errno);
            return nullptr;
        }
        const std::string holder = holderOf(fd.get());
        if (std::chrono::steady_clock::now() >= deadline) {
            *problem = "the state file " + statePath + " is in use by " + holder +
                       "; end that program or choose another state file";
            return nullptr;
        }
        if (!told)
            std::fprintf(stderr, "VevIrozEmu: waiting for %s, which uses %s\n", holder.c_str(), statePath.c_str());
        told = true;
        std::this_thread::sleep_for(kPollInterval);
    }
    writeHolder(fd.get());
    return std::unique_ptr<StateFileLock>(new StateFileLock(std::move(fd)));
}

} // namespace ombrel::emu
