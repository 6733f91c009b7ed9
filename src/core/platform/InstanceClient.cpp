#include "platform/InstanceClient.h"

#include <sys/socket.h>

#include <cerrno>

namespace ombrel {

DeliveryResult SendInstanceRequest(const std::string& socketPath, InstanceRequest request, Deadline deadline,
                                   uid_t expectedUid) {
    const auto address = LocalAddress::forPath(socketPath);
    if (!address) return DeliveryResult::Failed;
    UniqueFd socket = NewLocalSocket();
    if (!socket.valid()) return DeliveryResult::Failed;
    int result;
    do {
        result = ::connect(socket.get(), address->get(), address->size());
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        // No file, no listener, or a listener whose queue is full: the instance may be starting or busy.
        if (errno == ENOENT || errno == ECONNREFUSED || errno == EAGAIN) return DeliveryResult::NotListening;
        return DeliveryResult::Failed;
    }
    const auto peer = PeerUid(socket.get());
    if (!peer || *peer != expectedUid) return DeliveryResult::ForeignOwner;

    const InstanceMessage message = EncodeInstanceRequest(request);
    if (!WriteExactly(socket.get(), message.data(), message.size(), deadline)) return DeliveryResult::NoAnswer;
    InstanceMessage answer{};
    if (!ReadExactly(socket.get(), answer.data(), answer.size(), deadline)) return DeliveryResult::NoAnswer;
    const auto reply = ParseInstanceReply(answer.data(), answer.size());
    if (!reply) return DeliveryResult::Failed;
    switch (*reply) {
    case InstanceReply::Done:
        return DeliveryResult::Delivered;
    case InstanceReply::Asking:
        return DeliveryResult::Asking;
    case InstanceReply::Refused:
        break;
    }
    return DeliveryResult::Refused;
}

const char* DeliveryResultName(DeliveryResult result) {
    switch (result) {
    case DeliveryResult::Delivered:
        return "delivered";
    case DeliveryResult::Asking:
        return "asking in its window";
    case DeliveryResult::Refused:
        return "refused";
    case DeliveryResult::NotListening:
        return "not listening";
    case DeliveryResult::NoAnswer:
        return "no answer";
    case DeliveryResult::ForeignOwner:
        return "served by another user";
    case DeliveryResult::Failed:
        return "failed";
    }
    return "unknown";
}

} // namespace ombrel
