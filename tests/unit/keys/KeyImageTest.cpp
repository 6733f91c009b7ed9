// Key records, the key image and the string table: byte layout, initial G-key tags, string slots and packing.
#include "keys/KeyImage.h"
#include "keys/KeyStringTable.h"

#include <gtest/gtest.h>

namespace ombrel::test {
namespace {

TEST(KeyImageTest, RecordsLieWhereTheFormatPutsThemLittleEndian) {
    KeyImage image;
    const int n = RecordNumber(2, 0x3A); // Caps Lock in profile 2
    image.setRecord(n, {KF_MACRO, 0x0102, 0x03040506, 1, 0});
    const std::size_t at = 64 + 16 * (1024 + 0x3A);
    const std::uint8_t expected[16] = {4, 0, 0x02, 0x01, 0x06, 0x05, 0x04, 0x03, 1, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_TRUE(std::equal(std::begin(expected), std::end(expected), image.bytes().begin() + at));
    EXPECT_EQ(image.record(n), (KeyRecord{KF_MACRO, 0x0102, 0x03040506, 1, 0}));
    // Nothing else changed, and numbers outside the image are ignored.
    image.setRecord(-1, {KF_KEY});
    image.setRecord(kKeyRecordCount, {KF_KEY});
    EXPECT_EQ(std::count(image.bytes().begin(), image.bytes().end(), 0), static_cast<long>(kKeyImageSize - 8));
    EXPECT_EQ(image.record(kKeyRecordCount), KeyRecord{});
}

TEST(KeyImageTest, InitTagsTheGKeysOfLayerZeroOnly) {
    KeyImage image;
    image.setRecord(5, {KF_DISABLED});
    InitKeyImage(image);
    EXPECT_EQ(image.record(5), KeyRecord{});
    for (int m = 0; m < kGKeySlots; ++m) {
        const std::uint16_t tag = m < 9 ? 0x0301 + m : 0x1301 + (m - 9);
        EXPECT_EQ(image.record(256 + m).extra, tag) << m;
        EXPECT_EQ(image.record(256 + m).type, KF_DEFAULT);
        EXPECT_EQ(image.record(RecordNumber(1, 256 + m)).extra, 0) << m;
    }
    ResetLayer(image, 2);
    EXPECT_EQ(image.record(RecordNumber(2, 273)).extra, 0x1309);
}

TEST(KeyStringTableTest, SlotsCountTheirBytesWithTheTerminatingZero) {
    KeyStringTable t;
    t.set(3, u"abc");
    t.set(1027, u"");
    EXPECT_EQ(t.byteSize(3), 8u);
    EXPECT_EQ(t.byteSize(1027), 2u); // an empty string still has its zero
    EXPECT_FALSE(t.empty(1027));
    EXPECT_EQ(t.stringBytes(), 10u);
    t.set(3, std::u16string_view(u"xy\0zz", 5)); // stored up to its first zero, old string freed first
    EXPECT_EQ(t.text(3), u"xy");
    EXPECT_EQ(t.stringBytes(), 8u);
    t.clear(1027);
    EXPECT_TRUE(t.empty(1027));
    EXPECT_EQ(t.stringBytes(), 6u);
    t.clearAll();
    EXPECT_EQ(t.stringBytes(), 0u);
}

TEST(KeyStringTableTest, PackingFollowsRecordOrderAndSkipsRecordsWithoutStrings) {
    KeyImage image;
    KeyStringTable t;
    image.setRecord(900, {KF_TEXT, 0, 77});
    t.set(900, u"hi");
    image.setRecord(10, {KF_PROGRAM, 0, 55});
    t.set(10, u"/bin/x");
    image.setRecord(20, {KF_KEY, 0, 0x1E}); // a slot left over from an earlier assignment is not packed
    t.set(20, u"old");
    const auto area = t.pack(image);
    ASSERT_EQ(area.size(), t.stringBytes()); // 14 + 6 + 8
    EXPECT_EQ(image.record(10).value, 0u);
    EXPECT_EQ(image.record(900).value, 14u);
    EXPECT_EQ(image.record(20).value, 0x1Eu);
    EXPECT_EQ(area[0], '/');
    EXPECT_EQ(area[14], 'h');
    EXPECT_EQ(area[18], 0);
    EXPECT_TRUE(std::all_of(area.begin() + 20, area.end(), [](std::uint8_t b) { return b == 0; }));

    const KeyStringTable back = KeyStringTable::unpack(image, area);
    EXPECT_EQ(back.text(10), u"/bin/x");
    EXPECT_EQ(back.text(900), u"hi");
    EXPECT_TRUE(back.empty(20));
    EXPECT_EQ(back.stringBytes(), 20u);
}

TEST(KeyStringTableTest, UnpackingStaysInsideTheArea) {
    const std::vector<std::uint8_t> area = {'a', 0, 'b', 0, 0, 0, 'c', 0, 'd', 0};
    struct Case {
        std::uint32_t offset;
        std::u16string expected;
    };
    const Case cases[] = {
        {0, u"ab"}, // at the start
        {3, u"b"},  // odd: read from the even offset below
        {6, u""},   // "cd" runs to the end of the area without its zero: not trusted
        {10, u""},  // just past the end
        {0xFFFFFFFF, u""},
    };
    for (const Case& c : cases) {
        KeyImage image;
        image.setRecord(7, {KF_TEXT, 0, c.offset});
        const KeyStringTable t = KeyStringTable::unpack(image, area);
        EXPECT_EQ(t.text(7), c.expected) << c.offset;
        EXPECT_FALSE(t.empty(7)) << "the assignment keeps a string, if only an empty one";
    }
}

} // namespace
} // namespace ombrel::test
