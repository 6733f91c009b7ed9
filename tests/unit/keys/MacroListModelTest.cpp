// The macro tab's edits without widgets: names, ids, deletion, cycles, steps and the commit into the store.
#include "assign/MacroListModel.h"
#include "keys/KeysTestData.h"

#include <gtest/gtest.h>

namespace ombrel::test {
namespace {

class MacroListModelTest : public ::testing::Test {
protected:
    std::vector<std::u16string> names() const {
        std::vector<std::u16string> out;
        for (int i = 0; i < model.count(); ++i)
            out.push_back(model.macro(i).name());
        return out;
    }
    std::vector<std::uint32_t> delays() const {
        std::vector<std::uint32_t> out;
        for (int i = 0; i < model.stepCount(); ++i)
            out.push_back(model.step(i).delayMs);
        return out;
    }
    void addMacroAssignedTo(std::uint16_t id, int recordNumber) {
        store.macros.push_back(MakeMacro(id, u"stored" + std::u16string(1, static_cast<char16_t>(u'0' + id)), 2));
        store.image.setRecord(recordNumber, {KF_MACRO, 1, id});
    }

    AssignmentStore store;
    MacroListModel model{u"Macro"};
};

TEST_F(MacroListModelTest, AddNamesAfterTheCounterSkippingNamesThatAreTaken) {
    store.macros.push_back(MakeMacro(1, u"MACRO1", 0));
    model.load(store);
    EXPECT_EQ(model.add(), MacroListModel::AddResult::Added);
    EXPECT_EQ(model.macro(1).name(), u"Macro2"); // "MACRO1" begins with "Macro1", letter case aside
    EXPECT_EQ(model.macro(1).macroId(), 2);
    EXPECT_EQ(model.macro(1).cycles(), 1);
    EXPECT_TRUE(model.macro(1).isNew());
    EXPECT_EQ(model.current(), 1);
    EXPECT_TRUE(model.modified());

    // "Macro12" is taken by the prefix search when "Macro1" would be generated next... and so is "Macro1".
    MacroListModel other{u"Macro"};
    AssignmentStore s;
    s.macros.push_back(MakeMacro(1, u"macro12", 0));
    other.load(s);
    other.add();
    EXPECT_EQ(other.macro(1).name(), u"Macro2");
}

TEST_F(MacroListModelTest, AddStopsAtOneHundredMacros) {
    for (int i = 0; i < kMaxMacros; ++i)
        ASSERT_EQ(model.add(), MacroListModel::AddResult::Added) << i;
    EXPECT_EQ(model.add(), MacroListModel::AddResult::TooMany);
    EXPECT_EQ(model.count(), kMaxMacros);
    EXPECT_EQ(model.macro(99).macroId(), 100);
    EXPECT_EQ(model.macro(99).name(), u"Macro100");
}

TEST_F(MacroListModelTest, RenameReplacesEmptyAndAmbiguousNamesWithGeneratedOnes) {
    model.add(); // Macro1
    model.add(); // Macro2
    EXPECT_TRUE(model.rename(u"Jump"));
    EXPECT_EQ(names(), (std::vector<std::u16string>{u"Macro1", u"Jump"}));
    model.select(0);
    model.rename(u"ju"); // the beginning of another macro's name, any case
    EXPECT_EQ(model.macro(0).name(), u"Macro3");
    model.rename(u"");
    EXPECT_EQ(model.macro(0).name(), u"Macro4");
    model.rename(u"Macro4"); // its own name is fine
    EXPECT_EQ(model.macro(0).name(), u"Macro4");
    model.rename(std::u16string(300, u'x'));
    EXPECT_EQ(model.macro(0).name(), std::u16string(kMaxMacroNameLength, u'x'));
    // A character that needs two units and would be cut in half at the end is left out whole.
    model.rename(std::u16string(kMaxMacroNameLength - 1, u'y') + u"\U0001F600z");
    EXPECT_EQ(model.macro(0).name(), std::u16string(kMaxMacroNameLength - 1, u'y'));
    model.rename(std::u16string(kMaxMacroNameLength - 2, u'y') + u"\U0001F600z");
    EXPECT_EQ(model.macro(0).name(), std::u16string(kMaxMacroNameLength - 2, u'y') + u"\U0001F600");

    model.select(-1);
    EXPECT_FALSE(model.rename(u"nobody")); // macros but none current: nothing to rename
    EXPECT_EQ(model.count(), 2);

    MacroListModel empty{u"Macro"};
    EXPECT_TRUE(empty.rename(u"Fresh")); // typing into an empty list creates a macro
    ASSERT_EQ(empty.count(), 1);
    EXPECT_EQ(empty.macro(0).name(), u"Fresh");
    EXPECT_EQ(empty.macro(0).macroId(), 1);

    // Emptied again, a cleared name box counts from 1 again, as Add does.
    empty.add();
    empty.add();
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(empty.deleteCurrent(store, {}), MacroListModel::DeleteResult::Deleted);
    EXPECT_TRUE(empty.rename(u""));
    EXPECT_EQ(empty.macro(0).name(), u"Macro1");
}

TEST_F(MacroListModelTest, DeleteAsksOnlyForStoredMacrosThatKeysUse) {
    addMacroAssignedTo(1, 256); // G1 of profile 0
    addMacroAssignedTo(2, RecordNumber(2, kTab));
    store.macros.push_back(MakeMacro(3, u"unused", 0));
    model.load(store);
    int asked = 0;
    auto answer = [&](bool yes) {
        return [&asked, yes] {
            ++asked;
            return yes;
        };
    };

    model.select(0);
    EXPECT_EQ(model.deleteCurrent(store, answer(false)), MacroListModel::DeleteResult::Kept);
    EXPECT_EQ(asked, 1);
    model.select(2);
    EXPECT_EQ(model.deleteCurrent(store, answer(false)), MacroListModel::DeleteResult::Deleted);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(model.current(), 1); // the previous macro
    EXPECT_EQ(model.deleteCurrent(store, answer(true)), MacroListModel::DeleteResult::Deleted);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(model.current(), 0);

    model.add();
    model.selectStep(-1);
    EXPECT_EQ(model.deleteCurrent(store, answer(false)), MacroListModel::DeleteResult::Deleted); // new: at once
    EXPECT_EQ(asked, 2);
    model.select(-1);
    EXPECT_EQ(model.deleteCurrent(store, answer(true)), MacroListModel::DeleteResult::Nothing);
}

TEST_F(MacroListModelTest, CommitClearsKeysOfDeletedAndReusedIds) {
    addMacroAssignedTo(1, RecordNumber(1, kTab));
    store.macros.push_back(MakeMacro(2, u"unused", 0));
    addMacroAssignedTo(3, RecordNumber(0, kTab));
    store.image.setRecord(RecordNumber(2, kTab), {KF_MACRO, 1, 0}); // a macro key without a macro yet
    model.load(store);
    model.select(2);
    ASSERT_EQ(model.deleteCurrent(store, [] { return true; }), MacroListModel::DeleteResult::Deleted);
    model.add(); // takes the freed id 3
    EXPECT_EQ(model.macro(2).macroId(), 3);

    EXPECT_EQ(model.commit(store), 2);
    const KeyRecord reused = store.image.record(RecordNumber(0, kTab));
    EXPECT_EQ(reused.type, KF_DEFAULT);
    EXPECT_EQ(reused.value, 3u); // the value is left as it was
    EXPECT_EQ(store.image.record(RecordNumber(1, kTab)).type, KF_MACRO);
    EXPECT_EQ(store.image.record(RecordNumber(2, kTab)).value, 1u); // the first listed macro
    ASSERT_EQ(store.macros.size(), 3u);
    EXPECT_EQ(store.macros[2].macroId(), 3);
    EXPECT_EQ(store.macros[2].name(), u"Macro1");
    EXPECT_FALSE(store.macros[2].isNew());
    EXPECT_FALSE(model.macro(2).isNew());
}

TEST_F(MacroListModelTest, CyclesAreClampedToOneByte) {
    model.add();
    EXPECT_EQ(model.setCycles(0), 1);
    EXPECT_EQ(model.setCycles(-7), 1);
    EXPECT_EQ(model.setCycles(256), 255);
    EXPECT_EQ(model.setCycles(1LL << 40), 255);
    EXPECT_EQ(model.setCycles(17), 17);
    EXPECT_EQ(model.macro(0).cycles(), 17);
}

TEST_F(MacroListModelTest, RecordedStepsGiveTheirPauseToTheStepBefore) {
    model.add();
    model.recordDelays = true;
    model.addStep(900, kKeyA, MACRO_PRESS); // the time before the first press is dropped
    model.addStep(120, kKeyA, MACRO_RELEASE);
    EXPECT_EQ(delays(), (std::vector<std::uint32_t>{120, 0}));
    EXPECT_EQ(model.step(1).state, MACRO_RELEASE);
    EXPECT_EQ(model.selectedStep(), 1);

    // Into the middle: after the selected first step, which takes the new pause; the new step takes its old one.
    model.selectStep(0);
    model.addStep(30, kTab, MACRO_PRESS);
    EXPECT_EQ(delays(), (std::vector<std::uint32_t>{30, 120, 0}));
    EXPECT_EQ(model.step(1).keyCode, kTab);

    model.clearSteps();
    model.recordDelays = false;
    model.addStep(900, kKeyA, MACRO_PRESS);
    model.addStep(120, kKeyA, MACRO_RELEASE);
    EXPECT_EQ(delays(), (std::vector<std::uint32_t>{50, 0}));

    // Timed pauses show as the keyboard keeps them, in whole steps of 10 ms.
    model.clearSteps();
    model.recordDelays = true;
    for (std::uint32_t ms : {0u, 75u, 76u, 6u})
        model.addStep(ms, kKeyA, MACRO_PRESS);
    EXPECT_EQ(delays(), (std::vector<std::uint32_t>{70, 70, 0, 0}));
}

TEST_F(MacroListModelTest, StepsStopAtFourThousand) {
    model.add();
    for (int i = 0; i < kMaxMacroActions; ++i)
        ASSERT_TRUE(model.addStep(10, kKeyA, static_cast<std::uint16_t>(i % 2)));
    EXPECT_FALSE(model.addStep(10, kKeyA, MACRO_PRESS));
    EXPECT_EQ(model.stepCount(), kMaxMacroActions);
    MacroListModel none{u"M"};
    EXPECT_FALSE(none.addStep(10, kKeyA, MACRO_PRESS)); // no macro to add to
}

TEST_F(MacroListModelTest, MovedStepsKeepTheirPauseAndSelection) {
    model.add();
    model.recordDelays = true;
    for (std::uint32_t d : {10u, 20u, 30u, 40u})
        model.addStep(d, static_cast<KeyCode>(0x10 + d / 10), MACRO_PRESS);
    // Steps 0x11..0x14 with pauses 20, 30, 40, 0.
    auto keys = [&] {
        std::vector<int> k;
        for (int i = 0; i < model.stepCount(); ++i)
            k.push_back(model.step(i).keyCode);
        return k;
    };
    model.selectStep(2);
    model.moveStep(MacroListModel::StepMove::Top);
    EXPECT_EQ(keys(), (std::vector<int>{0x13, 0x11, 0x12, 0x14}));
    EXPECT_EQ(delays(), (std::vector<std::uint32_t>{40, 20, 30, 0}));
    EXPECT_EQ(model.selectedStep(), 0);
    model.moveStep(MacroListModel::StepMove::Up); // clamped at the top
    EXPECT_EQ(model.selectedStep(), 0);
    model.moveStep(MacroListModel::StepMove::Down);
    EXPECT_EQ(keys(), (std::vector<int>{0x11, 0x13, 0x12, 0x14}));
    model.moveStep(MacroListModel::StepMove::Bottom);
    EXPECT_EQ(keys(), (std::vector<int>{0x11, 0x12, 0x14, 0x13}));
    EXPECT_EQ(model.selectedStep(), 3);
    model.moveStep(MacroListModel::StepMove::Down);
    EXPECT_EQ(model.selectedStep(), 3);
    model.deleteStep();
    EXPECT_EQ(keys(), (std::vector<int>{0x11, 0x12, 0x14}));
    EXPECT_EQ(model.macro(0).action(3), MacroAction{}); // nothing left behind the last step
}

TEST_F(MacroListModelTest, TypedPausesAreClampedAndRoundedDown) {
    model.add();
    model.addStep(0, kKeyA, MACRO_PRESS);
    struct Case {
        unsigned long long typed;
        std::uint32_t kept;
        MacroListModel::DelayEdit result;
    };
    const Case cases[] = {{12345, 12340, MacroListModel::DelayEdit::Taken},
                          {50000, 40000, MacroListModel::DelayEdit::Clamped},
                          {40009, 40000, MacroListModel::DelayEdit::Clamped},
                          {1ULL << 40, 40000, MacroListModel::DelayEdit::Clamped},
                          {9, 0, MacroListModel::DelayEdit::Taken}};
    for (const Case& c : cases) {
        EXPECT_EQ(model.setStepDelay(0, c.typed), c.result) << c.typed;
        EXPECT_EQ(model.step(0).delayMs, c.kept) << c.typed;
    }
    EXPECT_EQ(model.setStepDelay(1, 10), MacroListModel::DelayEdit::NoStep);
    EXPECT_FALSE(model.setStepKey(0, kKeyA)); // unchanged
    EXPECT_TRUE(model.setStepKey(0, kTab));
    EXPECT_TRUE(model.setStepState(0, MACRO_RELEASE));
    EXPECT_EQ(model.step(0), (MacroAction{0, kTab, MACRO_RELEASE}));
}

} // namespace
} // namespace ombrel::test
