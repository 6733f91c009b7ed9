#include "text/NamedFields.h"

#include <gtest/gtest.h>

namespace ombrel {
namespace {

TEST(FillNamedFields, PutsEachNamedValueInAndLeavesEverythingElseAsWritten) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"Macro {macro} ({name}) removed", "Macro 2 (Boss) removed"},
        {"{name}: {macro}{macro}", "Boss: 22"}, // any order, a field twice
        {"no fields at all", "no fields at all"},
        {"{unknown} {name}", "{unknown} Boss"}, // a field nobody names stays
        {"{{name}} {", "{Boss} {"},             // stray braces stay
        {"{name", "{name"},                     // unclosed
        {"", ""},
        {"%s {name} %n", "%s Boss %n"}, // printf conversions mean nothing here
    };
    for (const Case& c : cases)
        EXPECT_EQ(FillNamedFields(c.text, {{"macro", "2"}, {"name", "Boss"}}), c.expected) << c.text;
}

TEST(FillNamedFields, NeverScansAValueAgain) {
    EXPECT_EQ(FillNamedFields("{from} -> {to}", {{"from", "{to}"}, {"to", "x"}}), "{to} -> x");
}

} // namespace
} // namespace ombrel
