#include "support/Unprivileged.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace ombrel::test {

std::optional<std::string> RunAsUnprivilegedUser(const std::function<std::string()>& work) {
    int fds[2];
    if (::pipe(fds) != 0) return std::nullopt;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(kNobodyId) != 0 || ::setuid(kNobodyId) != 0))
            ::_exit(1);
        const std::string out = work();
        for (std::size_t at = 0; at < out.size();) {
            const ssize_t n = ::write(fds[1], out.data() + at, out.size() - at);
            if (n <= 0) ::_exit(1);
            at += static_cast<std::size_t>(n);
        }
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string output;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        output.append(buffer, static_cast<std::size_t>(n));
    ::close(fds[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return output;
}

} // namespace ombrel::test
