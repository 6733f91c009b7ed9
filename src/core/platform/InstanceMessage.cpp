#include "platform/InstanceMessage.h"

#include "util/Bytes.h"

namespace ombrel {

namespace {

InstanceMessage encode(std::uint32_t tag) {
    InstanceMessage message{};
    putLe32(message.data(), kInstanceMarker);
    putLe32(message.data() + 4, tag);
    return message;
}

// The tag of a well-formed message, or nullopt.
std::optional<std::uint32_t> tagOf(const std::uint8_t* data, std::size_t size) {
    if (!data || size != kInstanceMessageSize || getLe32(data) != kInstanceMarker) return std::nullopt;
    return getLe32(data + 4);
}

} // namespace

InstanceMessage EncodeInstanceRequest(InstanceRequest request) {
    return encode(static_cast<std::uint32_t>(request));
}
InstanceMessage EncodeInstanceReply(InstanceReply reply) {
    return encode(static_cast<std::uint32_t>(reply));
}

std::optional<InstanceRequest> ParseInstanceRequest(const std::uint8_t* data, std::size_t size) {
    const auto tag = tagOf(data, size);
    if (!tag) return std::nullopt;
    switch (static_cast<InstanceRequest>(*tag)) {
    case InstanceRequest::Open:
    case InstanceRequest::Kill:
        return static_cast<InstanceRequest>(*tag);
    }
    return std::nullopt;
}

std::optional<InstanceReply> ParseInstanceReply(const std::uint8_t* data, std::size_t size) {
    const auto tag = tagOf(data, size);
    if (!tag) return std::nullopt;
    switch (static_cast<InstanceReply>(*tag)) {
    case InstanceReply::Done:
    case InstanceReply::Refused:
        return static_cast<InstanceReply>(*tag);
    }
    return std::nullopt;
}

} // namespace ombrel
