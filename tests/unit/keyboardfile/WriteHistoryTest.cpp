// The write history's folder: bounded by count and by size, the newest kept, one snapshot per state, and the
// mark of a write that did not go through.
#include "keyboardfile/WriteHistory.h"
#include "support/TestPaths.h"
#include "text/FileBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

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

// The files of the history folder, sorted, as one line.
std::string filesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string out;
    for (const auto& name : names)
        out += (out.empty() ? "" : " ") + name;
    return out;
}

TEST_F(WriteHistoryTest, TheIntendedStateLiesBesideItsSnapshotExactlyAsLongAsTheWriteIsUnfinished) {
    using Step = std::function<void(WriteHistory&)>;
    const Step keepOne = [](WriteHistory& h) { h.keep(setupText(1), "w", nullptr, nullptr, setupText(9)); };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        const char* files;
    };
    const Case cases[] = {
        {"a write under way: snapshot, intended state, mark",
         {keepOne},
         "000001.toml 000001.toml.intended 000001.toml.interrupted"},
        {"finished: only the snapshot stays", {keepOne, [](WriteHistory& h) { h.finish(1); }}, "000001.toml"},
        {"taken back whole", {keepOne, [](WriteHistory& h) { h.discard(1); }}, ""},
        {"the same state again by a writer that says nothing: no intended state of another write",
         {keepOne, [](WriteHistory& h) { h.finish(1); }, [](WriteHistory& h) { h.keep(setupText(1), "w"); }},
         "000001.toml 000001.toml.interrupted"},
        {"a history of old without intended states",
         {[](WriteHistory& h) { h.keep(setupText(1), "w"); }},
         "000001.toml 000001.toml.interrupted"},
        {"the oldest pruned with its intended state",
         {keepOne, [](WriteHistory& h) { h.keep(setupText(2), "w", nullptr, nullptr, setupText(8)); },
          [](WriteHistory& h) { h.keep(setupText(3), "w"); }},
         "000002.toml 000002.toml.intended 000002.toml.interrupted 000003.toml 000003.toml.interrupted"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(dir + "/h");
        fs::create_directories(dir + "/h");
        WriteHistory history(dir + "/h", 2);
        for (const Step& step : c.steps)
            step(history);
        EXPECT_EQ(filesIn(dir + "/h"), c.files);
    }

    fs::remove_all(dir + "/h");
    WriteHistory history(dir + "/h");
    history.keep(setupText(1), "w", nullptr, nullptr, setupText(9));
    const auto record = history.interrupted();
    ASSERT_TRUE(record);
    ASSERT_EQ(record->intendedPath, dir + "/h/000001.toml.intended");
    const std::string intended = ReadFileBytes(record->intendedPath).bytes;
    EXPECT_NE(intended.find(setupText(9)), std::string::npos) << intended;
    history.keep(setupText(1), "w", nullptr, nullptr, setupText(7));
    EXPECT_NE(ReadFileBytes(record->intendedPath).bytes.find(setupText(7)), std::string::npos)
        << "a new write of the same snapshot keeps its own intended state";
}

TEST_F(WriteHistoryTest, AnIntendedStateThatCannotBeKeptLeavesNoMark) {
    // Something that is no file where the intended state goes: the write must not look recorded when it is not.
    fs::create_directories(dir + "/h/000001.toml.intended");
    WriteHistory history(dir + "/h");
    std::string why;
    EXPECT_FALSE(history.keep(setupText(1), "w", &why, nullptr, setupText(2)));
    EXPECT_FALSE(why.empty());
    EXPECT_FALSE(fs::exists(dir + "/h/000001.toml.interrupted"));
    EXPECT_FALSE(history.interrupted());
}

} // namespace
} // namespace ombrel::test
