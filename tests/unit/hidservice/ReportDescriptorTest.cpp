#include <gtest/gtest.h>

#include "HidUevent.h"
#include "ReportDescriptor.h"
#include "SampleDescriptors.h"

namespace ombrel::hid::test {
namespace {

TEST(ReportDescriptorTest, FindsReportIdItemsAndNothingThatOnlyLooksLikeOne) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        bool numbered;
        bool complete;
    };
    const std::vector<Case> cases{
        {"vendor interface", kVendorDescriptor, true, true},
        {"consumer and system control", kConsumerDescriptor, true, true},
        {"plain consumer", kPlainConsumerDescriptor, false, true},
        {"empty", {}, false, true},
        {"two-byte report id", {0x06, 0x1C, 0xFF, 0x86, 0x04, 0x00}, true, true},
        {"four-byte report id", {0x87, 0x00, 0x01, 0x00, 0x00}, true, true},
        {"report id 0 is reserved", {0x85, 0x00}, false, true},
        // 0x85 as data of another item, and the same tag in a main (0x81 Input) and a local (0x89) item.
        {"0x85 as data", {0x09, 0x85, 0x95, 0x85, 0x81, 0x85, 0x89, 0x04}, false, true},
        {"long item hides 0x85", {0xFE, 0x02, 0x10, 0x85, 0x04, 0x09, 0x01}, false, true},
        {"id before a cut item counts", {0x85, 0x04, 0x26, 0xFF}, true, false},
        {"cut report id", {0x09, 0x01, 0x85}, false, false},
        {"cut long item", {0xFE, 0x05, 0x10, 0x85, 0x04}, false, false},
        {"long item without its header", {0xFE, 0x01}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ReportDescriptorInfo info = parseReportDescriptor(c.bytes);
        EXPECT_EQ(info.numberedReports, c.numbered);
        EXPECT_EQ(info.complete, c.complete);
    }
}

// The filters match on these, so each top-level collection must come out with the page in force at it.
TEST(ReportDescriptorTest, ListsTheTopLevelCollectionsWithTheirUsagePageAndUsage) {
    using Collections = std::vector<std::pair<std::uint16_t, std::uint16_t>>;
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        Collections collections;
    };
    const std::vector<Case> cases{
        {"vendor interface", kVendorDescriptor, {{0xFF1C, 0x0092}}},
        {"consumer and system control", kConsumerDescriptor, {{0x000C, 0x0001}, {0x0001, 0x0080}}},
        {"empty", {}, {}},
        // Usage before its page, a nested collection (not top level), a 4-byte usage with its own page.
        {"page after usage", {0x09, 0x06, 0x05, 0x01, 0xA1, 0x01, 0xC0}, {{0x0001, 0x0006}}},
        {"nested", {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00, 0xC0, 0xC0}, {{0x0001, 0x0002}}},
        {"extended usage", {0x05, 0x01, 0x0B, 0x89, 0x00, 0x08, 0x00, 0xA1, 0x01, 0xC0}, {{0x0008, 0x0089}}},
        // A usage does not outlive the main item after it; an unbalanced end does not go below the top.
        {"usage spent", {0x05, 0x0C, 0x09, 0x01, 0x81, 0x02, 0xA1, 0x01, 0xC0}, {{0x000C, 0x0000}}},
        {"stray end", {0xC0, 0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01}, {{0x000C, 0x0001}}},
        {"cut collection", {0x05, 0x0C, 0x09, 0x01, 0xA1}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(parseReportDescriptor(c.bytes).collections, c.collections);
    }
}

TEST(HidUeventTest, ReadsBusVendorAndProductFromTheHidIdLine) {
    struct Case {
        const char* name;
        const char* text;
        std::optional<std::uint32_t> bus;
        std::uint16_t vendor = 0;
        std::uint16_t product = 0;
    };
    const std::vector<Case> cases{
        {"sysfs", "DRIVER=hid-generic\nHID_ID=0003:00000C45:00005204\nHID_NAME=kb\n", 3, 0x0C45, 0x5204},
        {"last line without newline", "HID_NAME=kb\nHID_ID=0005:0000046d:0000B023", 5, 0x046D, 0xB023},
        {"no id", "DRIVER=hid-generic\nHID_NAME=HID_ID=0003:1:2\n", std::nullopt},
        {"empty", "", std::nullopt},
        {"two fields", "HID_ID=0003:00000C45\n", std::nullopt},
        {"not hexadecimal", "HID_ID=0003:00000C4G:00005204\n", std::nullopt},
        {"empty field", "HID_ID=0003::00005204\n", std::nullopt},
        {"too many digits", "HID_ID=0003:000000C45:00005204\n", std::nullopt},
        {"vendor above 16 bits", "HID_ID=0003:00010C45:00005204\n", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<HidId> id = parseHidUevent(c.text);
        ASSERT_EQ(id.has_value(), c.bus.has_value());
        if (!id) continue;
        EXPECT_EQ(id->bus, *c.bus);
        EXPECT_EQ(id->vendorId, c.vendor);
        EXPECT_EQ(id->productId, c.product);
    }
}

} // namespace
} // namespace ombrel::hid::test
