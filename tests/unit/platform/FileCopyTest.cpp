#include "PlatformFixture.h"

#include "platform/FileCopy.h"

namespace ombrel::test {
namespace {

using FileCopyTest = TempDirFixture;

TEST_F(FileCopyTest, CopyReportsWhatHappened) {
    const std::string from = dir + "/template";
    const std::string to = dir + "/copy";
    writeFile(to, "before");
    EXPECT_EQ(CopyFileReplacing(from, to), CopyResult::SourceMissing);
    EXPECT_EQ(readFile(to), "");
    writeFile(from, std::string("colours\r\n\x1a\0", 11));
    EXPECT_EQ(CopyFileReplacing(from, to), CopyResult::Copied);
    EXPECT_EQ(readFile(to), std::string("colours\r\n\x1a\0", 11));
    EXPECT_EQ(CopyFileReplacing(from, dir + "/missing/copy"), CopyResult::Failed);
    EXPECT_EQ(CopyFileReplacing(dir, to), CopyResult::Failed);     // a folder cannot be read as a file
    EXPECT_EQ(readFile(to), std::string("colours\r\n\x1a\0", 11)); // a failed copy leaves the old file as it was
}

} // namespace
} // namespace ombrel::test
