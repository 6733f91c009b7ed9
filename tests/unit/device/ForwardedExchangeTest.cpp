// An exchange handed to another side (the running program) instead of the service library.
#include "device/ReportExchange.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

using namespace ombrel;

namespace {

int g_libraryWrites = 0;

std::int32_t oneKeyboard(const std::uint8_t*, VevNotifyFn, std::uint32_t, std::uint32_t, std::uint32_t*) {
    return 1;
}
std::int32_t countWrite(const std::uint8_t*, VevNotifyFn, std::uint32_t, const std::uint8_t*, std::int32_t,
                        std::uint32_t, std::uint32_t*) {
    ++g_libraryWrites;
    return 1;
}

ServiceApi libraryThatCounts() {
    ServiceApi api;
    api.RequestGetDeviceCount = oneKeyboard;
    api.RequestWriteOne = countWrite;
    return api;
}

} // namespace

TEST(ForwardedExchange, TheOtherSideAnswersAndTheLibraryIsNeverAsked) {
    struct Case {
        const char* what;
        LinkResult result;
        std::vector<std::uint8_t> answer;
        int expectedLength;
    };
    const Case cases[] = {
        {"a reply", LINK_OK, std::vector<std::uint8_t>(64, 0xAB), 64},
        {"a reply longer than the caller's buffer is cut", LINK_OK, std::vector<std::uint8_t>(100, 0xCD), 64},
        {"no reply: the other side's result, no bytes", LINK_NO_REPLY, {}, 0},
        {"the keyboard went away over there", LINK_NO_DEVICE, {}, 0},
    };
    for (const Case& c : cases) {
        g_libraryWrites = 0;
        const ServiceApi api = libraryThatCounts();
        ReportExchange exchange(api);
        std::vector<std::uint8_t> seen;
        exchange.SetForwarder(
            [&](std::span<const std::uint8_t> request, std::uint8_t* reply, std::size_t capacity, int* length) {
                seen.assign(request.begin(), request.end());
                const std::size_t n = std::min(capacity, c.answer.size());
                std::copy_n(c.answer.begin(), n, reply);
                *length = static_cast<int>(c.answer.size()); // may claim more than fits: the exchange cuts it
                return c.result;
            });
        std::vector<TraceDirection> traced;
        exchange.SetTrace([&](TraceDirection d, std::span<const std::uint8_t>) { traced.push_back(d); });

        const std::uint8_t request[5] = {4, 0, 0, 3, 44};
        std::array<std::uint8_t, 64> reply{};
        int length = -1;
        EXPECT_EQ(exchange.ExchangeReport(request, sizeof request, reply.data(), reply.size(), &length), c.result)
            << c.what;
        EXPECT_EQ(length, c.expectedLength) << c.what;
        EXPECT_EQ(g_libraryWrites, 0) << c.what;
        ASSERT_EQ(seen.size(), 64u) << c.what << ": the request goes out padded to a whole report";
        EXPECT_EQ(seen[3], 3) << c.what;
        EXPECT_EQ(seen[63], 0) << c.what;
        ASSERT_FALSE(traced.empty()) << c.what;
        EXPECT_EQ(traced.front(), TraceDirection::Sent) << c.what;
        EXPECT_EQ(traced.size(), c.answer.empty() ? 1u : 2u) << c.what;
    }
}
