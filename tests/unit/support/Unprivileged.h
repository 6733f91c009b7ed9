#pragma once
// Permission checks need an ordinary user: tests run as root, whom no mode or ACL stops.

#include <functional>
#include <optional>
#include <string>

namespace ombrel::test {

inline constexpr unsigned kNobodyId = 65534;

// Runs `work` in a child process as nobody (when we are root; as ourselves otherwise) and returns what it
// returned; nullopt when the child could not become nobody or did not end normally.
std::optional<std::string> RunAsUnprivilegedUser(const std::function<std::string()>& work);

} // namespace ombrel::test
