#include "support/ScopedUserHome.h"

#include <cstdlib>
#include <filesystem>

namespace ombrel::test {

ScopedUserHome::ScopedUserHome(const std::string& home) {
    const std::pair<const char*, const char*> folders[] = {
        {"HOME", ""},
        {"XDG_CONFIG_HOME", "/.config"},
        {"XDG_DATA_HOME", "/.local/share"},
        {"XDG_STATE_HOME", "/.local/state"},
        {"XDG_CACHE_HOME", "/.cache"},
    };
    for (const auto& [name, below] : folders) {
        const char* old = std::getenv(name);
        m_saved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        const std::string path = home + below;
        std::filesystem::create_directories(path);
        ::setenv(name, path.c_str(), 1);
    }
}

ScopedUserHome::~ScopedUserHome() {
    for (const auto& [name, old] : m_saved) {
        if (old)
            ::setenv(name.c_str(), old->c_str(), 1);
        else
            ::unsetenv(name.c_str());
    }
}

} // namespace ombrel::test
