// Recording macros from key events that carry their own times: pauses, auto-repeat, releases without a press,
// keys that pass on, and the limits of a macro.
#include "assign/MacroRecorder.h"
#include "assign/MacroListModel.h"
#include "keys/KeysTestData.h"
#include "keys/MacroImage.h"

#include <gtest/gtest.h>

#include <vector>

namespace ombrel::test {
namespace {

using Result = MacroRecorder::Result;

KeyEvent at(std::uint64_t ms, KeyCode key, bool press, bool autoRepeat = false) {
    return {key, press, autoRepeat, ms};
}

class MacroRecorderTest : public ::testing::Test {
protected:
    void SetUp() override {
        model.add();
        model.recordDelays = true;
    }
    std::vector<MacroAction> steps() const {
        std::vector<MacroAction> out;
        for (int i = 0; i < model.stepCount(); ++i)
            out.push_back(model.step(i));
        return out;
    }

    MacroListModel model{u"Macro"};
    MacroRecorder recorder;
};

TEST_F(MacroRecorderTest, PausesComeFromTheEventTimes) {
    // A down, 120 ms, A up into an empty macro; the time from the start to the first press is dropped.
    recorder.start(1000);
    EXPECT_EQ(recorder.feed(at(1700, kKeyA, true), model), Result::Recorded);
    EXPECT_EQ(recorder.feed(at(1820, kKeyA, false), model), Result::Recorded);
    EXPECT_EQ(steps(), (std::vector<MacroAction>{{120, kKeyA, MACRO_PRESS}, {0, kKeyA, MACRO_RELEASE}}));

    // Without recorded pauses every pause is 50 ms.
    MacroListModel fixed{u"Macro"};
    fixed.add();
    recorder.start(1000);
    recorder.feed(at(1700, kKeyA, true), fixed);
    recorder.feed(at(1820, kKeyA, false), fixed);
    EXPECT_EQ(fixed.step(0), (MacroAction{50, kKeyA, MACRO_PRESS}));
    EXPECT_EQ(fixed.step(1), (MacroAction{0, kKeyA, MACRO_RELEASE}));

    // Into a macro that has steps: the selected step waits from the start of recording to the press.
    model.selectStep(0);
    recorder.start(5000);
    recorder.feed(at(5300, kTab, true), model);
    recorder.feed(at(5340, kTab, false), model);
    EXPECT_EQ(steps(), (std::vector<MacroAction>{{300, kKeyA, MACRO_PRESS},
                                                 {40, kTab, MACRO_PRESS},
                                                 {120, kTab, MACRO_RELEASE},
                                                 {0, kKeyA, MACRO_RELEASE}}));

    // Without a start time the first step gets no pause before it.
    model.selectStep(2);
    recorder.start(std::nullopt);
    recorder.feed(at(9000, kKeyA, true), model);
    EXPECT_EQ(model.step(2).delayMs, 0u);
    EXPECT_EQ(model.step(3).delayMs, 120u);
}

TEST_F(MacroRecorderTest, HeldKeysAndReleasesWithoutPress) {
    recorder.start(0);
    const struct {
        KeyEvent event;
        Result result;
    } events[] = {
        {at(10, kKeyA, true), Result::Recorded},
        {at(500, kKeyA, false, true), Result::Swallowed}, // auto-repeat, marked by the window system
        {at(500, kKeyA, true, true), Result::Swallowed},
        {at(530, kKeyA, true), Result::Swallowed}, // a repeated press without the mark
        {at(600, kKeyA, false), Result::Recorded},
        {at(650, 0x120, true), Result::PassOn},         // Mute: a media key
        {at(660, 0, true), Result::PassOn},             // a key without a key code
        {at(700, kLeftShift, false), Result::Recorded}, // held since before the start: its press is added
    };
    for (const auto& e : events)
        EXPECT_EQ(recorder.feed(e.event, model), e.result) << e.event.timestampMs;
    EXPECT_EQ(steps(), (std::vector<MacroAction>{{590, kKeyA, MACRO_PRESS},
                                                 {100, kKeyA, MACRO_RELEASE},
                                                 {kAddedPressHoldMs, kLeftShift, MACRO_PRESS},
                                                 {0, kLeftShift, MACRO_RELEASE}}));

    recorder.stop();
    EXPECT_EQ(recorder.feed(at(800, kKeyA, true), model), Result::PassOn);
    EXPECT_EQ(model.stepCount(), 4);
}

TEST_F(MacroRecorderTest, LongPausesAreCutAndFullMacrosDropEvents) {
    recorder.start(0);
    recorder.feed(at(10, kKeyA, true), model);
    recorder.feed(at(10 + 100000, kKeyA, false), model); // longer than a step can hold
    recorder.feed(at(50, kTab, true), model);            // a clock that went backwards
    EXPECT_EQ(model.step(0).delayMs, kMaxStepDelayMs);
    EXPECT_EQ(model.step(1).delayMs, 0u);

    while (model.stepCount() < kMaxMacroActions - 1)
        model.addStep(10, kKeyA, MACRO_PRESS);
    // One step left: a release without its press needs two, so both are dropped rather than half recorded.
    EXPECT_EQ(recorder.feed(at(60, kEscape, false), model), Result::Dropped);
    EXPECT_EQ(recorder.feed(at(70, kTab, false), model), Result::Recorded);
    EXPECT_EQ(recorder.feed(at(80, kEscape, true), model), Result::Dropped);
    EXPECT_EQ(model.stepCount(), kMaxMacroActions);

    MacroListModel none{u"Macro"};
    recorder.start(0);
    EXPECT_EQ(recorder.feed(at(10, kKeyA, true), none), Result::Dropped);
}

} // namespace
} // namespace ombrel::test
