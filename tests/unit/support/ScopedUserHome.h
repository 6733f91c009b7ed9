#pragma once
// Points HOME and the XDG base folders into a test's own folder while it lives, so a program started by a test
// reads and writes its settings and per-user data there and never in the real user's home (tests run as root in
// CI). The previous values come back on destruction.

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ombrel::test {

class ScopedUserHome {
public:
    explicit ScopedUserHome(const std::string& home);
    ~ScopedUserHome();
    ScopedUserHome(const ScopedUserHome&) = delete;
    ScopedUserHome& operator=(const ScopedUserHome&) = delete;

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

} // namespace ombrel::test
