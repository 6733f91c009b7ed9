#include "BridgeControl.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace ombrel::vm {

std::string BridgeControl::send(const std::string& command) const {
    const int out = ::open(m_control.c_str(), O_WRONLY | O_CLOEXEC);
    if (out < 0) return std::string("error: ") + std::strerror(errno);
    const std::string line = command + "\n";
    const bool sent = ::write(out, line.data(), line.size()) == static_cast<ssize_t>(line.size());
    ::close(out);
    if (!sent) return "error: control channel refused the command";
    const int in = ::open(m_answer.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return std::string("error: ") + std::strerror(errno);
    std::string answer;
    char c = 0;
    while (::read(in, &c, 1) == 1 && c != '\n')
        answer += c;
    ::close(in);
    return answer;
}

} // namespace ombrel::vm
