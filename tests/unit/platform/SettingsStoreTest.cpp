#include "PlatformFixture.h"

#include "platform/IniFile.h"
#include "platform/SettingsStore.h"

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

// Whole numbers of the application profile read as atoi reads them, but a value beyond int is clamped: atoi's
// behaviour there is undefined, and glibc's wraps "4294967297" round to 1, which would switch the layout.
TEST_F(SettingsStoreTest, ProfileNumbersReadLikeAtoiWithoutOverflow) {
    const std::pair<const char*, int> cases[] = {
        {"1", 1},
        {"  -12abc", -12},
        {"+7", 7},
        {"abc", 0},
        {"", 0},
        {"- 1", 0},
        {"2147483647", 2147483647},
        {"2147483648", 2147483647},
        {"4294967297", 2147483647},
        {"99999999999999999999", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"-2147483649", -2147483647 - 1},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ParseProfileInt(text), expected) << text;

    SettingsStore settings = store();
    EXPECT_EQ(settings.getProfileInt("Flip", 0), 0); // missing: the default
    ASSERT_TRUE(settings.writeProfileString("Flip", "4294967297"));
    EXPECT_EQ(settings.getProfileInt("Flip", 0), 2147483647);
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
