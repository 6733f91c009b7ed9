// The write history's folder: bounded by count and by size, the newest kept, one snapshot per state, and the
// mark of a write that did not go through.
#include "keyboardfile/WriteHistory.h"
#include "support/TestPaths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace ombrel::test {
namespace {

namespace fs = std::filesystem;

std::string setupText(int n, std::size_t padding = 0) {
    return "format = 1\n# " + std::to_string(n) + std::string(padding, 'x') + "\n";
}

class WriteHistoryTest : public ::testing::Test {
protected:
    void SetUp() override { dir = makeTempDir("write-history"); }
    void TearDown() override { fs::remove_all(dir); }
    std::string dir;
};

TEST_F(WriteHistoryTest, KeepsTheNewestWithinTheCountAndTheSizeBounds) {
    struct Case {
        const char* name;
        std::size_t maxSnapshots;
        std::uintmax_t maxBytes;
        std::size_t padding;
        int keeps;
        std::size_t left;
    };
    const Case cases[] = {
        {"the default bounds: 100 snapshots", kHistoryMaxSnapshots, kHistoryMaxBytes, 0, 105, 100},
        {"size first", 100, 10'000, 1'000, 30, 8},
        {"count first", 5, 1'000'000, 1'000, 30, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(dir + "/h");
        WriteHistory history(dir + "/h", c.maxSnapshots, c.maxBytes);
        for (int i = 1; i <= c.keeps; ++i) {
            const auto n = history.keep(setupText(i, c.padding), "test");
            ASSERT_EQ(n, i);
            history.finish(*n);
        }
        const auto all = history.list();
        ASSERT_EQ(all.size(), c.left);
        EXPECT_EQ(all.back().number, c.keeps);
        EXPECT_EQ(all.front().number, c.keeps - static_cast<int>(c.left) + 1) << "the oldest go first";
        std::uintmax_t total = 0;
        for (const auto& s : all)
            total += s.bytes;
        EXPECT_LE(total, c.maxBytes);
        EXPECT_EQ(all.back().writer, "test");
        EXPECT_FALSE(all.back().time.empty());
    }
}

TEST_F(WriteHistoryTest, TheSameStateIsKeptOnceAndAWriteThatDidNotGoThroughStaysMarked) {
    WriteHistory history(dir + "/h");
    const auto first = history.keep(setupText(1), "a");
    history.finish(*first);
    EXPECT_EQ(history.keep(setupText(1), "b"), first) << "nothing changed since: the same snapshot";
    EXPECT_EQ(history.list().size(), 1u);
    ASSERT_TRUE(history.interrupted());
    EXPECT_EQ(history.interrupted()->number, *first);

    const auto second = history.keep(setupText(2), "a");
    EXPECT_EQ(second, 2);
    history.finish(*second);
    // The first write never finished (its program ended first): still marked, for the next start to offer.
    EXPECT_EQ(history.interrupted()->number, *first);
    history.finish(*first);
    EXPECT_FALSE(history.interrupted());
}

TEST_F(WriteHistoryTest, AFolderThatCannotBeMadeIsReportedAndNothingIsKept) {
    const std::string blocker = dir + "/file";
    std::ofstream(blocker) << "x";
    WriteHistory history(blocker + "/history");
    std::string why;
    EXPECT_FALSE(history.keep(setupText(1), "a", &why));
    EXPECT_NE(why.find(blocker), std::string::npos) << why;
}

} // namespace
} // namespace ombrel::test
