#include "device/Report.h"

#include <gtest/gtest.h>

namespace ombrel {
namespace {

TEST(Report, SumCoversBytesThreeToSixtyThreeOnly) {
    Report zero;
    zero.seal();
    EXPECT_EQ(zero.storedSum(), 0); // report id is not part of the sum

    Report begin;
    begin.setCommand(1);
    begin.seal();
    EXPECT_EQ(begin.bytes[1], 0x01);
    EXPECT_EQ(begin.bytes[2], 0x00);

    Report full;
    full.bytes.fill(0xFF);
    full.seal();
    EXPECT_EQ(full.storedSum(), (61 * 0xFF) & 0xFFFF); // bytes 1, 2 held 0xFF before sealing and do not count
    EXPECT_TRUE(full.sumMatches());
}

TEST(Report, FieldsAreLittleEndian) {
    Report r;
    r.setOffset(756);
    EXPECT_EQ(r.bytes[5], 0xF4);
    EXPECT_EQ(r.bytes[6], 0x02);
    EXPECT_EQ(r.offset(), 756);
    const std::uint8_t shortData[3] = {4, 9, 9};
    const Report cut = Report::fromBytes(shortData);
    EXPECT_EQ(cut.bytes[2], 9);
    EXPECT_EQ(cut.bytes[3], 0); // missing bytes read as zero
}

} // namespace
} // namespace ombrel
