// Writes keep the rest of the file byte for byte and read back as written; files are replaced atomically.
#include "platform/IniFile.h"
#include "text/FileBytes.h"

#include "support/TestPaths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace ombrel {
namespace {

namespace fs = std::filesystem;

struct WriteCase {
    const char* name;
    std::string before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
};

class IniWriteTest : public ::testing::TestWithParam<WriteCase> {};

TEST_P(IniWriteTest, ChangesOnlyWhatItMust) {
    const WriteCase& c = GetParam();
    IniDocument doc = IniDocument::fromBytes(c.before);
    ASSERT_TRUE(doc.setValue(c.section, c.key, c.value));
    EXPECT_EQ(doc.toBytes(), c.after);
    EXPECT_EQ(IniDocument::fromBytes(doc.toBytes()).readString(c.section, c.key, "#"), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Edits, IniWriteTest,
    ::testing::Values(
        WriteCase{"replaceKeepsCommentsAndOrder", "; head\n[A]\nx=1\n; note\ny=2\n\n[B]\nx=3\n", "A", "y", "9",
                  "; head\n[A]\nx=1\n; note\ny=9\n\n[B]\nx=3\n"},
        WriteCase{"replaceKeepsSpellingAndIndent", "[Sec]\n  Key = old \n", "SEC", "key", "new", "[Sec]\n  Key=new\n"},
        WriteCase{"replaceFirstOfDuplicates", "[A]\nx=1\nx=2\n", "A", "x", "3", "[A]\nx=3\nx=2\n"},
        WriteCase{"addKeyAtEndOfSection", "[A]\nx=1\n\n[B]\ny=2\n", "a", "z", "5", "[A]\nx=1\nz=5\n\n[B]\ny=2\n"},
        WriteCase{"addKeyToFirstOfDuplicateSections", "[A]\nx=1\n[A]\ny=2\n", "A", "y", "7",
                  "[A]\nx=1\ny=7\n[A]\ny=2\n"},
        WriteCase{"addSectionAtEnd", "[A]\nx=1\n", "B", "k", "v", "[A]\nx=1\n\n[B]\nk=v\n"},
        WriteCase{"addSectionAfterLastLineWithoutEnd", "[A]\nx=1", "B", "k", "v", "[A]\nx=1\n\n[B]\nk=v\n"},
        WriteCase{"addKeyAfterLastLineWithoutEnd", "[A]\nx=1", "A", "k", "v", "[A]\nx=1\nk=v\n"},
        WriteCase{"emptyDocument", "", "S", "k", "v", "[S]\nk=v\n"},
        WriteCase{"keepsCrLf", "[A]\r\nx=1\r\n", "A", "y", "2", "[A]\r\nx=1\r\ny=2\r\n"},
        WriteCase{"keepsUtf8Bom", "\xEF\xBB\xBF[A]\nx=1\n", "A", "x", "2", "\xEF\xBB\xBF[A]\nx=2\n"},
        WriteCase{"keysBeforeSectionsKept", "lost=1\n", "A", "x", "1", "lost=1\n\n[A]\nx=1\n"},
        WriteCase{"emptyValue", "[A]\nx=1\n", "A", "x", "", "[A]\nx=\n"},
        WriteCase{"blanksQuotedToSurvive", "", "A", "x", " padded ", "[A]\nx=\" padded \"\n"},
        WriteCase{"quotesQuotedToSurvive", "", "A", "x", "\"q\"", "[A]\nx=\"\"q\"\"\n"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(IniWriteRefusals, NamesAndValuesThatWouldBreakTheFileAreRefused) {
    const std::string before = "[A]\nx=1\n";
    const struct {
        const char* section;
        const char* key;
        std::string value;
    } refused[] = {
        {"A", "x", "two\nlines"}, {"A", "x", "cr\rhere"}, {"A", "x", std::string("nul\0", 4)},
        {"A", "", "v"},           {"", "x", "v"},         {"A", "k=v", "v"},
        {"A", ";c", "v"},         {"A", "[s", "v"},       {"A]", "x", "v"},
        {"A\n", "x", "v"},        {"A", "x\ny", "v"},     {"\xFF", "x", "v"},
    };
    for (const auto& r : refused) {
        IniDocument doc = IniDocument::fromBytes(before);
        EXPECT_FALSE(doc.setValue(r.section, r.key, r.value)) << r.section << "/" << r.key;
        EXPECT_EQ(doc.toBytes(), before);
    }
}

TEST(IniWriteEncoding, Utf16FileStaysUtf16) {
    const std::string utf16 = std::string("\xFF\xFE[\0A\0]\0\n\0x\0=\0"
                                          "1\0\n\0",
                                          18);
    IniDocument doc = IniDocument::fromBytes(utf16);
    ASSERT_TRUE(doc.setValue("A", "x", "\xC3\xA9"));
    EXPECT_EQ(doc.toBytes(), std::string("\xFF\xFE[\0A\0]\0\n\0x\0=\0\xE9\0\n\0", 18));
}

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override { m_dir = test::makeTempDir("ombrel-ini"); }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string path(const char* name) const { return m_dir + "/" + name; }
    static std::string contents(const std::string& file) { return ReadFileBytes(file).bytes; }
    static void put(const std::string& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }
    std::vector<std::string> listing() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_dir))
            names.push_back(entry.path().filename().string());
        return names;
    }

    std::string m_dir;
};

TEST_F(IniFileTest, MissingFileReadsDefaultAndIsCreatedByWrite) {
    const std::string file = path("settings.ini");
    EXPECT_EQ(ReadIniString(file, "S", "k", "none"), "none");
    EXPECT_FALSE(ReadIniDocument(file).has_value());
    ASSERT_TRUE(WriteIniString(file, "S", "k", "v"));
    EXPECT_EQ(contents(file), "[S]\nk=v\n");
    EXPECT_EQ(ReadIniString(file, "s", "K", "none"), "v");
    ASSERT_TRUE(ReadIniDocument(file).has_value());
    EXPECT_EQ(listing(), std::vector<std::string>{"settings.ini"}); // no temporary file left behind
}

TEST_F(IniFileTest, WriteKeepsOtherContentAndPermissions) {
    const std::string file = path("rira.ini");
    put(file, "; user file\n[KEYCOLOR]\nDengCheck=0\n[OTHER]\na=b\n");
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    ASSERT_TRUE(WriteIniString(file, "KEYCOLOR", "DengCheck", "1"));
    EXPECT_EQ(contents(file), "; user file\n[KEYCOLOR]\nDengCheck=1\n[OTHER]\na=b\n");
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST_F(IniFileTest, WriteThroughSymbolicLinkReplacesTheTarget) {
    const std::string target = path("real.ini");
    const std::string link = path("link.ini");
    put(target, "[A]\nx=1\n");
    fs::create_symlink(target, link);
    ASSERT_TRUE(WriteIniString(link, "A", "x", "2"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(contents(target), "[A]\nx=2\n");
}

TEST_F(IniFileTest, FailuresLeaveTheFileAlone) {
    EXPECT_FALSE(WriteIniString(path("no-such-folder/x.ini"), "A", "x", "1"));
    EXPECT_FALSE(WriteIniString(m_dir, "A", "x", "1")); // a folder is no INI file
    const std::string fifo = path("fifo.ini");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ReadIniString(fifo, "A", "x", "dflt"), "dflt"); // returns at once instead of waiting for a writer
    EXPECT_FALSE(WriteIniString(fifo, "A", "x", "1"));
    const std::string file = path("keep.ini");
    put(file, "[A]\nx=1\n");
    EXPECT_FALSE(WriteIniString(file, "A", "x", "bad\nvalue"));
    EXPECT_EQ(contents(file), "[A]\nx=1\n");
    if (::geteuid() != 0) { // root reads anything, so the unreadable case only shows for other users
        ASSERT_EQ(::chmod(file.c_str(), 0200), 0);
        EXPECT_FALSE(WriteIniString(file, "A", "y", "2"));
        ASSERT_EQ(::chmod(file.c_str(), 0600), 0);
        EXPECT_EQ(contents(file), "[A]\nx=1\n");
    }
}

TEST_F(IniFileTest, ConcurrentWritesToOneFileLoseNothing) {
    const std::string file = path("shared.ini");
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t) {
        writers.emplace_back([&, t] {
            for (int i = 0; i < 10; ++i)
                WriteIniString(file, "S", "k" + std::to_string(t) + "_" + std::to_string(i), std::to_string(i));
        });
    }
    for (auto& w : writers)
        w.join();
    const auto doc = ReadIniDocument(file);
    ASSERT_TRUE(doc.has_value());
    for (int t = 0; t < 4; ++t)
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(doc->readString("S", "k" + std::to_string(t) + "_" + std::to_string(i), "-"), std::to_string(i));
}

} // namespace
} // namespace ombrel
