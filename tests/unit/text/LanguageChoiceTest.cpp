// Choosing the language: the stored identifier, the system locale, the alias table and what gets stored.
#include "text/LanguageChoice.h"
#include "text/SystemLanguage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace ombrel {
namespace {

// Keeps the value in memory and records every write; `failWrites` imitates a settings file that can't be written.
class FakeStore : public LanguageIdStore {
public:
    std::optional<std::uint32_t> value;
    bool failWrites = false;
    std::vector<std::uint32_t> writes;

    std::optional<std::uint32_t> loadLanguageId() override { return value; }
    bool storeLanguageId(std::uint32_t languageId) override {
        writes.push_back(languageId);
        if (failWrites) return false;
        value = languageId;
        return true;
    }
};

TEST(LanguageChoice, FirstRunStoresTheLanguageThatIsUsed) {
    const struct {
        const char* name;
        std::optional<std::uint32_t> stored;
        std::uint32_t system;
        std::uint32_t expected;
    } cases[] = {
        {"english UK is aliased", std::nullopt, 0x0809, 0x0409},
        {"english US", std::nullopt, 0x0409, 0x0409},
        {"english Trinidad, last alias", std::nullopt, 0x2C09, 0x0409},
        {"korean has no file", std::nullopt, 0x0412, 0x0409},
        {"chinese Singapore aliases to a missing file", std::nullopt, 0x1004, 0x0409},
        {"stored zero follows the system", 0u, 0x0C09, 0x0409},
    };
    for (const auto& c : cases) {
        FakeStore store;
        store.value = c.stored;
        EXPECT_EQ(currentLanguageId(store, c.system), c.expected) << c.name;
        EXPECT_EQ(store.writes, std::vector<std::uint32_t>{c.expected}) << c.name;
        EXPECT_EQ(currentLanguageIndex(store, c.system), 0) << c.name;
    }
    // A language with a file of its own is taken as it is, in the last slot as anywhere else.
    for (const auto& [system, index] : {std::pair{0x0407u, 1}, std::pair{0x0411u, 5}}) {
        FakeStore own;
        EXPECT_EQ(currentLanguageIndex(own, system), index) << std::hex << system;
        EXPECT_EQ(own.writes, std::vector<std::uint32_t>{system});
    }
}

TEST(LanguageChoice, StoredIdentifierIsKeptEvenWithoutAFile) {
    FakeStore store;
    store.value = 0x0404;
    EXPECT_EQ(currentLanguageId(store, 0x0409), 0x0404u);
    EXPECT_EQ(currentLanguageIndex(store, 0x0409), 0);
    EXPECT_TRUE(store.writes.empty());
}

TEST(LanguageChoice, UnwritableStoreRecomputesEveryTime) {
    FakeStore store;
    store.failWrites = true;
    EXPECT_EQ(currentLanguageId(store, 0x0809), 0x0409u);
    EXPECT_EQ(currentLanguageId(store, 0x0809), 0x0409u);
    EXPECT_EQ(store.writes.size(), 2u);
}

TEST(LanguageChoice, TableSearchFindsEveryLanguageButNoEmptySlot) {
    EXPECT_EQ(LanguageIndexOf(0x0409), std::optional<int>(0));
    EXPECT_FALSE(LanguageIndexOf(0).has_value());
    EXPECT_EQ(LanguageIndexOf(0x0407), std::optional<int>(1));
    EXPECT_EQ(LanguageIndexOf(0x0411), std::optional<int>(5)); // the last slot is searched too
    EXPECT_FALSE(LanguageIndexOf(0x0412).has_value());
    EXPECT_EQ(AliasLanguageId(0x1004), 0x0404u);
    EXPECT_EQ(AliasLanguageId(0x0407), 0x0407u);
}

TEST(SystemLanguage, LocaleNamesMapToIdentifiers) {
    const struct {
        const char* locale;
        std::uint32_t id;
    } cases[] = {
        {"en_US.UTF-8", 0x0409}, {"en_GB.UTF-8", 0x0809},   {"de_DE.UTF-8", 0x0407},
        {"fr_FR", 0x040C},       {"zh_CN.GB18030", 0x0804}, {"zh_TW.UTF-8", 0x0404},
        {"ja_JP.eucJP", 0x0411}, {"ko_KR", 0x0412},         {"ru_RU.KOI8-R", 0x0419},
        {"es_ES@euro", 0x0C0A},  {"pt-BR", 0x0416},         {"de", 0x0407},
        {"de_XX", 0x0407},       {"EN_gb", 0x0809},         {"C", 0x0409},
        {"POSIX", 0x0409},       {"C.UTF-8", 0x0409},       {"", 0x0409},
        {"xx_YY", 0x0409},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LanguageIdFromLocale(c.locale), c.id) << c.locale;
}

// Sets the three locale variables for one test and puts the old values back.
class LocaleEnvironment {
public:
    LocaleEnvironment(const char* all, const char* messages, const char* lang) {
        for (const char* name : kNames) {
            const char* old = std::getenv(name);
            m_saved.emplace_back(old ? std::optional<std::string>(old) : std::nullopt);
        }
        set("LC_ALL", all);
        set("LC_MESSAGES", messages);
        set("LANG", lang);
    }
    ~LocaleEnvironment() {
        for (std::size_t i = 0; i < 3; ++i)
            set(kNames[i], m_saved[i] ? m_saved[i]->c_str() : nullptr);
    }
    LocaleEnvironment(const LocaleEnvironment&) = delete;
    LocaleEnvironment& operator=(const LocaleEnvironment&) = delete;

private:
    static constexpr const char* kNames[3] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    static void set(const char* name, const char* value) {
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    std::vector<std::optional<std::string>> m_saved;
};

TEST(LanguageChoice, ChoosingALanguageHoldsOverTheSystemLanguage) {
    FakeStore store;
    // Nothing stored: the system language decides.
    EXPECT_EQ(currentLanguageIndex(store, 0x040C), 2);
    const struct {
        int index;
        std::uint32_t stored;
        std::string_view ownName;
    } cases[] = {{0, 0x0409, "English"}, {1, 0x0407, "Deutsch"},  {2, 0x040C, "Français"},
                 {3, 0x0C0A, "Español"}, {4, 0x0804, "简体中文"}, {5, 0x0411, "日本語"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        ASSERT_TRUE(ChooseLanguage(store, c.index));
        EXPECT_EQ(store.value, c.stored);
        // The choice holds whatever the system says, and reads the file of that language.
        EXPECT_EQ(currentLanguageIndex(store, 0x0411), c.index);
        EXPECT_EQ(currentLanguageIndex(store, 0x0809), c.index);
        EXPECT_EQ(LanguageOwnName(c.index), c.ownName);
    }
}

TEST(LanguageChoice, AChoiceThatCannotBeMadeChangesNothing) {
    FakeStore store;
    store.value = 0x0407;
    for (const int index : {-1, 6, 100}) {
        EXPECT_FALSE(ChooseLanguage(store, index)) << index;
        EXPECT_TRUE(LanguageOwnName(index).empty()) << index;
    }
    EXPECT_TRUE(store.writes.empty());
    EXPECT_EQ(store.value, 0x0407u);
    // A store that cannot be written says so; the language in use stays what it was.
    store.failWrites = true;
    EXPECT_FALSE(ChooseLanguage(store, 2));
    EXPECT_EQ(currentLanguageIndex(store, 0x0409), 1);
}

TEST(SystemLanguage, FirstSetLocaleVariableDecides) {
    {
        const LocaleEnvironment env("ja_JP.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8");
        EXPECT_EQ(SystemLanguageId(), 0x0411u);
    }
    {
        const LocaleEnvironment env("", "de_DE.UTF-8", "fr_FR.UTF-8");
        EXPECT_EQ(SystemLanguageId(), 0x0407u);
    }
    {
        const LocaleEnvironment env(nullptr, nullptr, "en_GB.UTF-8");
        EXPECT_EQ(SystemLanguageId(), 0x0809u);
        FakeStore store;
        EXPECT_EQ(currentLanguageId(store), 0x0409u); // en_GB is shown in English (US)
    }
    {
        const LocaleEnvironment env(nullptr, nullptr, nullptr);
        EXPECT_EQ(SystemLanguageId(), 0x0409u);
    }
}

} // namespace
} // namespace ombrel
