#include "PlatformFixture.h"

#include "platform/PerUserFolder.h"

#include <sys/stat.h>
#include <unistd.h>

namespace ombrel::test {
namespace {

namespace fs = std::filesystem;

class PerUserFolderTest : public TempDirFixture {
protected:
    void SetUp() override {
        TempDirFixture::SetUp();
        paths = pathsUnder(dir);
    }

    std::string templatePath() const { return UserColorFile(paths.userColorTemplatePrefix, 3); }
    std::vector<std::string> entriesOf(const std::string& folder) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    AppPaths paths;
};

TEST_F(PerUserFolderTest, FirstRunSeedsExactCopiesOfTheTemplate) {
    // Bytes a text-mode copy would damage: CR LF, Ctrl-Z, NUL.
    const std::string content("[Mode0]\r\n0=255,0,0,1\r\n\x1a\0tail", 26);
    writeFile(templatePath(), content);

    const PerUserFolderResult result = PreparePerUserFolder(paths);
    EXPECT_EQ(result.status, PerUserFolderStatus::Created) << result.error;
    EXPECT_TRUE(result.templateFound);
    EXPECT_EQ(entriesOf(paths.userDir),
              (std::vector<std::string>{"UserDengColor_0.userd", "UserDengColor_1.userd", "UserDengColor_2.userd"}));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(readFile(UserColorFile(paths.userColorPrefix, i)), content);
    // Nothing is left beside the folder (the staging folder is gone), and rira.ini is not made here.
    EXPECT_EQ(entriesOf(fs::path(paths.userDir).parent_path()), (std::vector<std::string>{"ombrel"}));
}

TEST_F(PerUserFolderTest, ExistingFolderIsNeverRepaired) {
    writeFile(templatePath(), "template");
    ASSERT_EQ(EnsurePerUserFolder(paths).status, PerUserFolderStatus::Created);
    fs::remove(UserColorFile(paths.userColorPrefix, 1));
    writeFile(UserColorFile(paths.userColorPrefix, 0), "edited by the user");

    EXPECT_EQ(EnsurePerUserFolder(paths).status, PerUserFolderStatus::Present);
    EXPECT_FALSE(fs::exists(UserColorFile(paths.userColorPrefix, 1)));
    EXPECT_EQ(readFile(UserColorFile(paths.userColorPrefix, 0)), "edited by the user");
}

TEST_F(PerUserFolderTest, MissingTemplateGivesEmptyColourFiles) {
    const PerUserFolderResult result = EnsurePerUserFolder(paths);
    EXPECT_EQ(result.status, PerUserFolderStatus::Created);
    EXPECT_FALSE(result.templateFound);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(fs::exists(UserColorFile(paths.userColorPrefix, i)));
        EXPECT_EQ(fs::file_size(UserColorFile(paths.userColorPrefix, i)), 0u);
    }
}

TEST_F(PerUserFolderTest, FailuresAreReportedNotThrown) {
    writeFile(paths.userDir, "a file where the folder belongs");
    PerUserFolderResult result = EnsurePerUserFolder(paths);
    EXPECT_EQ(result.status, PerUserFolderStatus::Failed);
    EXPECT_FALSE(result.error.empty());
    fs::remove(paths.userDir);

    // Seeding that fails half way leaves no folder, so the next start seeds it again.
    fs::create_directories(templatePath()); // a template that cannot be read
    result = EnsurePerUserFolder(paths);
    EXPECT_EQ(result.status, PerUserFolderStatus::Failed);
    EXPECT_FALSE(fs::exists(paths.userDir));
    EXPECT_TRUE(fs::is_empty(fs::path(paths.userDir).parent_path()));
}

TEST_F(PerUserFolderTest, UnwritableParentIsReported) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not stop root";
    const fs::path parent = fs::path(paths.userDir).parent_path();
    fs::create_directories(parent);
    fs::permissions(parent, fs::perms::owner_read | fs::perms::owner_exec, fs::perm_options::replace);
    const PerUserFolderResult result = EnsurePerUserFolder(paths);
    fs::permissions(parent, fs::perms::owner_all);
    EXPECT_EQ(result.status, PerUserFolderStatus::Failed);
    EXPECT_FALSE(fs::exists(paths.userDir));
}

} // namespace
} // namespace ombrel::test
