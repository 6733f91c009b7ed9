#pragma once
// The emulated keyboard as the service library presents it: plug state, registrations of the program's
// channels, the reply latency, injected faults, consumer notifications and the state file, with one delivery
// thread that hands every notification to the registered callbacks in due-time order.
//
// Locking: m_mutex guards every member below it. No callback is ever called with m_mutex held, so a callback
// may call back into the keyboard (register, delete, send) and other threads may send while a callback runs.

#include "DeviceFilter.h"
#include "emulator/KeyboardModel.h"
#include "emulator/StateFileLock.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

namespace ombrel::emu {

// The keyboard's three HID interfaces the program talks to.
enum class Interface { None, Vendor, Consumer, BankStatus };

// Which interface a filter names: each set bit of matchMask (1 vendor id, 2 product id, 4 usage page, 8 usage)
// selects a field that must match. A filter matching several interfaces names the first of vendor, consumer,
// bank status.
Interface InterfaceOf(const DeviceFilter& filter);

enum class FaultKind : int {
    None = 0,
    DropReply = 1,
    DelayReply = 2,
    WrongCommand = 3,
    StatusFF = 4,
    StatusFE = 5,
    SendFail = 6,
    Unplug = 7,
    ShortReply = 8,
    BadSum = 9,
};

class EmulatedKeyboard {
public:
    using Callback = std::int32_t (*)(void* record);
    // See OMBREL_EMU_FAULT in EmulatedKeyboard.cpp.
    struct AimedFault {
        FaultKind kind = FaultKind::None;
        std::int32_t arg = 0;
        std::uint8_t command = 0;
        std::uint32_t nth = 1;
        std::uint32_t times = 1;
        std::uint32_t seen = 0;      // reports with `command` so far
        std::uint32_t remaining = 0; // reports still to fault
    };
    using Clock = std::chrono::steady_clock;

    static constexpr std::uint32_t kDefaultLatencyMicros = 1000;
    static constexpr std::uint16_t kBankKeyCode = 767;

    EmulatedKeyboard();
    ~EmulatedKeyboard();
    EmulatedKeyboard(const EmulatedKeyboard&) = delete;
    EmulatedKeyboard& operator=(const EmulatedKeyboard&) = delete;

    // Library life. configure() works only while stopped. start() claims the state file, if one is configured
    // (see StateFileLock.h), loads it or creates a missing one, and starts the delivery thread; it refuses (false,
    // the reason in problem()) a file that is not a state file, or one another program holds, and never writes
    // it. stop() saves what changed, lets the file go, ends the delivery thread and forgets every registration
    // and pending notification. Plug state, faults and latency survive both, so a test can prepare the
    // keyboard before the program starts the library. stop() refuses (false) on the delivery thread itself.
    bool configure(const std::string& stateFile);
    bool start();
    bool stop();
    bool running() const;
    // Why the last start() refused, or why the last change could not be kept; empty when neither happened.
    std::string problem() const;

    // How long start() waits for another program to let a state file go.
    static constexpr std::chrono::milliseconds kStateLockWait{10000};

    // Service calls. Each returns 0 / false when refused.
    std::int32_t deviceCount(Interface iface) const;
    // A new registration's id, never 0; 0 when refused.
    std::uint32_t registerRead(Interface iface, Callback callback, std::uint32_t tag);
    std::uint32_t registerStatusWrite(Interface iface, Callback callback, std::uint32_t tag,
                                      std::span<const std::uint8_t> payload);
    // After this returns, the registration's callback is not called again (unless it is running the call).
    bool unregister(std::uint32_t id);
    // One report to the vendor interface: 1 when the keyboard took it, 0 when not.
    std::int32_t writeReport(std::span<const std::uint8_t, Frame::kSize> report);

    // Control interface.
    void reset();
    void plug();
    void unplug();
    bool plugged() const;
    void setLatencyMicros(std::uint32_t micros);
    bool sendConsumer(std::uint16_t code);
    bool injectFault(FaultKind kind, std::int32_t arg);
    void clearFaults();
    bool readMemory(Area area, std::size_t offset, std::span<std::uint8_t> out) const;
    bool writeMemory(Area area, std::size_t offset, std::span<const std::uint8_t> in);
    std::uint32_t reportCount() const;
    bool bankStatus(std::uint8_t out[2]) const;
    bool bootRequested() const;
    bool saveState();

private:
    enum class EventKind { DeviceCount, VendorData, ConsumerData };
    struct Event {
        EventKind kind = EventKind::DeviceCount;
        std::uint32_t count = 0;            // DeviceCount: attached keyboards
        std::vector<std::uint8_t> bytes;    // data events: the input report
        std::uint32_t length = 0;           // data events: bytes delivered (a short reply delivers fewer)
        std::vector<std::uint32_t> targets; // the registrations there were when it happened
    };
    struct Registration {
        Interface iface = Interface::None;
        Callback callback = nullptr;
        std::uint32_t tag = 0;
        bool reads = false; // an async read; status writes receive nothing
    };
    struct Fault {
        FaultKind kind;
        std::int32_t arg;
    };
    using EventKey = std::pair<Clock::time_point, std::uint64_t>;

    void deliveryLoop();
    void deliver(const Registration& reg, const Event& event) const;
    void enqueue(Clock::time_point due, Event event);
    void enqueueCount(std::uint32_t count);
    void dropPendingData();
    void setPluggedLocked(bool plugged);
    // False when a change could not be kept: the state file could not be written, so the memory went back to what
    // the file holds and problem() says why.
    bool saveIfDueLocked();
    bool saveLocked();
    bool claimStateFileLocked();
    std::uint32_t newIdLocked();
    Clock::duration latencyLocked() const { return std::chrono::microseconds(m_latencyMicros); }

    std::mutex m_lifeMutex; // serialises start() and stop(); guards m_thread
    std::thread m_thread;

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;         // the delivery thread: an event was queued, or stop
    std::condition_variable m_callbackDone; // unregister: the callback it waits for has returned

    KeyboardModel m_model;
    std::string m_statePath;
    std::unique_ptr<StateFileLock> m_stateLock; // held from start() to stop() while a state file is configured
    std::optional<KeyboardMemory> m_keptMemory; // what the state file holds; the memory returns to it on failure
    std::string m_problem;
    bool m_running = false;
    bool m_stopping = false;
    bool m_plugged = true;
    bool m_bootRequested = false;
    std::uint32_t m_latencyMicros = kDefaultLatencyMicros;
    std::uint32_t m_reportCount = 0;
    std::vector<std::uint8_t> m_bankStatus; // the last status-write payload; empty when none since reset
    std::deque<Fault> m_faults;
    std::optional<long long> m_writesBeforeFailure; // see OMBREL_EMU_FAIL_WRITES_AFTER
    std::optional<AimedFault> m_aimedFault;         // see OMBREL_EMU_FAULT
    std::map<std::uint32_t, Registration> m_registrations;
    std::uint32_t m_nextId = 1;
    std::map<EventKey, Event> m_events;
    std::uint64_t m_nextSeq = 0;
    std::uint32_t m_activeId = 0; // registration whose callback the delivery thread is running, 0 when none
    std::thread::id m_threadId;
};

} // namespace ombrel::emu
