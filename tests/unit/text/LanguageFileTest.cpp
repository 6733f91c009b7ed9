// The shipped English language file: every key the program looks up is there with a usable text, and every text
// that is filled in has exactly the one placeholder its caller fills.
#include "keyboard/KeyTable.h"
#include "platform/IniFile.h"
#include "text/KeyText.h"
#include "text/LanguageTexts.h"
#include "text/SafeFormat.h"
#include "text/Utf8.h"

#include "support/TestPaths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace ombrel {
namespace {

// The {names} a text fills in, sorted.
std::vector<std::string> bracedNames(const std::string& text) {
    std::vector<std::string> names;
    for (std::size_t open = text.find('{'); open != std::string::npos; open = text.find('{', open + 1)) {
        const std::size_t close = text.find('}', open);
        if (close == std::string::npos) break;
        names.push_back(text.substr(open + 1, close - open - 1));
    }
    std::sort(names.begin(), names.end());
    return names;
}

using SectionKey = std::pair<std::string, std::string>;

// The keys listed in tests/unit/text/required_text_keys.txt, with their sections.
std::vector<SectionKey> requiredKeys() {
    std::ifstream in(test::sourcePath("tests/unit/text/required_text_keys.txt"));
    std::vector<SectionKey> keys;
    std::string section;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line.front() == '#') continue;
        if (line.front() == '[')
            section = line.substr(1, line.find(']') - 1);
        else
            keys.emplace_back(section, line);
    }
    return keys;
}

// Texts the program fills, and what it fills them with; every other text is shown as it is.
const std::map<std::string, ConversionKind> kFormatTexts{
    {"UNKNOWN_KEY", ConversionKind::Integer},                // the key code
    {"MACRO_ERR_MAX", ConversionKind::Integer},              // the number of macros allowed
    {"MACRO_ACTION_ERR_DELAY_MAX", ConversionKind::Integer}, // the longest pause in ms
    {"PROFILE_FORMAT_ERROR", ConversionKind::String},        // the file's path
    {"PROFILE_ADD_FAILED", ConversionKind::String},          // the new file's path
    {"UPDATE_AUTO_BACKUP_FAIL", ConversionKind::String},     // the backup's path
    {"UPDATE_AUTO_BACKUP_WHERE", ConversionKind::String},    // the backup's path
    {"MAIN_PROMPT_EXPORT_DONE", ConversionKind::String},     // the backup's path
    {"MAIN_PROMPT_RESTORE_ASK", ConversionKind::String},     // the path of the file to restore
    {"HISTORY_RESTORE_ASK", ConversionKind::String},         // when the write was made
    {"HISTORY_RESTORE_DONE", ConversionKind::String},        // when the write was made
    {"HISTORY_RESTORE_FAILED", ConversionKind::String},      // why
    {"UNFINISHED_ASK", ConversionKind::String},              // when the write was made
    {"UNFINISHED_ASK_BACK", ConversionKind::String},         // the same
    {"UNFINISHED_FINISHED", ConversionKind::String},         // the same
    {"UNFINISHED_FAILED", ConversionKind::String},           // why
    {"MAIN_PROMPT_RESTORE_DAMAGED", ConversionKind::String}, // the same
    {"MAIN_PROMPT_RESTORE_DONE", ConversionKind::String},    // the same
    {"AUTOSTART_REPLACE_PROMPT", ConversionKind::String},    // the autostart entry's path
    {"AUTOSTART_REMOVE_PROMPT", ConversionKind::String},     // the same
    {"MAIN_HELP_MISSING", ConversionKind::String},           // the help page's path
    {"MAIN_HELP_FAILED", ConversionKind::String},            // the same
    {"ABOUT_VERSION", ConversionKind::String},               // the program's version
    {"RULES_PROFILE_OF", ConversionKind::String},            // an application's id
    {"RULES_BAD_APPLICATION", ConversionKind::String},       // the same
    {"RULES_DAMAGED", ConversionKind::String},               // the rules file's path
    {"RULES_UNREADABLE", ConversionKind::String},            // the system's reason
    {"RULES_SAVE_FAILED", ConversionKind::String},           // the same
};

class LanguageFileTest : public ::testing::Test {
protected:
    LanguageTexts m_texts{test::sourcePath("data")};
};

TEST_F(LanguageFileTest, ListOfRequiredKeysIsThere) {
    const auto keys = requiredKeys();
    ASSERT_GT(keys.size(), 250u);
    for (const auto& [key, kind] : kFormatTexts)
        EXPECT_NE(std::find(keys.begin(), keys.end(), SectionKey{"TEXT", key}), keys.end()) << key;
}

TEST_F(LanguageFileTest, EveryRequiredKeyHasAUsableText) {
    const auto doc = ReadIniDocument(m_texts.filePath(0));
    ASSERT_TRUE(doc.has_value()) << m_texts.filePath(0);
    for (const auto& [section, key] : requiredKeys()) {
        const auto value = doc->find(section, key);
        ASSERT_TRUE(value.has_value()) << section << "/" << key;
        EXPECT_FALSE(value->empty()) << section << "/" << key;
        EXPECT_LE(Utf8CharCount(*value), IniDocument::kMaxValueChars) << key << " would be cut";
        EXPECT_EQ(Utf8Sanitize(*value), *value) << key << " is not UTF-8";
        EXPECT_EQ(m_texts.lookup(section, key, 0), *value);
    }
}

TEST_F(LanguageFileTest, FilledTextsHaveExactlyTheirOneConversionAndOthersNone) {
    for (const auto& [section, key] : requiredKeys()) {
        const std::string text = m_texts.lookup(section, key, 0);
        const auto it = kFormatTexts.find(key);
        const std::vector<ConversionKind> expected =
            it == kFormatTexts.end() ? std::vector<ConversionKind>{} : std::vector<ConversionKind>{it->second};
        EXPECT_EQ(ListConversions(text), expected) << section << "/" << key << ": " << text;
    }
    EXPECT_EQ(FormatTextInt(m_texts.lookupText("UNKNOWN_KEY", 0), 0x64), "Key 0x064");
}

TEST_F(LanguageFileTest, TextsWithParticularUsesFitThem) {
    // Shown as the tray icon's tooltip, which holds 127 characters.
    EXPECT_LE(Utf8CharCount(m_texts.lookupText("KEYBOARD_TRAY_DESC", 0)), 127u);
    // Used as the name of a settings value, so it must be storable as an INI key.
    IniDocument settings;
    EXPECT_TRUE(settings.setValue("PROFILES", m_texts.lookupText("MACRO_ACTION_RECORD_DELAY", 0), "1"));
    // Followed directly by a number or a name, so they end in a blank or punctuation.
    EXPECT_EQ(m_texts.lookupText("MACRO_NEW_PREFIX", 0), "Macro ");
    EXPECT_EQ(m_texts.lookupText("PROFILE_TIP", 0), "Profile: ");
}

TEST_F(LanguageFileTest, EveryKeyOfTheKeyTableIsNamed) {
    const auto keys = requiredKeys();
    for (const KeyRow& row : KeyTable()) {
        if (row.textKey.empty()) continue;
        const SectionKey wanted{"TEXT", std::string(row.textKey)};
        EXPECT_NE(std::find(keys.begin(), keys.end(), wanted), keys.end()) << row.textKey << " is not listed";
    }
    const std::string unknown = m_texts.lookupText("UNKNOWN_KEY", 0);
    for (const KeyButton& button : KeyButtonTable()) {
        const std::string name = KeyText(m_texts, button.code, 0);
        EXPECT_NE(name, "#Error") << button.code;
        EXPECT_NE(name, FormatTextInt(unknown, button.code)) << button.code;
    }
}

// The section/key pairs a language file holds, in file order.
std::vector<SectionKey> keysOf(const std::string& path) {
    std::ifstream in(path);
    std::vector<SectionKey> keys;
    std::string section;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[')
            section = line.substr(1, line.find(']') - 1);
        else if (line.find('=') != std::string::npos)
            keys.emplace_back(section, line.substr(0, line.find('=')));
    }
    return keys;
}

TEST_F(LanguageFileTest, EveryLanguageFileHasEveryEnglishKeyWithTheSameConversions) {
    const auto english = keysOf(m_texts.filePath(0));
    ASSERT_FALSE(english.empty());
    for (std::size_t index = 1; index < kLanguageTable.size(); ++index) {
        const std::string path = m_texts.filePath(static_cast<int>(index));
        SCOPED_TRACE(path);
        auto keys = keysOf(path);
        auto sortedEnglish = english;
        std::sort(keys.begin(), keys.end());
        std::sort(sortedEnglish.begin(), sortedEnglish.end());
        std::vector<SectionKey> missing, extra;
        std::set_difference(sortedEnglish.begin(), sortedEnglish.end(), keys.begin(), keys.end(),
                            std::back_inserter(missing));
        std::set_difference(keys.begin(), keys.end(), sortedEnglish.begin(), sortedEnglish.end(),
                            std::back_inserter(extra));
        for (const auto& [section, key] : missing)
            ADD_FAILURE() << "missing " << section << "/" << key;
        for (const auto& [section, key] : extra)
            ADD_FAILURE() << "not in the English file: " << section << "/" << key;

        const auto doc = ReadIniDocument(path);
        ASSERT_TRUE(doc.has_value());
        for (const auto& [section, key] : english) {
            const std::string text = doc->find(section, key).value_or("");
            EXPECT_FALSE(text.empty()) << section << "/" << key;
            EXPECT_EQ(Utf8Sanitize(text), text) << key << " is not UTF-8";
            EXPECT_LE(Utf8CharCount(text), IniDocument::kMaxValueChars) << key << " would be cut";
            EXPECT_EQ(ListConversions(text), ListConversions(m_texts.lookup(section, key, 0)))
                << section << "/" << key << ": " << text;
            // A translation may move the {fields} of a text but not rename, drop or add one.
            EXPECT_EQ(bracedNames(text), bracedNames(m_texts.lookup(section, key, 0)))
                << section << "/" << key << ": " << text;
        }
    }
}

} // namespace
} // namespace ombrel
