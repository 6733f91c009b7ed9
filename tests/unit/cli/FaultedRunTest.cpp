// ombrelctl on an emulator that loses, refuses or damages the reply of one report of a write: the run either
// succeeds with the keyboard holding the change or fails and says so, and the next run works as if nothing had
// happened (the state file is not left locked, half kept or damaged).
#include "cli/OmbrelctlFixture.h"
#include "emulator/StateFile.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

namespace ombrel::test {
namespace {

class FaultedRunTest : public OmbrelctlFixture {
protected:
    std::array<int, 3> colorOfProfile1() const {
        const emu::StateLoad load = emu::LoadStateFile(dir + "/state");
        EXPECT_TRUE(load.memory) << load.problem;
        if (!load.memory) return {-1, -1, -1};
        const auto& l = load.memory->lighting;
        return {l[5], l[6], l[7]};
    }
};

TEST_F(FaultedRunTest, AFaultAtAnyReportOfAWriteEndsCleanlyAndTheNextRunWorks) {
    // `lighting set 1 color` writes the colourful switch and then the colour (command 6), between a begin and an
    // end (commands 1 and 2); whatever it reads around them for its history is not aimed at.
    const std::vector<std::string> set = {"lighting", "set", "1", "color", "10,20,30"};
    const std::array<int, 3> wanted{10, 20, 30};
    struct Case {
        const char* fault; // OMBREL_EMU_FAULT: kind, arg, command, nth, times
        bool fails;
    };
    const Case cases[] = {
        {"1,0,6,2,1", false}, // the colour's reply lost once: retried
        {"9,0,6,2,1", false}, // damaged once: retried
        {"4,0,6,2,3", true},  // refused three times
        {"9,0,6,1,3", true},  // the colourful switch's reply damaged three times
        {"3,0,2,2,3", false}, // the end answered for another command: the colour is in all the same
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        ok({"lighting", "set", "1", "color", "1,2,3"});
        setenv("OMBREL_EMU_FAULT", c.fault, 1);
        const ProgramResult faulted = onEmulator(set);
        unsetenv("OMBREL_EMU_FAULT");
        if (c.fails) {
            EXPECT_EQ(faulted.exitCode, 1) << faulted.out << faulted.err;
            EXPECT_FALSE(faulted.err.empty()) << "a failure says why";
            // The keyboard may hold part of the failed write: the next write waits for the user's word, and
            // names the ways out.
            const ProgramResult next = onEmulator(set);
            if (next.exitCode != 0) {
                EXPECT_NE(next.err.find("ombrelctl history dismiss"), std::string::npos) << next.err;
                ok({"history", "dismiss"});
            }
        } else {
            EXPECT_EQ(faulted.exitCode, 0) << faulted.out << faulted.err;
            EXPECT_EQ(colorOfProfile1(), wanted);
        }
        ok(set);
        EXPECT_EQ(colorOfProfile1(), wanted);
    }
}

} // namespace
} // namespace ombrel::test
