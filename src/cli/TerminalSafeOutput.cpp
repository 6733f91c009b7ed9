#include "TerminalSafeOutput.h"

#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <string>

namespace ombrel::cli {

namespace {

bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

ssize_t writeEscaped(void* cookie, const char* data, std::size_t size) {
    const int fd = static_cast<int>(reinterpret_cast<std::intptr_t>(cookie));
    std::string out;
    out.reserve(size);
    for (std::size_t i = 0; i < size; ++i) {
        const auto c = static_cast<unsigned char>(data[i]);
        if ((c < 0x20 && c != '\n' && c != '\t') || c == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return writeAll(fd, out) ? static_cast<ssize_t>(size) : -1;
}

std::FILE* escapingStream(int fd) {
    cookie_io_functions_t io{};
    io.write = writeEscaped;
    return ::fopencookie(reinterpret_cast<void*>(static_cast<std::intptr_t>(fd)), "w", io);
}

} // namespace

void MakeOutputTerminalSafe() {
    if (std::FILE* out = escapingStream(STDOUT_FILENO)) {
        std::fflush(stdout);
        // Full buffering into a pipe or file, line by line on a terminal, as the standard stream does it.
        std::setvbuf(out, nullptr, ::isatty(STDOUT_FILENO) ? _IOLBF : _IOFBF, BUFSIZ);
        stdout = out;
    }
    if (std::FILE* err = escapingStream(STDERR_FILENO)) {
        std::setvbuf(err, nullptr, _IONBF, 0);
        stderr = err;
    }
}

} // namespace ombrel::cli
