#include "device/LinkStartHook.h"

#include <mutex>

namespace ombrel {

namespace {
std::mutex g_hookLock;
LinkStartHook g_hook;
} // namespace

void SetLinkStartHook(LinkStartHook hook) {
    std::lock_guard guard(g_hookLock);
    g_hook = std::move(hook);
}

LinkStartHook CurrentLinkStartHook() {
    std::lock_guard guard(g_hookLock);
    return g_hook;
}

} // namespace ombrel
