#include "PlatformFixture.h"

#include "platform/LegacyUserFolders.h"

#include "support/Unprivileged.h"

#include <gmock/gmock.h>
#include <sys/stat.h>

namespace ombrel::test {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

class LegacyUserFoldersTest : public TempDirFixture {
protected:
    void SetUp() override {
        TempDirFixture::SetUp();
        paths = pathsUnder(dir);
        home = dir + "/home";
    }

    AppPaths paths;
    std::string home;
};

TEST_F(LegacyUserFoldersTest, OldFoldersMoveOnceWithANote) {
    writeFile(home + "/.local/share/Varn88-3_6027/$Profile0", "store");
    writeFile(home + "/.local/share/Varn88-3_6027-emulator/rira.ini", "emu");
    writeFile(home + "/.config/Varn88-3_6027/settings.ini", "lang");
    writeFile(paths.appProfileIni.substr(0, paths.appProfileIni.find("/ombrel/")) + "/Ombrel_Pellix/" +
                  fs::path(paths.appProfileIni).filename().string(),
              "profiles");

    const auto notes = MoveLegacyUserFolders(paths);
    // The folders, the settings file, and the store under its new name.
    EXPECT_EQ(notes.size(), 5u);
    for (const auto& note : notes)
        EXPECT_THAT(note, HasSubstr("moved "));
    EXPECT_EQ(readFile(paths.userDir + "/keyboard-profiles.obp"), "store");
    EXPECT_FALSE(fs::exists(paths.userDir + "/$Profile0"));
    EXPECT_EQ(readFile(paths.userDir + "-emulator/rira.ini"), "emu");
    EXPECT_EQ(readFile(paths.settingsIni), "lang");
    EXPECT_EQ(readFile(paths.appProfileIni), "profiles");
    EXPECT_FALSE(fs::exists(home + "/.local/share/Varn88-3_6027"));
    EXPECT_FALSE(fs::exists(home + "/.config/Varn88-3_6027"));
    EXPECT_FALSE(fs::exists(home + "/.config/Ombrel_Pellix"));

    // Moved once: an old folder that turns up again next to the new one is left for the user.
    // So is an old store file beside the renamed one.
    writeFile(home + "/.local/share/Varn88-3_6027/$Profile0", "older");
    writeFile(paths.userDir + "/$Profile0", "stale");
    EXPECT_THAT(MoveLegacyUserFolders(paths), IsEmpty());
    EXPECT_EQ(readFile(paths.userDir + "/keyboard-profiles.obp"), "store");
    EXPECT_EQ(readFile(paths.userDir + "/$Profile0"), "stale");
    EXPECT_EQ(readFile(home + "/.local/share/Varn88-3_6027/$Profile0"), "older");
}

TEST_F(LegacyUserFoldersTest, NothingToMoveOrNothingMovable) {
    EXPECT_THAT(MoveLegacyUserFolders(paths), IsEmpty());

    // A file where a folder was is not somebody's data folder; a settings folder already in use is not mixed.
    writeFile(home + "/.local/share/Varn88-3_6027", "not a folder");
    writeFile(paths.settingsIni, "new");
    writeFile(home + "/.config/Varn88-3_6027/settings.ini", "old");
    EXPECT_THAT(MoveLegacyUserFolders(paths), IsEmpty());
    EXPECT_EQ(readFile(paths.settingsIni), "new");
}

TEST_F(LegacyUserFoldersTest, AFailedMoveSaysWhyAndHow) {
    writeFile(home + "/.local/share/Varn88-3_6027/$Profile0", "store");
    // The folders can be read but not changed by an ordinary user (tests run as root, who may change anything).
    for (const std::string& folder : {dir, home, home + "/.local", home + "/.local/share"})
        ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);
    ASSERT_EQ(::chmod((home + "/.local/share").c_str(), 0555), 0);
    const auto output = RunAsUnprivilegedUser([&] {
        std::string text;
        for (const auto& note : MoveLegacyUserFolders(paths))
            text += note + "\n";
        return text;
    });
    ::chmod((home + "/.local/share").c_str(), 0755);
    ASSERT_TRUE(output);
    EXPECT_THAT(*output, HasSubstr("could not move"));
    EXPECT_THAT(*output, HasSubstr("Permission denied"));
    EXPECT_THAT(*output, HasSubstr("mv '" + home + "/.local/share/Varn88-3_6027' '" + paths.userDir + "'"));
    EXPECT_EQ(readFile(home + "/.local/share/Varn88-3_6027/$Profile0"), "store");
}

} // namespace
} // namespace ombrel::test
