#include "text/WholeNumber.h"

#include <gtest/gtest.h>

#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace ombrel {
namespace {

TEST(WholeNumber, TakesDecimalAndHexadecimalAfter0xOnly) {
    struct Case {
        std::string_view text;
        std::optional<long long> value;
    };
    const Case cases[] = {
        {"0", 0},
        {"12", 12},
        {"012", 12}, // a leading zero is no octal
        {"0x1F", 0x1F},
        {"0XfF", 0xFF},
        {"0x0409", 0x409},
        {"9223372036854775807", 9223372036854775807LL},
        {"0x7FFFFFFFFFFFFFFF", 0x7FFFFFFFFFFFFFFFLL},
        {"", std::nullopt},
        {"0x", std::nullopt},
        {"x12", std::nullopt},
        {"-1", std::nullopt},
        {"+1", std::nullopt},
        {"0x-1", std::nullopt},
        {"0x+1", std::nullopt},
        {" 1", std::nullopt},
        {"1 ", std::nullopt},
        {"1.5", std::nullopt},
        {"12a", std::nullopt},
        {"1F", std::nullopt}, // hexadecimal digits only after 0x
        {"9223372036854775808", std::nullopt},
        {"0x8000000000000000", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseWholeNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(WholeNumber, DecimalTakesDigitsOnly) {
    const std::vector<std::pair<std::string_view, std::optional<unsigned long>>> cases = {
        {"0", 0},
        {"012", 12},
        {"255", 255},
        {"", std::nullopt},
        {"0x1F", std::nullopt},
        {"-1", std::nullopt},
        {"+1", std::nullopt},
        {" 1", std::nullopt},
        {"1 ", std::nullopt},
        {"1.5", std::nullopt},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(ParseDecimal(text), value) << '"' << text << '"';
}

} // namespace
} // namespace ombrel
