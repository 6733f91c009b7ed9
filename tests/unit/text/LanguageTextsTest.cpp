// Language lookups: which file is read, "#Error" for anything missing, and that the cache follows the file.
#include "text/LanguageTexts.h"

#include "support/TestPaths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

namespace ombrel {
namespace {

namespace fs = std::filesystem;

class LanguageTextsTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = test::makeTempDir("ombrel-lang");
        write("Lang0409.ini", "[TEXT]\nMAIN_CAPTION=Ombrel\nEMPTY=\nLONG=" + std::string(300, 'x') +
                                  "\n[LIGHT]\nSpeed=Speed\n[MODE]\n1=Wave\n");
    }
    void TearDown() override { fs::remove_all(m_dir); }

    void write(const std::string& name, const std::string& text) {
        // Written beside and renamed, as an editor or an update would, so the file is never seen half written.
        const std::string file = m_dir + "/" + name;
        std::ofstream(file + ".tmp", std::ios::binary) << text;
        fs::rename(file + ".tmp", file);
    }

    std::string m_dir;
};

TEST_F(LanguageTextsTest, LooksUpEachSection) {
    const LanguageTexts texts(m_dir);
    EXPECT_EQ(texts.lookupText("main_caption", 0), "Ombrel");
    EXPECT_EQ(texts.lookupLight("Speed", 0), "Speed");
    EXPECT_EQ(texts.lookupMode("1", 0), "Wave");
    EXPECT_EQ(texts.lookupText("LONG", 0), std::string(259, 'x'));
}

TEST_F(LanguageTextsTest, MissingReadsErrorButEmptyStaysEmpty) {
    const LanguageTexts texts(m_dir);
    EXPECT_EQ(texts.lookupText("EMPTY", 0), "");
    EXPECT_EQ(texts.lookupText("NO_SUCH_KEY", 0), "#Error");
    EXPECT_EQ(texts.lookupMode("Speed", 0), "#Error");        // the key lives in another section
    EXPECT_EQ(texts.lookupText("MAIN_CAPTION", 1), "#Error"); // empty slot: Lang0000.ini does not exist
    EXPECT_EQ(LanguageTexts(m_dir + "/missing").lookupText("MAIN_CAPTION", 0), "#Error");
}

TEST_F(LanguageTextsTest, IndexesOutsideTheTableReadEntryZero) {
    const LanguageTexts texts(m_dir);
    for (const int index : {6, 7, 1000, -1})
        EXPECT_EQ(texts.lookupText("MAIN_CAPTION", index), "Ombrel") << index;
    EXPECT_EQ(texts.filePath(7), m_dir + "/Lang0409.ini");
    EXPECT_EQ(texts.filePath(2), m_dir + "/Lang040C.ini");
    EXPECT_EQ(LanguageFileName(0x0C0A), "Lang0C0A.ini");
}

TEST_F(LanguageTextsTest, SeesAChangedFileAndAFileThatAppearsOrGoes) {
    LanguageTexts texts(m_dir);
    EXPECT_EQ(texts.lookupText("MAIN_CAPTION", 0), "Ombrel");
    write("Lang0409.ini", "[TEXT]\nMAIN_CAPTION=Renamed\n");
    EXPECT_EQ(texts.lookupText("MAIN_CAPTION", 0), "Renamed");
    fs::remove(m_dir + "/Lang0409.ini");
    EXPECT_EQ(texts.lookupText("MAIN_CAPTION", 0), "#Error");
    write("Lang0409.ini", "[TEXT]\nMAIN_CAPTION=Back\n");
    EXPECT_EQ(texts.lookupText("MAIN_CAPTION", 0), "Back");
    const std::string other = test::makeTempDir("ombrel-lang2");
    texts.setDataFolder(other);
    EXPECT_EQ(texts.lookupText("MAIN_CAPTION", 0), "#Error");
    fs::remove_all(other);
}

TEST_F(LanguageTextsTest, SharedTextsServeTheFreeLookups) {
    SharedLanguageTexts().setDataFolder(m_dir);
    EXPECT_EQ(lookupText("MAIN_CAPTION", 0), "Ombrel");
    EXPECT_EQ(lookupLight("Speed", 9), "Speed");
    EXPECT_EQ(lookupMode("2", 0), "#Error");
    SharedLanguageTexts().setDataFolder({});
}

TEST_F(LanguageTextsTest, LookupsFromManyThreadsWhileTheFileChanges) {
    const LanguageTexts texts(m_dir);
    std::vector<std::thread> readers;
    for (int t = 0; t < 4; ++t) {
        readers.emplace_back([&] {
            for (int i = 0; i < 200; ++i) {
                const std::string caption = texts.lookupText("MAIN_CAPTION", 0);
                EXPECT_TRUE(caption == "Ombrel" || caption == "Other") << caption;
            }
        });
    }
    for (int i = 0; i < 20; ++i)
        write("Lang0409.ini", std::string("[TEXT]\nMAIN_CAPTION=") + (i % 2 ? "Ombrel" : "Other") + "\n");
    for (auto& r : readers)
        r.join();
}

} // namespace
} // namespace ombrel
