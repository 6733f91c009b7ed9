#pragma once
// The emulated keyboard's memory and command handling, without threads: one 64-byte request in, at most one
// 64-byte reply out.
//
// Replies repeat report id, command, length and offset of the request, carry read data in the payload (zeros
// otherwise) and are summed like requests. Status:
//   0x00  done.
//   0xFE  the request's sum does not match its bytes; nothing done.
//   0xFF  unknown command, length above 56, or a range outside the area; nothing done.
//   0xFD  (set by the emulator around the model) the change could not be kept: its state file could not be
//         written, and the memory went back to what the file holds.
// A lighting read answers with the whole 56-byte window starting at its offset, whatever its length, with
// zeros past the end of lighting memory; only its offset has to lie inside the area.
// The boot request (bytes 3 and 4 both 0xEE, sum not checked) gets no reply and puts the model in boot mode.
// A report whose first byte is not report id 4 is not a vendor report of this interface and gets no reply.

#include "emulator/Frame.h"
#include "emulator/KeyboardMemory.h"

#include <cstdint>
#include <optional>
#include <span>

namespace ombrel::emu {

class KeyboardModel {
public:
    static constexpr std::uint8_t kStatusOk = 0x00;
    static constexpr std::uint8_t kStatusBadSum = 0xFE;
    static constexpr std::uint8_t kStatusRefused = 0xFF;
    static constexpr std::uint8_t kStatusNotKept = 0xFD;
    static constexpr std::uint8_t kBootCommand = 0xEE;

    KeyboardModel();

    // The reply to one received frame; none for a frame of another report or the boot request.
    std::optional<Frame> handleReport(std::span<const std::uint8_t, Frame::kSize> request);

    void resetToFactory();
    const KeyboardMemory& memory() const { return m_memory; }
    void setMemory(const KeyboardMemory& memory);

    // Direct access for the control interface; false when the range lies outside the area's storage.
    bool readArea(Area area, std::size_t offset, std::span<std::uint8_t> out) const;
    bool writeArea(Area area, std::size_t offset, std::span<const std::uint8_t> in);

    bool bootMode() const { return m_bootMode; }
    void leaveBootMode() { m_bootMode = false; }
    // Between a begin and an end command.
    bool inBracket() const { return m_inBracket; }
    // Memory changed since the last markSaved().
    bool hasUnsavedChanges() const { return m_unsaved; }
    void markSaved() { m_unsaved = false; }

private:
    enum class ReadSize { Length, WholeWindow };
    std::uint8_t execute(const Frame& request, Frame& reply);
    std::uint8_t readInto(Area area, const Frame& request, Frame& reply, ReadSize size) const;
    std::uint8_t writeFrom(Area area, const Frame& request);
    void store(std::span<std::uint8_t> target, std::span<const std::uint8_t> bytes);

    KeyboardMemory m_memory;
    bool m_bootMode = false;
    bool m_inBracket = false;
    bool m_unsaved = false;
};

} // namespace ombrel::emu
