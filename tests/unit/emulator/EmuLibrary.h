#pragma once
// libVevIrozEmu.so loaded and unloaded with dlopen of its own (these tests check the library's exports and its
// end), its calls resolved by name as the program resolves them, and a recorder for what its delivery thread hands
// to the callback.

#include "VevIrozEmu.h"
#include "support/EmulatorLibrary.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace ombrel::test {

struct EmuLibrary {
    void* handle = nullptr;
    VevInitFn init = nullptr;
    VevEndFn end = nullptr;
    VevRequestGetDeviceCountFn getDeviceCount = nullptr;
    VevDeleteRequestFromUnitIdFn deleteRequest = nullptr;
    VevRequestWriteOneFn writeOne = nullptr;
    VevRequestStatusWriteFn statusWrite = nullptr;
    VevRequestAsyncReadFn asyncRead = nullptr;
    VevProbeFn probe = nullptr;
    EmulatorControl emu; // the control calls

    // Loads the library and resolves every call; false (with the reason in `error`) when anything is missing.
    bool load(std::string& error);
    void unload();
};

// One notification as the callback saw it, copied out of the records.
struct Notification {
    std::uint32_t kind = 0;
    std::uint32_t tag = 0;
    std::uint32_t length = 0;
    std::vector<std::uint8_t> data;     // kind 1: `length` bytes from the request record's data pointer
    std::vector<std::uint8_t> consumer; // kind 1: the bytes the holder points to, consumerLength of them
};

// Collects notifications from the library's thread. Thread-safe.
class Recorder {
public:
    void add(Notification n);
    // Waits until `count` notifications are there (at most a few seconds); returns a copy of all of them.
    std::vector<Notification> waitFor(std::size_t count);
    std::vector<Notification> snapshot();
    void clear();

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Notification> m_items;
};

// Copies a notification record into a Notification.
Notification readRecord(void* record);

} // namespace ombrel::test
