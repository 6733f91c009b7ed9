#include "EmuLibrary.h"

#include "support/TestPaths.h"

#include <cstring>
#include <dlfcn.h>
#include <string>

namespace ombrel::test {

namespace {

template <typename Fn>
bool resolve(void* handle, const char* name, Fn& out, std::string& error) {
    out = reinterpret_cast<Fn>(dlsym(handle, name));
    if (!out) error += std::string("missing ") + name + "; ";
    return out != nullptr;
}

} // namespace

bool EmuLibrary::load(std::string& error) {
    handle = dlopen(serviceLibraryPath("libVevIrozEmu.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        error = dlerror();
        return false;
    }
    // Every call is looked up, so the message names all that are missing.
    bool ok = true;
    ok = resolve(handle, "Init", init, error) && ok;
    ok = resolve(handle, "End", end, error) && ok;
    ok = resolve(handle, "RequestGetDeviceCount", getDeviceCount, error) && ok;
    ok = resolve(handle, "DeleteRequestFromUnitId", deleteRequest, error) && ok;
    ok = resolve(handle, "RequestWriteOne", writeOne, error) && ok;
    ok = resolve(handle, "RequestStatusWrite", statusWrite, error) && ok;
    ok = resolve(handle, "RequestAsyncRead", asyncRead, error) && ok;
    ok = resolve(handle, "VevIrozProbe", probe, error) && ok;
    std::string missing;
    if (!ResolveEmulatorControl([this](const char* name) { return dlsym(handle, name); }, emu, missing)) {
        error += "missing " + missing + "; ";
        ok = false;
    }
    for (const char* name :
         {"Debug", "DeleteRequestFromHandle", "RequestWrite", "RequestStatusGet", "RequestStatusSetFeature"}) {
        void* fn = nullptr;
        ok &= resolve(handle, name, fn, error);
    }
    return ok;
}

void EmuLibrary::unload() {
    if (handle) dlclose(handle);
    handle = nullptr;
}

void Recorder::add(Notification n) {
    {
        std::lock_guard lock(m_mutex);
        m_items.push_back(std::move(n));
    }
    m_changed.notify_all();
}

std::vector<Notification> Recorder::waitFor(std::size_t count) {
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, std::chrono::seconds(5), [&] { return m_items.size() >= count; });
    return m_items;
}

std::vector<Notification> Recorder::snapshot() {
    std::lock_guard lock(m_mutex);
    return m_items;
}

void Recorder::clear() {
    std::lock_guard lock(m_mutex);
    m_items.clear();
}

Notification readRecord(void* record) {
    const auto* rec = static_cast<const VevNotifyRecord*>(record);
    Notification n;
    n.kind = rec->kind;
    n.tag = rec->request->tag;
    n.length = rec->request->length;
    if (n.kind == VEV_NOTIFY_DATA) {
        n.data.assign(rec->request->data, rec->request->data + n.length);
        const std::uint8_t* consumer = nullptr;
        std::memcpy(&consumer, rec->request->report->consumerReport, sizeof consumer);
        n.consumer.assign(consumer, consumer + rec->request->report->consumerLength);
    }
    return n;
}

} // namespace ombrel::test
