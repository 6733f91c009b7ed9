// Filling language texts: the program's argument lands in the one conversion it expects, and nothing a text
// says can make the formatter read another argument or write anywhere.
#include "text/SafeFormat.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>

namespace ombrel {
namespace {

struct IntCase {
    const char* format;
    long long value;
    const char* expected;
};

TEST(FormatTextInt, FillsTheFirstIntegerConversionLikePrintf) {
    const IntCase cases[] = {
        {"Unknown key (0x%03X)", 0x64, "Unknown key (0x064)"},
        {"At most %d macros.", 100, "At most 100 macros."},
        {"%i", -42, "-42"},
        {"%u", 7, "7"},
        {"%x|%X", 0xABC, "abc|%X"},
        {"%o", 8, "10"},
        {"[%5d]", 42, "[   42]"},
        {"[%-5d]", 42, "[42   ]"},
        {"[%05d]", -42, "[-0042]"},
        {"[%+d]", 5, "[+5]"},
        {"[% d]", 5, "[ 5]"},
        {"[%.3d]", 5, "[005]"},
        {"[%08.3d]", 5, "[     005]"}, // a precision turns the 0 flag off
        {"[%.0d]", 0, "[]"},
        {"[%#x]", 255, "[0xff]"},
        {"[%#X]", 0, "[0]"},
        {"[%#o]", 8, "[010]"},
        {"%hhu", 0x1FF, "255"},
        {"%hd", 0x18000, "-32768"},
        {"%d", 0x1FFFFFFFFLL, "-1"},
        {"%u", -1, "4294967295"},
        {"%lld", LLONG_MIN, "-9223372036854775808"},
        {"%llx", -1, "ffffffffffffffff"},
        {"%lu", 1LL << 40, "1099511627776"},
        {"%zd %jd %td", 3, "3 %jd %td"},
        {"100%% sure: %d", 1, "100% sure: 1"},
        {"no conversion", 9, "no conversion"},
        {"", 9, ""},
    };
    for (const IntCase& c : cases)
        EXPECT_EQ(FormatTextInt(c.format, c.value), c.expected) << c.format;
}

TEST(FormatTextInt, ShowsEveryOtherConversionAsWritten) {
    const struct {
        const char* format;
        const char* expected;
    } cases[] = {
        {"%s then %d", "%s then 7"}, // a string conversion is not the integer's
        {"%d and %d", "7 and %d"},   // a second conversion gets no argument
        {"%n%d", "%n7"},             // %n never writes
        {"%p %f %c %e %g %a %S %C", "%p %f %c %e %g %a %S %C"},
        {"%*d %d", "%*d 7"}, // a width from the arguments is not offered
        {"%.*d", "%.*d"},
        {"%1$d", "%1$d"}, // positional arguments are not offered
        {"%999999999999999999999d|%d", "%999999999999999999999d|7"},
        {"%.300d", "%.300d"}, // widths above the limit are shown literally
        {"%hhs", "%hhs"},
        {"ends with %", "ends with %"},
        {"ends with %-0", "ends with %-0"},
        {"%ll", "%ll"},
        {"%%d", "%d"},
        {"%%%d", "%7"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatTextInt(c.format, 7), c.expected) << c.format;
}

TEST(FormatTextInt, AgreesWithPrintfOnWhatItAccepts) {
    const char* formats[] = {"%d", "%5i", "%-7u", "%08x", "%#10X", "%+.4d", "% 06d", "%#o", "%.0u", "%-+8.3d"};
    const int values[] = {0, 1, -1, 255, -4096, 65535, INT_MAX, INT_MIN};
    for (const char* format : formats) {
        for (const int value : values) {
            char expected[64];
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
            std::snprintf(expected, sizeof expected, format, value);
#pragma GCC diagnostic pop
            EXPECT_EQ(FormatTextInt(format, value), expected) << format << " " << value;
        }
    }
}

TEST(FormatTextString, FillsTheFirstStringConversion) {
    const struct {
        const char* format;
        const char* value;
        const char* expected;
    } cases[] = {
        {"The file %s is not a valid profile.", "/home/u/a.obp", "The file /home/u/a.obp is not a valid profile."},
        {"%ls", "wide", "wide"},
        {"[%6s]", "ab", "[    ab]"},
        {"[%-6s]", "ab", "[ab    ]"},
        {"[%.2s]", "abcdef", "[ab]"},
        {"[%.2s]", "\xC3\xA9\xC3\xA8\xC3\xA0", "[\xC3\xA9\xC3\xA8]"}, // counted in characters, never split
        {"[%3s]", "\xC3\xA9", "[  \xC3\xA9]"},
        {"%d: %s %s", "x", "%d: x %s"},
        {"%s", "%d %n %%", "%d %n %%"}, // the argument is copied, never read as a format
        {"%s", "bad\xFFpath", "bad\xEF\xBF\xBDpath"},
        {"100%%", "x", "100%"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatTextString(c.format, c.value), c.expected) << c.format;
}

TEST(ListConversions, NamesEachConversionOfAText) {
    using K = ConversionKind;
    EXPECT_EQ(ListConversions("Unknown key (%04X)"), (std::vector<K>{K::Integer}));
    EXPECT_EQ(ListConversions("%s: %d%% done %n"), (std::vector<K>{K::String, K::Integer, K::Other}));
    EXPECT_EQ(ListConversions("100%% plain"), std::vector<K>{});
    EXPECT_EQ(ListConversions("trailing %"), (std::vector<K>{K::Other}));
}

} // namespace
} // namespace ombrel
