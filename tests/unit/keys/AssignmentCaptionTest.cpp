// Captions of the key buttons: the key's name and what an assignment makes it do.
#include "assign/AssignmentCaption.h"
#include "keys/KeysTestData.h"

#include <gtest/gtest.h>

namespace ombrel::test {
namespace {

TEST(AssignmentCaptionTest, EachTypeSaysWhatTheKeyDoes) {
    AssignmentStore store;
    store.macros.push_back(MakeMacro(4, u"Combo \u00e9", 0));
    struct Case {
        KeyRecord record;
        const char* caption;
    };
    const Case cases[] = {
        {{KF_DEFAULT, 0, 9}, "Caps"},
        {{KF_DISABLED}, "Caps[KEY_PROMPT_SET]"},
        {{KF_PROGRAM, 0, 4}, "Caps[KEY_PROMPT_SET]"},
        {{KF_STOP_MACRO}, "Caps[KEY_PROMPT_SET]"},
        {{KF_KEY, 0, kEscape}, "Caps[KEY_PROMPT_SET][KEY_PROMPT_SINGLE]k001)"},
        {{KF_MACRO, 1, 4}, "Caps[KEY_PROMPT_SET][KEY_PROMPT_MACRO]Combo \xC3\xA9)"},
        {{KF_MACRO, 1, 5}, "Caps[KEY_PROMPT_SET][KEY_PROMPT_MACRO])"}, // no such macro: empty name
        {{KF_MEDIA, 0, 7}, "Caps[KEY_PROMPT_SET][KEY_PROMPT_MEDIA]k120)"},
        {{KF_FUNCTION, 0, 0}, "Caps[KEY_PROMPT_SET][KEY_PROMPT_FUNCTION][FUNC_KEY_DESC1])"},
        {{KF_FUNCTION, 0, 10}, "Caps[KEY_PROMPT_SET][KEY_PROMPT_FUNCTION][FUNC_KEY_DESC11])"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AssignmentCaption("Caps", c.record, FakeText, FakeKeyName, MacroNamesOf(store)), c.caption);
}

TEST(AssignmentCaptionTest, GKeysAreNumberedWithinTheirBank) {
    EXPECT_EQ(KeyDisplayName(256, FakeKeyName), "G1");
    EXPECT_EQ(KeyDisplayName(264, FakeKeyName), "G9");
    EXPECT_EQ(KeyDisplayName(265, FakeKeyName), "G1");
    EXPECT_EQ(KeyDisplayName(273, FakeKeyName), "G9");
    EXPECT_EQ(KeyDisplayName(0x3A, FakeKeyName), "k03A");
    EXPECT_EQ(KeyDisplayName(0x9D, FakeKeyName), "k11D"); // extended keys come back with 0x100 added
}

} // namespace
} // namespace ombrel::test
