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

// The value of a well-formed message whose tag is one of `known`, or nullopt.
template <typename Tag, std::size_t N>
std::optional<Tag> parse(const std::uint8_t* data, std::size_t size, const Tag (&known)[N]) {
    if (!data || size != kInstanceMessageSize || getLe32(data) != kInstanceMarker) return std::nullopt;
    const std::uint32_t tag = getLe32(data + 4);
    for (Tag candidate : known)
        if (static_cast<std::uint32_t>(candidate) == tag) return candidate;
    return std::nullopt;
}

constexpr InstanceRequest kRequests[] = {InstanceRequest::Open, InstanceRequest::Kill, InstanceRequest::KillForced};
constexpr InstanceReply kReplies[] = {InstanceReply::Done, InstanceReply::Refused, InstanceReply::Asking};

} // namespace

InstanceMessage EncodeInstanceRequest(InstanceRequest request) {
    return encode(static_cast<std::uint32_t>(request));
}
InstanceMessage EncodeInstanceReply(InstanceReply reply) {
    return encode(static_cast<std::uint32_t>(reply));
}

std::optional<InstanceRequest> ParseInstanceRequest(const std::uint8_t* data, std::size_t size) {
    return parse(data, size, kRequests);
}

std::optional<InstanceReply> ParseInstanceReply(const std::uint8_t* data, std::size_t size) {
    return parse(data, size, kReplies);
}

} // namespace ombrel
