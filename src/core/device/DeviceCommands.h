#pragma once
// One routine per command of the keyboard. Each builds its request reports, exchanges them one by one and moves
// data between the caller's buffer and the payloads; blocks longer than a payload go in 56-byte chunks. The
// routines know the addressing of every memory area but nothing of its contents.

#include "device/LinkResult.h"
#include "device/ReportExchange.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

namespace ombrel {

enum DeviceCommand : std::uint8_t {
    CMD_BEGIN = 1,
    CMD_END = 2,
    CMD_READ_CONFIG = 3,
    CMD_WRITE_CONFIG = 4,
    CMD_READ_LIGHTING = 5,
    CMD_WRITE_LIGHTING = 6,
    CMD_READ_KEYMAP = 7,
    CMD_WRITE_KEYMAP = 8,
    CMD_READ_MACROS = 9,
    CMD_WRITE_MACROS = 10,
    CMD_READ_DEFAULT_KEYMAP = 15,
    CMD_WRITE_KEYCOLORS = 17,
    CMD_ENTER_BOOT = 0xEE,
};

inline constexpr std::size_t kConfigSize = 44;
inline constexpr std::size_t kLightingBlockSize = 42;
inline constexpr std::size_t kKeymapSize = 378;
inline constexpr std::size_t kChunkSize = 56;
inline constexpr std::size_t kKeyColorProfileStride = 512;
inline constexpr int kProfileCount = 3;

class DeviceCommands {
public:
    explicit DeviceCommands(ReportExchange& exchange) : m_exchange(exchange) {}

    LinkResult BeginWrite();
    LinkResult EndWrite();
    LinkResult ReadConfig(std::span<std::uint8_t, kConfigSize> out);
    LinkResult WriteConfig(std::span<const std::uint8_t, kConfigSize> in);
    // Copies the whole 56-byte reply payload, whatever n is. n at most 56.
    LinkResult ReadLighting(std::span<std::uint8_t, kChunkSize> out, int n, int offset);
    // Sends n bytes (none when n <= 0). n at most 56.
    LinkResult WriteLighting(std::span<const std::uint8_t> in, int n, int offset);
    LinkResult ReadKeymap(std::span<std::uint8_t, kKeymapSize> out, int profile);
    LinkResult WriteKeymap(std::span<const std::uint8_t, kKeymapSize> in, int profile);
    LinkResult ReadMacros(std::span<std::uint8_t> out);
    LinkResult WriteMacros(std::span<const std::uint8_t> in);
    LinkResult ReadDefaultKeymap(std::span<std::uint8_t, kKeymapSize> out);
    // n bytes for colour slot `slot` of profile `profile` (the lighting code passes the profile its last load
    // took). n at most 56.
    LinkResult WriteKeyColors(std::span<const std::uint8_t> in, int n, int slot, int profile);
    // The boot request: no sum, no reply; returns the send result (1 = sent).
    int EnterBoot();

    // Opens a write sequence with BeginWrite and closes it with EndWrite whatever `body` returns; the bracket's
    // own results are not examined, except an end the keyboard answers with LINK_NOT_KEPT: that is returned in
    // place of a succeeding body's LINK_OK. Otherwise returns what `body` returned.
    int Bracketed(const std::function<int()>& body);

    ReportExchange& exchange() { return m_exchange; }

    // Every write to the keyboard's memory passes here, whoever makes it, so one observer sees them all (the write
    // history keeps the state a write replaces); the configuration's write (the active profile) alone opens none. `before` runs before the first write of a sequence (begin ..
    // end; a bracket that only reads is no write) or before a lone write; `after` runs once the sequence or the
    // lone write is over, with LINK_OK only when every write and the end succeeded. What the observer reads is
    // not observed; inside a sequence it reads within that sequence's bracket. Writes are made by one thread at a
    // time (the program's transactions are serialised).
    struct WriteObserver {
        std::function<void()> before;
        std::function<void(int result)> after;
    };
    void setWriteObserver(WriteObserver observer) { m_observer = std::move(observer); }
    // Several write sequences that make one change (a whole file applied, a snapshot restored) are observed as
    // one, between these two calls (see WriteGroup). `observeNow` runs `before` at once, for a change that saves
    // files the observer reads (the colour files) before its first write to the keyboard.
    void beginWriteGroup(bool observeNow = false);
    void endWriteGroup();

private:
    void beforeWrite();
    LinkResult afterWrite(LinkResult result);
    void closeObservedWrite();
    // One report with `payload` (may be empty); the reply's payload is copied to `replyPayload` (may be empty).
    LinkResult single(std::uint8_t command, std::uint8_t length, std::uint32_t offset,
                      std::span<const std::uint8_t> payload, std::span<std::uint8_t> replyPayload);
    LinkResult readChunked(std::uint8_t command, std::uint32_t base, std::span<std::uint8_t> out);
    LinkResult writeChunked(std::uint8_t command, std::uint32_t base, std::span<const std::uint8_t> in);

    ReportExchange& m_exchange;
    WriteObserver m_observer;
    // Atomic, so a read made meanwhile from another thread (the presence worker) is no data race.
    std::atomic<bool> m_observing = false;    // the observer runs: its own traffic is not observed
    std::atomic<bool> m_observedOpen = false; // `before` ran, `after` has not yet
    std::atomic<bool> m_inSequence = false;   // between a begin and its end
    std::atomic<int> m_groupDepth = 0;
    std::atomic<int> m_observedResult = LINK_OK; // the first failure since `before`
};

// Keeps a write group open while it lives.
class WriteGroup {
public:
    // Where the state the change replaces is taken: at the first write to the keyboard, or at once, when the
    // change saves the colour files first.
    enum class Observe { AtFirstWrite, Now };
    explicit WriteGroup(DeviceCommands& commands, Observe observe = Observe::AtFirstWrite) : m_commands(commands) {
        m_commands.beginWriteGroup(observe == Observe::Now);
    }
    ~WriteGroup() { m_commands.endWriteGroup(); }
    WriteGroup(const WriteGroup&) = delete;
    WriteGroup& operator=(const WriteGroup&) = delete;

private:
    DeviceCommands& m_commands;
};

} // namespace ombrel
