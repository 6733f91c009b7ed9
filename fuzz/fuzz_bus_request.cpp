// The request reports another process hands the program over the session bus to send to the keyboard.
#include "device/ForwardedRequest.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto check = ombrel::CheckForwardedRequest(std::span<const std::uint8_t>(data, size));
    if (check.allowed != check.problem.empty()) std::abort(); // a refusal always says why
    if (check.allowed) {
        if (size < 5 || size > 64 || data[4] > 56) std::abort();
        if (data[3] == 0xEE) std::abort(); // the boot request never passes
    } else if (check.writes) {
        std::abort(); // a refused request changes nothing
    }
    return 0;
}
