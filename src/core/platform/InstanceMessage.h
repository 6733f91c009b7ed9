#pragma once
// The requests a later start sends to the running instance, and the running instance's answer. Each message
// is exactly eight bytes: the marker 0x4D41494E that identifies the main window of this program, then the
// request's tag (the same tags the main window checks on its own events), both little-endian. Anything else is
// refused: a wrong length, a wrong marker or an unknown tag.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace ombrel {

inline constexpr std::uint32_t kInstanceMarker = 0x4D41494E;
inline constexpr std::size_t kInstanceMessageSize = 8;

enum class InstanceRequest : std::uint32_t {
    Open = 0x4F50454E,       // show the main window
    Kill = 0x4C4C494B,       // end the program, asking first about unapplied edits
    KillForced = 0x4C4B4652, // end the program without asking ("/Kill --force")
};

enum class InstanceReply : std::uint32_t {
    Done = 0x444F4E45,    // the request was handled
    Refused = 0x52465344, // the request was not understood or no handler was installed
    // An end request was taken, but the program first asks in its window about unapplied edits. A start from before
    // this answer existed reads it as a failed delivery, and said nothing about either.
    Asking = 0x4B534B41,
};

using InstanceMessage = std::array<std::uint8_t, kInstanceMessageSize>;

InstanceMessage EncodeInstanceRequest(InstanceRequest request);
InstanceMessage EncodeInstanceReply(InstanceReply reply);

std::optional<InstanceRequest> ParseInstanceRequest(const std::uint8_t* data, std::size_t size);
std::optional<InstanceReply> ParseInstanceReply(const std::uint8_t* data, std::size_t size);

} // namespace ombrel
