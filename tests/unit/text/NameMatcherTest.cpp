// Names typed by a person: what they find, and what an unknown one is offered instead.
#include "text/NameMatcher.h"

#include <gtest/gtest.h>

namespace ombrel {
namespace {

NameMatcher keyLikeNames() {
    NameMatcher m;
    const std::pair<const char*, int> names[] = {
        {"Esc", 1},
        {"Caps Lock", 2},
        {"Left Ctrl", 3},
        {"Right Ctrl", 4},
        {"Num -", 5},
        {"Num +", 6},
        {"-", 7},
        {"Play/Pause", 8},
        {"Media Player", 9},
        {"F1", 10},
        {"F11", 11},
        {"Page Up", 12},
        {"Left Arrow", 13},
        {"Left Click", 14},
        {"Num Lock", 15},
        {"\xE5\xA4\xA7\xE5\x86\x99", 16}, // a name that is no ASCII
    };
    for (const auto& [name, value] : names)
        m.add(name, value);
    m.addAlias("Ctrl", 3);
    m.addAlias("Escape", 1);
    m.addAlias("Left", 13);
    m.addAlias("PgUp", 12);
    return m;
}

TEST(NameMatcherTest, FindsNamesWhateverTheCaseBlanksAndPunctuation) {
    const NameMatcher m = keyLikeNames();
    const std::pair<const char*, int> found[] = {
        {"Esc", 1},           {"ESC", 1},        {"escape", 1},
        {"caps lock", 2},     {"CapsLock", 2},   {"caps_lock", 2},
        {"  Caps  Lock ", 2}, {"ctrl", 3},       {"Left Ctrl", 3},
        {"leftctrl", 3},      {"right-ctrl", 4}, {"Num -", 5},
        {"num+", 6},          {"-", 7},          {"play pause", 8},
        {"PlayPause", 8},     {"play", 8},       {"caps", 2},
        {"media", 9},         {"f1", 10},        {"F11", 11},
        {"pgup", 12},         {"page-up", 12},   {"left", 13},
        {"left cl", 14},      {"ctr", 3},        {"\xE5\xA4\xA7\xE5\x86\x99", 16},
    };
    for (const auto& [typed, value] : found) {
        const NameMatch r = m.match(typed);
        EXPECT_EQ(r.value, value) << "'" << typed << "'";
        EXPECT_TRUE(r.suggestions.empty()) << typed;
    }
}

TEST(NameMatcherTest, UnknownOrAmbiguousNamesGetTheClosestSuggestions) {
    const NameMatcher m = keyLikeNames();
    const struct {
        const char* typed;
        std::vector<std::string> suggestions;
    } cases[] = {
        {"Esk", {"Esc"}},                                   // one letter off
        {"Cpas Lock", {"Caps Lock"}},                       // two letters swapped
        {"trl", {"Left Ctrl", "Right Ctrl"}},               // part of two names; the alias counts as its name
        {"lef", {"Left Arrow", "Left Ctrl", "Left Click"}}, // a beginning shared by several: none is chosen
        {"nmu lock", {"Num Lock"}},
        {"frobnicate", {}},
        {"", {}},
        {"   ", {}},
        {"/", {}},
    };
    for (const auto& c : cases) {
        const NameMatch r = m.match(c.typed);
        EXPECT_FALSE(r.value) << c.typed;
        EXPECT_EQ(r.suggestions, c.suggestions) << "'" << c.typed << "'";
    }
}

TEST(NameMatcherTest, ListsShownNamesAndWordsTheSuggestions) {
    NameMatcher m;
    m.add("A", 1);
    m.addAlias("Alpha", 1);
    m.add("B", 2);
    m.add("B", 4);   // two keys of one name are listed once
    m.add("   ", 3); // nothing to match it by
    EXPECT_EQ(m.names(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(DidYouMean({}), "");
    EXPECT_EQ(DidYouMean({"Esc"}), "did you mean 'Esc'?");
    EXPECT_EQ(DidYouMean({"Left Ctrl", "Right Ctrl", "Ctrl"}), "did you mean 'Left Ctrl', 'Right Ctrl' or 'Ctrl'?");
}

} // namespace
} // namespace ombrel
