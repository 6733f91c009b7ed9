#include "platform/InstanceMessage.h"

#include <gtest/gtest.h>

#include <vector>

namespace ombrel::test {
namespace {

TEST(InstanceMessage, RequestsAndRepliesRoundTrip) {
    for (InstanceRequest request : {InstanceRequest::Open, InstanceRequest::Kill, InstanceRequest::KillForced}) {
        const InstanceMessage bytes = EncodeInstanceRequest(request);
        EXPECT_EQ(ParseInstanceRequest(bytes.data(), bytes.size()), request);
        EXPECT_FALSE(ParseInstanceReply(bytes.data(), bytes.size())); // a request is no answer
    }
    for (InstanceReply reply : {InstanceReply::Done, InstanceReply::Refused, InstanceReply::Asking}) {
        const InstanceMessage bytes = EncodeInstanceReply(reply);
        EXPECT_EQ(ParseInstanceReply(bytes.data(), bytes.size()), reply);
        EXPECT_FALSE(ParseInstanceRequest(bytes.data(), bytes.size()));
    }
    // The layout other tools may rely on: marker then tag, little-endian.
    const InstanceMessage open = EncodeInstanceRequest(InstanceRequest::Open);
    EXPECT_EQ(std::vector<std::uint8_t>(open.begin(), open.end()),
              (std::vector<std::uint8_t>{0x4E, 0x49, 0x41, 0x4D, 0x4E, 0x45, 0x50, 0x4F}));
}

TEST(InstanceMessage, AnythingElseIsRefused) {
    const InstanceMessage kill = EncodeInstanceRequest(InstanceRequest::Kill);
    std::vector<std::vector<std::uint8_t>> refused = {
        {},
        std::vector<std::uint8_t>(kill.begin(), kill.end() - 1), // short
        {'o', 'p', 'e', 'n', '\n'},
    };
    std::vector<std::uint8_t> longer(kill.begin(), kill.end());
    longer.push_back(0);
    refused.push_back(longer);
    std::vector<std::uint8_t> badMarker(kill.begin(), kill.end());
    badMarker[0] ^= 1;
    refused.push_back(badMarker);
    std::vector<std::uint8_t> unknownTag(kill.begin(), kill.end());
    unknownTag[7] = 0;
    refused.push_back(unknownTag);
    for (const auto& bytes : refused) {
        EXPECT_FALSE(ParseInstanceRequest(bytes.data(), bytes.size())) << ::testing::PrintToString(bytes);
        EXPECT_FALSE(ParseInstanceReply(bytes.data(), bytes.size()));
    }
    EXPECT_FALSE(ParseInstanceRequest(nullptr, kInstanceMessageSize));
}

} // namespace
} // namespace ombrel::test
