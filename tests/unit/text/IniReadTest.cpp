// Reading rules of INI files, checked against small documents that each show one rule.
#include "text/IniDocument.h"

#include <gtest/gtest.h>

#include <string>

namespace ombrel {
namespace {

struct ReadCase {
    const char* name;
    std::string file;
    const char* section;
    const char* key;
    const char* expected;
};

class IniReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniReadTest, ReadsValueOrDefault) {
    const ReadCase& c = GetParam();
    EXPECT_EQ(IniDocument::fromBytes(c.file).readString(c.section, c.key, "dflt"), c.expected);
}

const std::string kUtf16File = std::string("\xFF\xFE[\0T\0]\0\r\0\n\0k\0=\0\xE9\0\x3D\xD8\x00\xDE", 22);

INSTANTIATE_TEST_SUITE_P(
    Rules, IniReadTest,
    ::testing::Values(ReadCase{"plain", "[TEXT]\nA=hello\n", "TEXT", "A", "hello"},
                      ReadCase{"namesIgnoreCase", "[Text]\nmain_Caption=x\n", "TEXT", "MAIN_CAPTION", "x"},
                      ReadCase{"missingKey", "[TEXT]\nA=1\n", "TEXT", "B", "dflt"},
                      ReadCase{"missingSection", "[TEXT]\nA=1\n", "LIGHT", "A", "dflt"},
                      ReadCase{"emptyValueIsNotMissing", "[TEXT]\nA=\n", "TEXT", "A", ""},
                      ReadCase{"blanksTrimmed", "  [ TEXT ]  \n\t A \t=  two words \t\n", "TEXT", "A", "two words"},
                      ReadCase{"doubleQuotesRemoved", "[T]\nA=\" padded \"\n", "T", "A", " padded "},
                      ReadCase{"singleQuotesRemoved", "[T]\nA='x'\n", "T", "A", "x"},
                      ReadCase{"onlyOnePairRemoved", "[T]\nA=\"\"x\"\"\n", "T", "A", "\"x\""},
                      ReadCase{"unmatchedQuotesKept", "[T]\nA=\"x'\n", "T", "A", "\"x'"},
                      ReadCase{"loneQuoteKept", "[T]\nA=\"\n", "T", "A", "\""},
                      ReadCase{"valueMayHoldEquals", "[T]\nA=b=c\n", "T", "A", "b=c"},
                      ReadCase{"commentLineIgnored", "[T]\n;A=commented\nA=real\n", "T", "A", "real"},
                      ReadCase{"indentedComment", "[T]\n   ;A=commented\n", "T", "A", "dflt"},
                      ReadCase{"firstKeyWins", "[T]\nA=first\nA=second\n", "T", "A", "first"},
                      ReadCase{"firstSectionWins", "[T]\nA=first\n[T]\nA=second\nB=later\n", "T", "A", "first"},
                      ReadCase{"laterDuplicateSectionUnseen", "[T]\nA=first\n[t]\nB=later\n", "T", "B", "dflt"},
                      ReadCase{"lineWithoutEqualsIsNoKey", "[T]\nA\n", "T", "A", "dflt"},
                      ReadCase{"emptyKeyNameIgnored", "[T]\n=x\n", "T", "", "dflt"},
                      ReadCase{"keyBeforeAnySectionUnseen", "A=x\n[T]\n", "T", "A", "dflt"},
                      ReadCase{"keyBeforeAnySectionNotInEmptyName", "A=x\n", "", "A", "dflt"},
                      ReadCase{"textAfterBracketIgnored", "[T] trailing\nA=1\n", "T", "A", "1"},
                      ReadCase{"unclosedBracketIsNoSection", "[T]\n[U\nA=1\n", "T", "A", "1"},
                      ReadCase{"crLfLines", "[T]\r\nA=1\r\nB=2\r\n", "T", "B", "2"},
                      ReadCase{"crOnlyLines", "[T]\rA=1\rB=2", "T", "B", "2"},
                      ReadCase{"lastLineWithoutEnd", "[T]\nA=end", "T", "A", "end"},
                      ReadCase{"utf8BomSkipped", "\xEF\xBB\xBF[T]\nA=1\n", "T", "A", "1"},
                      ReadCase{"utf8Kept", "[T]\nA=Caf\xC3\xA9 \xE2\x86\x91\n", "T", "A", "Caf\xC3\xA9 \xE2\x86\x91"},
                      ReadCase{"invalidUtf8Replaced",
                               "[T]\nA=a\xFF"
                               "b\n",
                               "T", "A",
                               "a\xEF\xBF\xBD"
                               "b"},
                      ReadCase{"utf16LeWithBom", kUtf16File, "T", "k", "\xC3\xA9\xF0\x9F\x98\x80"},
                      ReadCase{"emptyFile", "", "T", "A", "dflt"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(IniReadLimits, ValuesAndDefaultsAreCutTo259Characters) {
    const std::string ascii(300, 'a');
    EXPECT_EQ(IniDocument::fromBytes("[T]\nA=" + ascii + "\n").readString("T", "A", ""), std::string(259, 'a'));
    // 300 two-byte characters: the cut falls on a character boundary, after 259 of them.
    std::string accented;
    for (int i = 0; i < 300; ++i)
        accented += "\xC3\xA9";
    const std::string read = IniDocument::fromBytes("[T]\nA=" + accented + "\n").readString("T", "A", "");
    EXPECT_EQ(read, accented.substr(0, 259 * 2));
    EXPECT_EQ(IniDocument().readString("T", "A", ascii), std::string(259, 'a'));
    // Found values are not changed by the limit when they fit.
    EXPECT_EQ(IniDocument::fromBytes("[T]\nA=" + std::string(259, 'b')).readString("T", "A", ""),
              std::string(259, 'b'));
}

TEST(IniReadLimits, DefaultLosesTrailingBlanksOnly) {
    EXPECT_EQ(IniDocument().readString("T", "A", "  x \t "), "  x");
    EXPECT_EQ(IniDocument().readString("T", "A", "1,1,1,1,x"), "1,1,1,1,x");
}

TEST(IniReadLimits, FindGivesWholeValueAndTellsMissingFromEmpty) {
    const IniDocument doc = IniDocument::fromBytes("[T]\nE=\nL=" + std::string(400, 'z') + "\n");
    EXPECT_EQ(doc.find("T", "E"), std::optional<std::string>(""));
    EXPECT_EQ(doc.find("T", "L")->size(), 400u);
    EXPECT_FALSE(doc.find("T", "M").has_value());
}

} // namespace
} // namespace ombrel
