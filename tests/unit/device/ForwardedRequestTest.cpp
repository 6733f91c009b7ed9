#include "device/ForwardedRequest.h"

#include <gtest/gtest.h>

#include <vector>

using namespace ombrel;

namespace {

std::vector<std::uint8_t> request(std::uint8_t command, std::uint8_t length, std::size_t size = 64) {
    std::vector<std::uint8_t> bytes(size, 0);
    if (size > 3) bytes[3] = command;
    if (size > 4) bytes[4] = length;
    return bytes;
}

} // namespace

TEST(ForwardedRequest, PassesWhatTheCommandRoutinesSendAndNothingElse) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        bool allowed;
        bool writes;
    };
    const Case cases[] = {
        {"read the configuration", request(3, 44), true, false},
        {"begin", request(1, 0), true, false},
        {"read a key-function chunk", request(7, 56), true, false},
        {"write a key-function chunk", request(8, 56), true, true},
        {"write the configuration", request(4, 44), true, true},
        {"per-key colours", request(17, 56), true, true},
        {"end of a write sequence", request(2, 0), true, true},
        {"the boot request", request(0xEE, 0), false, false},
        {"an unknown command", request(0x42, 0), false, false},
        {"more payload than a report carries", request(8, 57), false, false},
        {"too short to name a command", request(3, 0, 4), false, false},
        {"longer than a report", request(3, 44, 65), false, false},
        {"nothing at all", {}, false, false},
    };
    for (const Case& c : cases) {
        const ForwardedRequestCheck check = CheckForwardedRequest(c.bytes);
        EXPECT_EQ(check.allowed, c.allowed) << c.what;
        EXPECT_EQ(check.writes, c.writes) << c.what;
        EXPECT_EQ(check.problem.empty(), c.allowed) << c.what << ": " << check.problem;
    }
}
