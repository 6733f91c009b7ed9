// The lines of a change come out in the words of the language shown, fields in the translation's order, and
// ombrelctl's English stays as scripts have read it.
#include "keyboardfile/KeyCodeNames.h"
#include "keyboardfile/SetupDifference.h"

#include <gtest/gtest.h>

#include <map>

namespace ombrel::test {
namespace {

KeyboardSetup twoSetups(KeyboardSetup& after) {
    KeyboardSetup before;
    before.macros = std::vector<SetupMacro>{{1, "Boss", 1, {}}};
    after.macros = std::vector<SetupMacro>{{1, "Boss", 3, {}}};
    before.profiles[1].lighting[static_cast<std::size_t>(LightingItem::Colorful)] = 0;
    after.profiles[1].lighting[static_cast<std::size_t>(LightingItem::Colorful)] = 1;
    before.profiles[2].patterns[0].name = "Day";
    after.profiles[2].patterns[0].name = "Night";
    return before;
}

TEST(ChangeWords, EnglishByDefaultAsOmbrelctlPrintsIt) {
    KeyboardSetup after;
    const KeyboardSetup before = twoSetups(after);
    const SetupDifference d = CompareSetups(before, after, KeyCodeNames());
    EXPECT_EQ(d.lines,
              (std::vector<std::string>{"Macro 1 (Boss): cycles 1 -> 3", "Profile 2, lighting colorful: off -> on",
                                        "Profile 3, pattern 1 name: Day -> Night"}));
}

TEST(ChangeWords, ATranslationMovesTheFieldsAndNamesTheItems) {
    const std::map<std::string, std::string, std::less<>> german = {
        {"CHANGE_PROFILE", "{change} (Profil {profile})"},
        {"CHANGE_MACRO_CYCLES", "Makro {macro} ({name}): Wiederholungen {from} -> {to}"},
        {"CHANGE_LIGHTING", "Beleuchtung, {item}: {from} -> {to}"},
        {"CHANGE_ITEM_COLORFUL", "mehrfarbig"},
        {"CHANGE_ON", "ein"},
        {"CHANGE_OFF", "aus"},
        {"CHANGE_PATTERN_NAME", "Farbmuster {pattern}, Name: {from} -> {to}"},
    };
    // A key the file lacks comes back as the key itself or empty: the English word stays.
    const ChangeWords words = LoadChangeWords([&](std::string_view key) {
        const auto at = german.find(key);
        return at == german.end() ? std::string(key) : at->second;
    });
    EXPECT_EQ(words.toolBrush, "brush");

    KeyboardSetup after;
    const KeyboardSetup before = twoSetups(after);
    EXPECT_EQ(CompareSetups(before, after, KeyCodeNames(), words).lines,
              (std::vector<std::string>{"Makro 1 (Boss): Wiederholungen 1 -> 3",
                                        "Beleuchtung, mehrfarbig: aus -> ein (Profil 2)",
                                        "Farbmuster 1, Name: Day -> Night (Profil 3)"}));
}

} // namespace
} // namespace ombrel::test
