#include "DeviceFixture.h"

#include "device/LinkResult.h"

#include <numeric>
#include <optional>

namespace ombrel::test {
namespace {

using CommandsTest = DeviceFixture;

std::vector<std::pair<int, int>> offsetsAndLengths(const std::vector<Report>& sent) {
    std::vector<std::pair<int, int>> out;
    for (const Report& r : sent)
        out.emplace_back(r.offset(), r.length());
    return out;
}

TEST_F(CommandsTest, KeymapOfProfileTwoGoesAsSevenChunks) {
    std::iota(fake.memory[7].begin(), fake.memory[7].end(), 0);
    std::array<std::uint8_t, 378> block{};
    ASSERT_EQ(commands().ReadKeymap(block, 2), LINK_OK);
    const std::vector<std::pair<int, int>> expected = {{756, 56}, {812, 56},  {868, 56}, {924, 56},
                                                       {980, 56}, {1036, 56}, {1092, 42}};
    EXPECT_EQ(offsetsAndLengths(fake.sent), expected);
    EXPECT_EQ(fake.sent[0].bytes[5], 0xF4);
    EXPECT_EQ(fake.sent[0].bytes[6], 0x02);
    for (std::size_t i = 0; i < block.size(); ++i)
        ASSERT_EQ(block[i], static_cast<std::uint8_t>(756 + i)) << i;
    for (const Report& r : fake.sent)
        EXPECT_TRUE(r.sumMatches());
}

TEST_F(CommandsTest, BadProfileSendsNothing) {
    std::array<std::uint8_t, 378> block{};
    EXPECT_EQ(commands().ReadKeymap(block, 3), LINK_BAD_PROFILE);
    EXPECT_EQ(commands().WriteKeymap(block, 3), LINK_BAD_PROFILE);
    EXPECT_EQ(commands().ReadKeymap(block, -1), LINK_BAD_PROFILE);
    EXPECT_TRUE(fake.sent.empty());
}

TEST_F(CommandsTest, MacroWritesChunkAndReuseTheRequest) {
    EXPECT_EQ(commands().WriteMacros({}), LINK_OK);
    EXPECT_TRUE(fake.sent.empty());

    std::vector<std::uint8_t> image(57);
    std::iota(image.begin(), image.end(), 1);
    ASSERT_EQ(commands().WriteMacros(image), LINK_OK);
    EXPECT_EQ(offsetsAndLengths(fake.sent), (std::vector<std::pair<int, int>>{{0, 56}, {56, 1}}));
    // The last chunk carries byte 57 and, past its length, the previous chunk's bytes (covered by the sum).
    EXPECT_EQ(fake.sent[1].payload()[0], 57);
    EXPECT_EQ(fake.sent[1].payload()[1], 2);
    EXPECT_TRUE(fake.sent[1].sumMatches());
    EXPECT_EQ(fake.memory[9][56], 57);

    std::vector<std::uint8_t> tooLarge(65537);
    EXPECT_EQ(commands().WriteMacros(tooLarge), LINK_BAD_ARGUMENT); // offsets would wrap around
}

TEST_F(CommandsTest, FailingFourthChunkKeepsWhatWasRead) {
    std::fill(fake.memory[7].begin(), fake.memory[7].end(), 0x5A);
    fake.onRequest = [&](const Report& r) {
        if (fake.sent.size() < 4)
            fake.answerFromMemory(r);
        else
            fake.deliverReply(fake.replyTo(r, 0xFF));
    };
    std::array<std::uint8_t, 378> block{};
    EXPECT_EQ(commands().ReadKeymap(block, 0), LINK_STATUS_FF);
    for (std::size_t i = 0; i < 168; ++i)
        ASSERT_EQ(block[i], 0x5A) << i;
    for (std::size_t i = 168; i < block.size(); ++i)
        ASSERT_EQ(block[i], 0) << i;
}

TEST_F(CommandsTest, AddressesOfTheSmallAreas) {
    std::array<std::uint8_t, 3> colour = {1, 2, 3};
    ASSERT_EQ(commands().WriteKeyColors(colour, 3, 18, 1), LINK_OK);
    EXPECT_EQ(fake.sent.back().offset(), 566);
    EXPECT_EQ(fake.sent.back().command(), CMD_WRITE_KEYCOLORS);

    std::array<std::uint8_t, 56> lighting{};
    ASSERT_EQ(commands().ReadLighting(lighting, 56, 84), LINK_OK);
    EXPECT_EQ(fake.sent.back().offset(), 84);
    EXPECT_EQ(commands().ReadLighting(lighting, 57, 0), LINK_BAD_ARGUMENT);
    std::array<std::uint8_t, 1> field = {9};
    ASSERT_EQ(commands().WriteLighting(field, 1, 42 + 3), LINK_OK);
    EXPECT_EQ(fake.sent.back().length(), 1);
    EXPECT_EQ(fake.memory[5][45], 9);
}

TEST_F(CommandsTest, BootRequestIsBareAndUnanswered) {
    fake.onRequest = [](const Report&) {}; // the keyboard leaves without answering
    EXPECT_EQ(commands().EnterBoot(), 1);
    ASSERT_EQ(fake.sent.size(), 1u);
    const auto& b = fake.sent[0].bytes;
    for (std::size_t i = 0; i < 64; ++i) {
        const std::uint8_t expected = i == 0 ? 4 : (i == 3 || i == 4) ? 0xEE : 0;
        ASSERT_EQ(b[i], expected) << i;
    }
}

TEST_F(CommandsTest, BracketIsClosedEvenWhenTheBodyFails) {
    const int result = commands().Bracketed([&] {
        std::array<std::uint8_t, 378> block{};
        return commands().WriteKeymap(block, 7);
    });
    EXPECT_EQ(result, LINK_BAD_PROFILE);
    ASSERT_EQ(fake.sent.size(), 2u);
    EXPECT_EQ(fake.sent[0].command(), CMD_BEGIN);
    EXPECT_EQ(fake.sent[1].command(), CMD_END);
}

// The first chunk's first attempt is answered only after its retry was: that late reply reaches the exchange of
// the second chunk, same command, other address, other data. Taken for the second chunk's, it would put the first
// chunk's bytes in its place and call the read a success.
TEST_F(CommandsTest, ALateReplyToTheLastChunkIsNotTakenForTheNext) {
    std::iota(fake.memory[7].begin(), fake.memory[7].end(), 0);
    std::optional<Report> late;
    int requests = 0;
    fake.onRequest = [&](const Report& r) {
        ++requests;
        if (requests == 1) {
            late = fake.replyTo(r); // held back past the time-out
            return;
        }
        if (requests == 3) fake.deliverReply(*late); // arrives as the second chunk goes out
        fake.answerFromMemory(r);
    };
    std::array<std::uint8_t, 378> block{};
    ASSERT_EQ(commands().ReadKeymap(block, 0), LINK_OK);
    for (std::size_t i = 0; i < block.size(); ++i)
        ASSERT_EQ(block[i], static_cast<std::uint8_t>(i)) << i;
}

TEST_F(CommandsTest, ShortReplyToARead) {
    fake.onRequest = [&](const Report& r) {
        const Report full = fake.replyTo(r);
        fake.deliverReply(std::vector<std::uint8_t>(full.bytes.begin(), full.bytes.begin() + 20));
    };
    std::array<std::uint8_t, 44> config{};
    EXPECT_EQ(commands().ReadConfig(config), LINK_SHORT_REPLY);
}

} // namespace
} // namespace ombrel::test
