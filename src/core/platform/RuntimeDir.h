#pragma once
// The private folder that holds the single-instance lock and socket: $XDG_RUNTIME_DIR, or, when that is unset
// or unusable, a folder /tmp/ombrel-<uid> made for the purpose. Either must be a real folder (not a link) owned
// by the user with no access for group or others, so that nobody else can take the instance name or listen in.

#include <sys/types.h>

#include <optional>
#include <string>

namespace ombrel {

inline constexpr const char* kInstanceName = "QT42M17B";

struct RuntimeEnvironment {
    std::string xdgRuntimeDir;
    std::string tmpBase = "/tmp";
    uid_t uid = 0;

    static RuntimeEnvironment current();
};

// The folder to use, or nullopt with `error` set when no safe folder exists (another user owns the fallback).
std::optional<std::string> InstanceRuntimeDir(const RuntimeEnvironment& env, std::string* error = nullptr);

std::string InstanceLockPath(const std::string& runtimeDir);
std::string InstanceSocketPath(const std::string& runtimeDir);

} // namespace ombrel
