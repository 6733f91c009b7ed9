// The two headers of profile files and the rules a file header must meet.
#include "profiles/StoreFileHeader.h"
#include "keys/KeyImage.h"
#include "profiles/ProfileStore.h"
#include "util/Bytes.h"

#include <gtest/gtest.h>

#include <numeric>

namespace ombrel::test {
namespace {

TEST(StoreFileHeaderTest, AFreshImageDescribesAnEmptyStore) {
    const KeyImage image = DefaultKeyImage();
    const std::uint8_t fileHeader[32] = {0x46, 0x44, 32, 0, 3, 0, 1, 0, 0x40, 0x80, 0, 0, 0x00, 0x08, 0, 0,
                                         0,    0,    0,  0, 0, 0, 0, 0, 0,    0,    0, 0, 0,    0,    0, 0x76};
    const std::uint8_t imageHeader[32] = {0x4B, 0x48, 32,   0,    0x20, 0x80, 0,    0, 4, 0, 0, 2, 0, 0, 0, 0,
                                          0x45, 0x0C, 0x04, 0x52, 0x4F, 0x1C, 0x0E, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_TRUE(std::equal(std::begin(fileHeader), std::end(fileHeader), image.bytes().begin()));
    EXPECT_TRUE(std::equal(std::begin(imageHeader), std::end(imageHeader), image.bytes().begin() + 32));
    EXPECT_EQ(getLe32(&image.bytes()[8]), 32832u);
    EXPECT_EQ(image.record(256).extra, 0x0301);
    EXPECT_TRUE(StoreFileHeader::read(image.bytes().first<32>()).wellFormed());
}

TEST(StoreFileHeaderTest, TheChecksumIsTheLowByteOfTheSum) {
    std::array<std::uint8_t, 32> header{};
    header[0] = 0xFF;
    header[1] = 0xFF;
    header[2] = 0xFF;
    header[3] = 0xFF;  // 4 x 0xFF = 0x3FC
    header[30] = 0x38; // 0x3FC + 0x38 = 0x434
    header[31] = 0x99; // not part of the sum
    EXPECT_EQ(FileHeaderChecksum(header), 0x34);
    // A header whose bytes sum to 0x1234.
    std::array<std::uint8_t, 32> h{};
    unsigned left = 0x1234;
    for (std::size_t i = 0; i < 31 && left; ++i) {
        h[i] = static_cast<std::uint8_t>(std::min(left, 0xFFu));
        left -= h[i];
    }
    ASSERT_EQ(left, 0u);
    EXPECT_EQ(FileHeaderChecksum(h), 0x34);
}

TEST(StoreFileHeaderTest, EachRuleOfTheHeaderIsChecked) {
    struct Case {
        const char* what;
        void (*change)(std::uint8_t* h);
        bool wellFormed;
    };
    const Case cases[] = {
        {"as written", [](std::uint8_t*) {}, true},
        {"flags 1", [](std::uint8_t* h) { h[30] = 1; }, true},
        {"flags 2", [](std::uint8_t* h) { h[30] = 2; }, false},
        {"magic", [](std::uint8_t* h) { h[0] = 0x47; }, false},
        {"header size", [](std::uint8_t* h) { h[2] = 33; }, false},
        {"format 3", [](std::uint8_t* h) { h[4] = 4; }, false},
        {"format 1", [](std::uint8_t* h) { h[6] = 2; }, false},
        {"record count", [](std::uint8_t* h) { h[12] = 1; }, false},
        {"total size off by one", [](std::uint8_t* h) { putLe32(h + 8, getLe32(h + 8) + 1); }, false},
        {"101 macros",
         [](std::uint8_t* h) {
             putLe16(h + 14, 101);
             putLe32(h + 8, static_cast<std::uint32_t>(StoreFileSize(101, 6)));
         },
         false},
        {"100 macros",
         [](std::uint8_t* h) {
             putLe16(h + 14, 100);
             putLe32(h + 8, static_cast<std::uint32_t>(StoreFileSize(100, 6)));
         },
         true},
        // 100 macros and a string size for which the 32-bit sum wraps round to the stored total: still refused.
        {"wrapping total",
         [](std::uint8_t* h) {
             putLe16(h + 14, 100);
             putLe32(h + 16, 0u - 100u * 32512u + 6u);
         },
         false},
    };
    for (const Case& c : cases) {
        std::array<std::uint8_t, 32> h{};
        WriteFileHeader(h, 0, 6, 0);
        c.change(h.data());
        h[31] = FileHeaderChecksum(h);
        EXPECT_EQ(StoreFileHeader::read(h).wellFormed(), c.wellFormed) << c.what;
    }
    std::array<std::uint8_t, 32> h{};
    WriteFileHeader(h, 0, 6, 0);
    h[31] ^= 1;
    EXPECT_FALSE(StoreFileHeader::read(h).wellFormed()) << "checksum";
}

} // namespace
} // namespace ombrel::test
