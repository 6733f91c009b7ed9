// The messages one instance of the program receives from another over its local socket.
#include "platform/InstanceMessage.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto request = ombrel::ParseInstanceRequest(data, size);
    const auto reply = ombrel::ParseInstanceReply(data, size);
    if (request && reply) std::abort(); // no message is both
    if (request) {
        const auto again = ombrel::EncodeInstanceRequest(*request);
        if (size != again.size() || !std::equal(again.begin(), again.end(), data)) std::abort();
    }
    if (reply) {
        const auto again = ombrel::EncodeInstanceReply(*reply);
        if (size != again.size() || !std::equal(again.begin(), again.end(), data)) std::abort();
    }
    return 0;
}
