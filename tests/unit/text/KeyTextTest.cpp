// Key names: the key table's text key looked up in the language file, the "UNKNOWN_KEY" fallback, and the cut
// to the caller's capacity.
#include "text/KeyText.h"

#include "support/TestPaths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace ombrel {
namespace {

class KeyTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = test::makeTempDir("ombrel-keytext");
        std::ofstream(m_dir + "/Lang0409.ini") << "[TEXT]\n"
                                                  "UNKNOWN_KEY=Key 0x%03X\n"
                                                  "IDS_KEYBOARD_ESC=\xC3\x89"
                                                  "chap\n" // "Échap": 2 bytes, then 4
                                                  "IDS_KEYBOARD_A=A\n"
                                                  "IDS_KEYBOARD_CAPS=\n"
                                                  "IDS_KEYBOARD_RSHIFT=Right Shift\n";
        m_texts.setDataFolder(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::string m_dir;
    LanguageTexts m_texts;
};

TEST_F(KeyTextTest, NamesKeysFromTheirTextKeys) {
    EXPECT_EQ(KeyText(m_texts, 0x001, 0), "\xC3\x89"
                                          "chap");
    EXPECT_EQ(KeyText(m_texts, 0x01E, 7), "A"); // index 7 reads entry 0
    EXPECT_EQ(KeyText(m_texts, 0x136, 0), "Right Shift");
    EXPECT_EQ(KeyText(m_texts, 0x002, 0), "#Error"); // a text key the file lacks shows the missing-text mark
}

TEST_F(KeyTextTest, KeysWithoutANameGetTheUnknownKeyText) {
    EXPECT_EQ(KeyText(m_texts, 0x064, 0), "Key 0x064"); // F13: a row without a text key
    EXPECT_EQ(KeyText(m_texts, 0x03A, 0), "Key 0x03A"); // Caps Lock: its text is empty
    EXPECT_EQ(KeyText(m_texts, 0x055, 0), "Key 0x055"); // an empty row
    EXPECT_EQ(KeyText(m_texts, 0x205, 0), "Key 0x205"); // beyond the key table
    EXPECT_EQ(KeyText(m_texts, 0xFFFF, 0), "Key 0xFFFF");
}

TEST_F(KeyTextTest, HostileUnknownKeyTextStaysText) {
    std::ofstream(m_dir + "/Lang0409.ini") << "[TEXT]\nUNKNOWN_KEY=%s%n%d %d\n";
    EXPECT_EQ(KeyText(m_texts, 0x064, 0), "%s%n100 %d");
}

TEST_F(KeyTextTest, CutsToCapacityMinusOneCharacters) {
    const struct {
        std::size_t capacity;
        const char* expected;
    } cases[] = {
        {0, ""},
        {1, ""},
        {2, "\xC3\x89"},
        {4, "\xC3\x89"
            "ch"},
        {6, "\xC3\x89"
            "chap"},
        {7, "\xC3\x89"
            "chap"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KeyText(m_texts, 0x001, 0, c.capacity), c.expected) << c.capacity;
    EXPECT_EQ(KeyText(m_texts, 0x064, 0, 5), "Key ");
}

TEST_F(KeyTextTest, PickerTextNamesTheLowestRowAtAPosition) {
    EXPECT_EQ(PickerText(m_texts, 0, 0), "A");
    EXPECT_EQ(PickerText(m_texts, 103, 0), "Right Shift"); // two rows share it
    EXPECT_EQ(PickerText(m_texts, 106, 0), "");            // no row there
    EXPECT_EQ(PickerText(m_texts, 26, 0), "#Error");       // "1": its text is missing from this file
}

TEST_F(KeyTextTest, SharedTextsServeTheShortForms) {
    SharedLanguageTexts().setDataFolder(m_dir);
    EXPECT_EQ(KeyText(0x01E, 0), "A");
    EXPECT_EQ(PickerText(0, 0), "A");
    SharedLanguageTexts().setDataFolder({});
}

} // namespace
} // namespace ombrel
