#include "DeviceFixture.h"

#include "device/LinkResult.h"

namespace ombrel::test {
namespace {

using ExchangeTest = DeviceFixture;

int exchangeRead(ReportExchange& ex, std::uint8_t command, std::uint8_t* reply, std::size_t capacity = 64,
                 int* replyLength = nullptr) {
    Report request;
    request.setCommand(command);
    request.seal();
    int length = 0;
    const int r = ex.ExchangeReport(request.bytes.data(), 64, reply, capacity, &length);
    if (replyLength) *replyLength = length;
    return r;
}

TEST_F(ExchangeTest, RequestIsZeroPaddedOrCutToSixtyFourBytes) {
    std::uint8_t reply[64];
    int length = -1;
    const std::vector<std::uint8_t> shortRequest = {4, 0, 0, 3, 44};
    ASSERT_EQ(link->exchange().ExchangeReport(shortRequest.data(), shortRequest.size(), reply, 64, &length), LINK_OK);
    ASSERT_EQ(fake.sent.size(), 1u);
    EXPECT_EQ(fake.sent[0].bytes[4], 44);
    for (std::size_t i = 5; i < 64; ++i)
        EXPECT_EQ(fake.sent[0].bytes[i], 0) << i;
    EXPECT_EQ(length, 64);

    std::vector<std::uint8_t> longRequest(100, 0x11);
    longRequest[3] = 3;
    ASSERT_EQ(link->exchange().ExchangeReport(longRequest.data(), longRequest.size(), reply, 64, &length), LINK_OK);
    EXPECT_EQ(fake.sent[1].bytes[63], 0x11);
}

TEST_F(ExchangeTest, NoKeyboardSendsNothing) {
    fake.deviceCount = 0;
    std::uint8_t reply[64];
    int length = -1;
    EXPECT_EQ(exchangeRead(link->exchange(), 3, reply, 64, &length), LINK_NO_DEVICE);
    EXPECT_EQ(length, 0);
    EXPECT_TRUE(fake.sent.empty());
}

TEST_F(ExchangeTest, RefusedSendFailsAtOnce) {
    fake.sendResult = 0;
    std::uint8_t reply[64];
    EXPECT_EQ(exchangeRead(link->exchange(), 3, reply), LINK_SEND_FAILED);
    EXPECT_EQ(fake.sent.size(), 1u);
}

// How many replies of each kind come before a good one, and what the exchange makes of it.
struct RetryCase {
    const char* name;
    std::function<void(FakeService&, const Report&)> badAnswer;
    int badAnswers;
    int expectedResult;
    std::size_t expectedSends;
};

class ExchangeRetry : public DeviceFixture, public ::testing::WithParamInterface<RetryCase> {};

TEST_P(ExchangeRetry, CountsAttempts) {
    const RetryCase& c = GetParam();
    int answered = 0;
    fake.onRequest = [&](const Report& request) {
        if (answered++ < c.badAnswers)
            c.badAnswer(fake, request);
        else
            fake.answerFromMemory(request);
    };
    std::uint8_t reply[64];
    EXPECT_EQ(exchangeRead(link->exchange(), 3, reply), c.expectedResult);
    EXPECT_EQ(fake.sent.size(), c.expectedSends);
}

const auto silence = [](FakeService&, const Report&) {};
const auto otherCommand = [](FakeService& f, const Report& r) {
    Report wrong = f.replyTo(r);
    wrong.setCommand(static_cast<std::uint8_t>(r.command() + 1));
    wrong.seal(); // whole and well summed: only its command gives it away
    f.deliverReply(wrong);
};
const auto statusFF = [](FakeService& f, const Report& r) { f.deliverReply(f.replyTo(r, 0xFF)); };
// A bit of the data flipped on the way, the sum left as the keyboard stamped it.
const auto damaged = [](FakeService& f, const Report& r) {
    Report reply = f.replyTo(r);
    reply.payload()[0] ^= 0x01;
    f.deliverReply(reply);
};
// The data arrived whole, but the high byte of the sum did not: a check of the low byte alone misses it.
const auto damagedSumHighByte = [](FakeService& f, const Report& r) {
    Report reply = f.replyTo(r);
    reply.bytes[2] ^= 0x01;
    f.deliverReply(reply);
};
const auto cutShort = [](FakeService& f, const Report& r) {
    const Report full = f.replyTo(r);
    f.deliverReply(std::vector<std::uint8_t>(full.bytes.begin(), full.bytes.begin() + 5));
};

INSTANTIATE_TEST_SUITE_P(Replies, ExchangeRetry,
                         ::testing::Values(RetryCase{"silence_then_reply", silence, 2, LINK_OK, 3},
                                           RetryCase{"silence_three_times", silence, 3, LINK_NO_REPLY, 3},
                                           RetryCase{"other_command_then_reply", otherCommand, 1, LINK_OK, 2},
                                           RetryCase{"other_command_three_times", otherCommand, 3, LINK_NO_REPLY, 3},
                                           RetryCase{"refusal_then_success", statusFF, 2, LINK_OK, 3},
                                           RetryCase{"short_reply_three_times", cutShort, 3, LINK_NO_REPLY, 3},
                                           RetryCase{"damaged_then_reply", damaged, 1, LINK_OK, 2},
                                           RetryCase{"damaged_three_times", damaged, 3, LINK_NO_REPLY, 3},
                                           RetryCase{"sum_high_byte_then_reply", damagedSumHighByte, 1, LINK_OK, 2}),
                         [](const auto& paramInfo) { return std::string(paramInfo.param.name); });

// The keyboard is unplugged while a request waits for its reply: the exchange ends at once, without the retries a
// keyboard that is still there would get. A count drop while nothing waits changes no later exchange.
TEST_F(ExchangeTest, KeyboardGoneWhileWaitingEndsTheExchangeAtOnce) {
    fake.onRequest = [&](const Report&) {
        fake.deviceCount = 0;
        fake.deliverDeviceCount(0);
    };
    std::uint8_t reply[64];
    int length = -1;
    EXPECT_EQ(exchangeRead(link->exchange(), 3, reply, 64, &length), LINK_NO_DEVICE);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(fake.sent.size(), 1u);

    fake.onRequest = nullptr;
    fake.deviceCount = 1;
    fake.deliverDeviceCount(0);
    fake.onRequest = [&](const Report& r) { fake.deliverReply(fake.replyTo(r)); };
    EXPECT_EQ(exchangeRead(link->exchange(), 3, reply), LINK_OK);
    EXPECT_EQ(fake.sent.size(), 2u);
}

TEST_F(ExchangeTest, ThreeRefusalsHandBackTheReplyAndTheRoutineMapsIt) {
    fake.onRequest = [&](const Report& r) { fake.deliverReply(fake.replyTo(r, 0xFF)); };
    std::uint8_t reply[64];
    EXPECT_EQ(exchangeRead(link->exchange(), 3, reply), LINK_OK);
    EXPECT_EQ(reply[7], 0xFF);
    std::array<std::uint8_t, 44> config{};
    EXPECT_EQ(commands().ReadConfig(config), LINK_STATUS_FF);

    fake.onRequest = [&](const Report& r) { fake.deliverReply(fake.replyTo(r, 0xFE)); };
    EXPECT_EQ(commands().ReadConfig(config), LINK_STATUS_FE);
}

TEST_F(ExchangeTest, LateReplyIsTakenByTheNextAttempt) {
    // The first attempt's reply arrives only while the second attempt waits; the second request itself is lost.
    std::optional<Report> late;
    fake.onRequest = [&](const Report& r) {
        if (!late) {
            late = fake.replyTo(r);
            late->payload()[0] = 0xAB;
            late->seal();
        } else {
            fake.deliverReply(*late);
        }
    };
    std::uint8_t reply[64];
    EXPECT_EQ(exchangeRead(link->exchange(), 3, reply), LINK_OK);
    EXPECT_EQ(fake.sent.size(), 2u);
    EXPECT_EQ(reply[8], 0xAB);
}

TEST_F(ExchangeTest, ReplyLargerThanCapacityIsCut) {
    std::uint8_t reply[64] = {};
    int length = 0;
    EXPECT_EQ(exchangeRead(link->exchange(), 3, reply, 10, &length), LINK_OK);
    EXPECT_EQ(length, 10);
    EXPECT_EQ(reply[10], 0); // nothing written past the capacity
}

TEST_F(ExchangeTest, ReplyWhileIdleIsDroppedAndHarmless) {
    std::vector<TraceDirection> seen;
    link->exchange().SetTrace([&](TraceDirection d, std::span<const std::uint8_t>) { seen.push_back(d); });
    Report stray;
    stray.setCommand(3);
    stray.payload()[0] = 0x77;
    fake.deliverReply(stray);
    ASSERT_EQ(seen, std::vector<TraceDirection>{TraceDirection::Dropped});

    std::array<std::uint8_t, 44> config{};
    ASSERT_EQ(commands().ReadConfig(config), LINK_OK);
    EXPECT_EQ(config[0], 0); // the stray reply's data did not leak into the next exchange
}

TEST_F(ExchangeTest, NullDataRecordIsIgnored) {
    VevRequestRecord request{VEV_TAG_CTRL, 64, nullptr, nullptr};
    VevNotifyRecord record{VEV_NOTIFY_DATA, 0, &request};
    EXPECT_EQ(HidNotify(&record), 1);
    VevNotifyRecord orphan{VEV_NOTIFY_DATA, 0, nullptr};
    EXPECT_EQ(HidNotify(&orphan), 1);
    EXPECT_EQ(HidNotify(nullptr), 1);
}

TEST_F(ExchangeTest, OverlappingCallersEachGetTheirOwnReply) {
    // Two threads exchange at once; every reply carries the request's offset back, so a mix-up would show.
    fake.onRequest = [&](const Report& r) {
        Report reply = fake.replyTo(r);
        reply.payload()[0] = static_cast<std::uint8_t>(r.offset() & 0xFF);
        reply.seal();
        fake.deliverReply(reply);
    };
    std::atomic<int> mismatches{0};
    auto worker = [&](std::uint8_t tag) {
        for (int i = 0; i < 50; ++i) {
            Report request;
            request.setCommand(5);
            request.setOffset(tag);
            request.seal();
            std::uint8_t reply[64];
            int length = 0;
            if (link->exchange().ExchangeReport(request.bytes.data(), 64, reply, 64, &length) != LINK_OK ||
                reply[8] != tag)
                ++mismatches;
        }
    };
    std::thread a(worker, 0x11), b(worker, 0x22);
    a.join();
    b.join();
    EXPECT_EQ(mismatches.load(), 0);
}

} // namespace
} // namespace ombrel::test
