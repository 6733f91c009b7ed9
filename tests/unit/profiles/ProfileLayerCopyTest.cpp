// One profile of a file taken into the store: its records, the macros they play (renumbered when the id is taken
// by another macro, shared when the same macro is there) and their strings; the other profiles untouched.
#include "profiles/ProfileLayerCopy.h"

#include "keys/KeyFunction.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace ombrel {
namespace {

MacroRecord Macro(std::uint16_t id, const std::u16string& name) {
    MacroRecord m;
    m.setMacroId(id);
    m.setName(name);
    return m;
}

constexpr KeyIndex kKeyA = 30;
constexpr KeyIndex kKeyB = 48;

class ProfileLayerCopyTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The file: profile 2 plays macro 5 on A and types a text on B.
        source.macros.push_back(Macro(5, u"From the file"));
        source.image.setRecord(RecordNumber(1, kKeyA), {KF_MACRO, 1, 5});
        source.image.setRecord(RecordNumber(1, kKeyB), {KF_TEXT, 0, 0});
        source.strings.set(RecordNumber(1, kKeyB), u"hello");
        // The store: another macro 5, and assignments in profiles 1 and 2.
        target.macros.push_back(Macro(5, u"Mine"));
        target.image.setRecord(RecordNumber(0, kKeyA), {KF_MACRO, 1, 5});
        target.image.setRecord(RecordNumber(1, kKeyA), {KF_DISABLED});
        target.strings.set(RecordNumber(1, kKeyA), u"old");
    }
    AssignmentStore source;
    AssignmentStore target;
};

TEST_F(ProfileLayerCopyTest, TakesTheProfileWithItsMacrosAndStringsAndLeavesTheOthers) {
    std::string why;
    ASSERT_TRUE(CopyProfileLayer(source, target, 1, &why)) << why;
    ASSERT_EQ(target.macros.size(), 2u);
    EXPECT_EQ(target.macros[0].name(), u"Mine");
    EXPECT_EQ(target.macros[0].macroId(), 5);
    const MacroRecord& added = target.macros[1];
    EXPECT_EQ(added.name(), u"From the file");
    EXPECT_NE(added.macroId(), 5);
    EXPECT_EQ(target.image.record(RecordNumber(1, kKeyA)), (KeyRecord{KF_MACRO, 1, added.macroId()}));
    EXPECT_EQ(target.image.record(RecordNumber(1, kKeyB)), (KeyRecord{KF_TEXT, 0, 0}));
    EXPECT_EQ(target.strings.text(RecordNumber(1, kKeyB)), u"hello");
    EXPECT_TRUE(target.strings.empty(RecordNumber(1, kKeyA)));
    EXPECT_EQ(target.image.record(RecordNumber(0, kKeyA)), (KeyRecord{KF_MACRO, 1, 5})); // profile 1 as it was

    // Taken again: the same macro is there now and is shared, not added twice.
    ASSERT_TRUE(CopyProfileLayer(source, target, 1));
    EXPECT_EQ(target.macros.size(), 2u);
}

TEST_F(ProfileLayerCopyTest, RefusesWhatDoesNotFitAndLeavesTheStore) {
    for (std::uint16_t id = 100; target.macros.size() < static_cast<std::size_t>(kMaxMacros); ++id)
        target.macros.push_back(Macro(id, u"full"));
    const KeyImage before = target.image;
    std::string why;
    EXPECT_FALSE(CopyProfileLayer(source, target, 1, &why));
    EXPECT_NE(why.find("100"), std::string::npos);
    EXPECT_EQ(target.macros.size(), static_cast<std::size_t>(kMaxMacros));
    EXPECT_TRUE(std::equal(before.bytes().begin(), before.bytes().end(), target.image.bytes().begin()));
    EXPECT_FALSE(CopyProfileLayer(source, target, 3));
    EXPECT_FALSE(CopyProfileLayer(source, target, -1));
}

} // namespace
} // namespace ombrel
