#include "PlatformFixture.h"

#include <sys/stat.h>

namespace ombrel::test {
namespace {

namespace fs = std::filesystem;

using AtomicFileTest = TempDirFixture;

TEST_F(AtomicFileTest, ReplacingKeepsPermissionsAndLeavesNoTemporaryFile) {
    const std::string path = dir + "/rira.ini";
    writeFile(path, "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read,
                    fs::perm_options::replace);
    ASSERT_TRUE(WriteFileAtomically(path, std::string("new\0bytes", 9)));
    EXPECT_EQ(readFile(path), std::string("new\0bytes", 9));
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(AtomicFileTest, CopyReportsWhatHappened) {
    const std::string from = dir + "/template";
    const std::string to = dir + "/copy";
    writeFile(to, "before");
    EXPECT_EQ(CopyFileReplacing(from, to), CopyResult::SourceMissing);
    EXPECT_EQ(readFile(to), "");
    writeFile(from, "colours");
    EXPECT_EQ(CopyFileReplacing(from, to), CopyResult::Copied);
    EXPECT_EQ(readFile(to), "colours");
    EXPECT_EQ(CopyFileReplacing(from, dir + "/missing/copy"), CopyResult::Failed);
    EXPECT_EQ(CopyFileReplacing(dir, to), CopyResult::Failed); // a folder cannot be read as a file
    EXPECT_EQ(readFile(to), "colours");                        // a failed copy leaves the old file as it was
}

} // namespace
} // namespace ombrel::test
