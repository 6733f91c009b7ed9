#include "PlatformFixture.h"

#include "platform/SettingsStore.h"
#include "text/IniFile.h"

namespace ombrel::test {
namespace {

class SettingsStoreTest : public TempDirFixture {
protected:
    void SetUp() override {
        TempDirFixture::SetUp();
        paths = pathsUnder(dir);
    }
    SettingsStore store() const { return SettingsStore(paths.settingsIni, paths.appProfileIni); }

    AppPaths paths;
};

TEST_F(SettingsStoreTest, LanguageIdRoundTripsOnAFirstStart) {
    SettingsStore settings = store();
    EXPECT_FALSE(settings.loadLanguageId());
    ASSERT_TRUE(settings.storeLanguageId(1033));
    EXPECT_EQ(settings.loadLanguageId(), 1033u);
    EXPECT_EQ(store().loadLanguageId(), 1033u); // it is in the file, not in the object
    ASSERT_TRUE(settings.storeLanguageId(0));
    EXPECT_EQ(settings.loadLanguageId(), 0u);
}

TEST_F(SettingsStoreTest, HandEditedLanguageIds) {
    struct Case {
        const char* stored;
        std::optional<std::uint32_t> read;
    };
    const Case cases[] = {
        {"1033", 1033u},      {"0x0404", 0x404u},   {"4294967295", 0xFFFFFFFFu}, {"4294967296", std::nullopt},
        {"-1", std::nullopt}, {"+5", std::nullopt}, {"12ab", std::nullopt},      {"0x", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        writeFile(paths.settingsIni, std::string("[Settings]\ndwLanguageId=") + c.stored + "\n");
        EXPECT_EQ(store().loadLanguageId(), c.read);
    }
}

TEST_F(SettingsStoreTest, ProfileSectionOfTheApplicationProfile) {
    SettingsStore settings = store();
    EXPECT_EQ(settings.getProfileString("Flip", "0"), "0");
    ASSERT_TRUE(settings.writeProfileString("Flip", "1"));
    ASSERT_TRUE(settings.writeProfileString("PROFILE00", "2"));
    EXPECT_EQ(settings.getProfileString("Flip", "0"), "1");
    EXPECT_EQ(ReadIniString(paths.appProfileIni, "PROFILES", "PROFILE00", ""), "2");
    EXPECT_EQ(settings.loadLanguageId(), std::nullopt); // the two stores are separate files
}

TEST_F(SettingsStoreTest, UnwritableStoreReportsFailure) {
    writeFile(dir + "/home/.config", "a file where the config folder belongs");
    SettingsStore settings = store();
    EXPECT_FALSE(settings.storeLanguageId(1033));
    EXPECT_FALSE(settings.writeProfileString("Flip", "1"));
    EXPECT_EQ(settings.getProfileString("Flip", "0"), "0");
}

} // namespace
} // namespace ombrel::test
