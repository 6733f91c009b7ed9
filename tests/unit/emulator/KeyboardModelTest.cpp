#include "emulator/KeyboardModel.h"
#include "device/Report.h"
#include "emulator/FactoryMemory.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

namespace ombrel::emu {
namespace {

Report request(std::uint8_t command, std::uint8_t length, std::uint16_t offset, std::uint8_t fill = 0) {
    Report r;
    r.setCommand(command);
    r.setLength(length);
    r.setOffset(offset);
    for (std::size_t i = 0; i < std::min<std::size_t>(length, Report::kPayloadSize); ++i)
        r.payload()[i] = static_cast<std::uint8_t>(fill + i);
    r.seal();
    return r;
}

std::optional<Frame> send(KeyboardModel& model, const Report& r) {
    return model.handleReport(std::span<const std::uint8_t, Report::kSize>(r.bytes));
}

struct StatusCase {
    std::string name;
    std::uint8_t command;
    std::uint8_t length;
    std::uint16_t offset;
    std::uint8_t status;
};

class KeyboardModelStatus : public testing::TestWithParam<StatusCase> {};

// Every request gets a reply that repeats its header and is summed; refused requests change nothing.
TEST_P(KeyboardModelStatus, AnswersWithTheExpectedStatus) {
    const StatusCase& c = GetParam();
    KeyboardModel model;
    const KeyboardMemory before = model.memory();
    const Report req = request(c.command, c.length, c.offset, 0xA0);
    const auto reply = send(model, req);
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(reply->bytes[0], Report::kReportId);
    EXPECT_EQ(reply->command(), c.command);
    EXPECT_EQ(reply->length(), c.length);
    EXPECT_EQ(reply->offset(), c.offset);
    EXPECT_EQ(reply->status(), c.status);
    EXPECT_TRUE(reply->checksumOk());
    if (c.status != KeyboardModel::kStatusOk) {
        EXPECT_TRUE(model.memory() == before) << "a refused request changed memory";
        for (std::uint8_t b : reply->payload())
            EXPECT_EQ(b, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Commands, KeyboardModelStatus,
    testing::Values(
        StatusCase{"Begin", 1, 0, 0, 0x00}, StatusCase{"End", 2, 0, 0, 0x00}, StatusCase{"ReadConfig", 3, 44, 0, 0x00},
        StatusCase{"ReadConfigPastEnd", 3, 44, 1, 0xFF}, StatusCase{"WriteConfig", 4, 44, 0, 0x00},
        StatusCase{"WriteConfigPastEnd", 4, 2, 43, 0xFF}, StatusCase{"ReadLightingLastProfileWindow", 5, 56, 84, 0x00},
        StatusCase{"ReadLightingOutside", 5, 1, 126, 0xFF}, StatusCase{"WriteLightingBlockHead", 6, 35, 84, 0x00},
        StatusCase{"WriteLightingPastEnd", 6, 43, 84, 0xFF}, StatusCase{"ReadKeymapLastChunk", 7, 42, 1092, 0x00},
        StatusCase{"ReadKeymapPastEnd", 7, 43, 1092, 0xFF}, StatusCase{"WriteKeymapLastChunk", 8, 42, 1092, 0x00},
        StatusCase{"ReadMacrosLastByte", 9, 1, 8191, 0x00}, StatusCase{"WriteMacrosPastCapacity", 10, 1, 8192, 0xFF},
        StatusCase{"ReadDefaultKeymapLastChunk", 15, 42, 336, 0x00},
        StatusCase{"ReadDefaultKeymapPastEnd", 15, 56, 336, 0xFF},
        StatusCase{"WriteKeyColorsLastSlot", 17, 3, 1533, 0x00}, StatusCase{"WriteKeyColorsPastEnd", 17, 3, 1534, 0xFF},
        StatusCase{"LengthAbove56", 6, 57, 0, 0xFF}, StatusCase{"CommandZero", 0, 0, 0, 0xFF},
        StatusCase{"DefaultBlockIsReadOnly", 16, 3, 0, 0xFF}, StatusCase{"NoKeyColorRead", 18, 3, 0, 0xFF}),
    [](const testing::TestParamInfo<StatusCase>& p) { return p.param.name; });

TEST(KeyboardModel, RefusesABadSumWithFeAndChangesNothing) {
    // Either byte of the sum wrong, or both: a keyboard that looked at one byte only would take the others.
    const std::pair<std::uint8_t, std::uint8_t> flips[] = {{0x01, 0x00}, {0x00, 0x01}, {0x00, 0x80}, {0x01, 0x01}};
    for (const auto& [low, high] : flips) {
        SCOPED_TRACE("low ^ " + std::to_string(low) + ", high ^ " + std::to_string(high));
        KeyboardModel model;
        const KeyboardMemory before = model.memory();
        Report req = request(4, 44, 0, 0x10);
        req.bytes[1] ^= low;
        req.bytes[2] ^= high;
        const auto reply = send(model, req);
        ASSERT_TRUE(reply);
        EXPECT_EQ(reply->status(), KeyboardModel::kStatusBadSum);
        EXPECT_TRUE(reply->checksumOk());
        EXPECT_TRUE(model.memory() == before);
    }
}

// Frames written byte by byte from the layout, without the program's framing code: the keyboard takes the report
// id, the sum of bytes 3..63 low byte first, and the offset low byte first, and frames its reply the same way.
TEST(KeyboardModel, AnswersFramesBuiltByHandFromTheByteLayout) {
    KeyboardModel model;
    std::array<std::uint8_t, 64> read{};
    read[0] = 0x04; // report id
    read[3] = 0x03; // read the configuration block
    read[4] = 0x02; // two bytes
    read[5] = 0x08; // from offset 8: the firmware version
    read[1] = 0x0D; // 3 + 2 + 8
    std::array<std::uint8_t, 2> version{};
    ASSERT_TRUE(model.readArea(Area::Config, 8, version));
    auto reply = model.handleReport(read);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->bytes[0], 0x04);
    EXPECT_EQ(std::vector<std::uint8_t>(reply->bytes.begin() + 3, reply->bytes.begin() + 8),
              (std::vector<std::uint8_t>{0x03, 0x02, 0x08, 0x00, 0x00}));
    EXPECT_EQ(reply->bytes[8], version[0]);
    EXPECT_EQ(reply->bytes[9], version[1]);
    const unsigned replySum = 0x03 + 0x02 + 0x08 + version[0] + version[1];
    EXPECT_EQ(reply->bytes[1], replySum & 0xFF);
    EXPECT_EQ(reply->bytes[2], replySum >> 8);

    // 56 bytes of 0xFF to the macro memory at offset 0x0100: the sum needs its high byte.
    std::array<std::uint8_t, 64> write{};
    write[0] = 0x04;
    write[3] = 0x0A; // write macro memory
    write[4] = 0x38; // 56 bytes
    write[5] = 0x00;
    write[6] = 0x01; // offset 0x0100
    std::fill(write.begin() + 8, write.end(), 0xFF);
    write[1] = 0x0B; // 10 + 56 + 1 + 56 * 255 = 0x380B
    write[2] = 0x38;
    reply = model.handleReport(write);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->bytes[7], 0x00);
    EXPECT_EQ(reply->bytes[1], 0x43); // 10 + 56 + 1: the reply carries no data
    EXPECT_EQ(reply->bytes[2], 0x00);
    std::array<std::uint8_t, 58> macros{};
    ASSERT_TRUE(model.readArea(Area::Macros, 255, macros));
    EXPECT_EQ(macros.front(), 0x00) << "written before the offset";
    EXPECT_EQ(macros[1], 0xFF);
    EXPECT_EQ(macros[56], 0xFF);
    EXPECT_EQ(macros.back(), 0x00) << "written past the length";

    // Other data with the sum's bytes swapped (high byte first) is refused with 0xFE and changes nothing.
    const KeyboardMemory before = model.memory();
    std::fill(write.begin() + 8, write.end(), 0xEE);
    write[1] = 0x34; // 10 + 56 + 1 + 56 * 238 = 0x3453
    write[2] = 0x53;
    reply = model.handleReport(write);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->bytes[7], 0xFE);
    EXPECT_TRUE(model.memory() == before);
    // Another report id is not the vendor interface's: no reply at all.
    write[0] = 0x05;
    EXPECT_FALSE(model.handleReport(write));
}

struct RoundTripCase {
    std::string name;
    std::uint8_t write;
    std::uint8_t read;
    std::uint16_t offset;
    std::uint8_t length;
};

class KeyboardModelRoundTrip : public testing::TestWithParam<RoundTripCase> {};

TEST_P(KeyboardModelRoundTrip, ReadsBackWhatWasWritten) {
    const RoundTripCase& c = GetParam();
    KeyboardModel model;
    const auto written = send(model, request(c.write, c.length, c.offset, 0x40));
    ASSERT_TRUE(written);
    ASSERT_EQ(written->status(), 0);
    const auto read = send(model, request(c.read, c.length, c.offset));
    ASSERT_TRUE(read);
    ASSERT_EQ(read->status(), 0);
    for (std::size_t i = 0; i < c.length; ++i)
        EXPECT_EQ(read->payload()[i], 0x40 + i) << "byte " << i;
}

INSTANTIATE_TEST_SUITE_P(Areas, KeyboardModelRoundTrip,
                         testing::Values(RoundTripCase{"Config", 4, 3, 0, 44}, RoundTripCase{"Lighting", 6, 5, 42, 42},
                                         RoundTripCase{"KeymapProfile2", 8, 7, 756, 56},
                                         RoundTripCase{"Macros", 10, 9, 56, 56}),
                         [](const testing::TestParamInfo<RoundTripCase>& p) { return p.param.name; });

TEST(KeyboardModel, LightingReadFillsTheWholeWindowWithZerosPastTheArea) {
    KeyboardModel model;
    std::vector<std::uint8_t> block(42);
    std::iota(block.begin(), block.end(), std::uint8_t{1});
    ASSERT_TRUE(model.writeArea(Area::Lighting, 84, block));
    const auto reply = send(model, request(5, 1, 84));
    ASSERT_TRUE(reply);
    ASSERT_EQ(reply->status(), 0);
    for (std::size_t i = 0; i < 56; ++i)
        EXPECT_EQ(reply->payload()[i], i < 42 ? i + 1 : 0) << "byte " << i;
}

TEST(KeyboardModel, KeyColorWritesLandAtSlotAndProfile) {
    KeyboardModel model;
    Report req = request(17, 3, 18 * 3 + 512);
    req.payload()[0] = 1;
    req.payload()[1] = 2;
    req.payload()[2] = 3;
    req.seal();
    ASSERT_EQ(send(model, req)->status(), 0);
    std::array<std::uint8_t, 3> rgb{};
    ASSERT_TRUE(model.readArea(Area::KeyColors, 566, rgb));
    EXPECT_EQ(rgb, (std::array<std::uint8_t, 3>{1, 2, 3}));
}

TEST(KeyboardModel, MacroMemoryFollowsTheMacroUnitsOfTheConfiguration) {
    KeyboardModel model;
    Report config = request(3, 44, 0);
    auto current = send(model, config);
    Report write = request(4, 44, 0);
    std::copy_n(current->payload().begin(), 44, write.payload().begin());
    write.payload()[11] = 1; // 128 bytes of macro memory
    write.seal();
    ASSERT_EQ(send(model, write)->status(), 0);
    EXPECT_EQ(send(model, request(10, 1, 127))->status(), 0);
    EXPECT_EQ(send(model, request(10, 1, 128))->status(), 0xFF);
}

TEST(KeyboardModel, BootRequestGetsNoReplyAndEntersBootMode) {
    KeyboardModel model;
    Report boot;
    boot.bytes[3] = 0xEE;
    boot.bytes[4] = 0xEE; // sent without a sum
    EXPECT_FALSE(send(model, boot).has_value());
    EXPECT_TRUE(model.bootMode());
}

TEST(KeyboardModel, IgnoresReportsWithAnotherReportId) {
    KeyboardModel model;
    Report r = request(3, 44, 0);
    r.bytes[0] = 5;
    EXPECT_FALSE(send(model, r).has_value());
}

TEST(KeyboardModel, TracksChangesAndTheWriteBracket) {
    KeyboardModel model;
    EXPECT_FALSE(model.hasUnsavedChanges());
    send(model, request(6, 1, 0, 1)); // effect 1 again: the same value changes nothing
    EXPECT_FALSE(model.hasUnsavedChanges());
    send(model, request(1, 0, 0));
    EXPECT_TRUE(model.inBracket());
    send(model, request(6, 1, 0, 9));
    EXPECT_TRUE(model.hasUnsavedChanges());
    send(model, request(2, 0, 0));
    EXPECT_FALSE(model.inBracket());
    model.markSaved();
    EXPECT_FALSE(model.hasUnsavedChanges());
}

} // namespace
} // namespace ombrel::emu
