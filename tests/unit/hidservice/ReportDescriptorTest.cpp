#include <gtest/gtest.h>

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

} // namespace
} // namespace ombrel::hid::test
