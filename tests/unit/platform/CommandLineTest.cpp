#include "platform/CommandLine.h"

#include <gtest/gtest.h>

namespace ombrel::test {
namespace {

TEST(CommandLine, SwitchesMatchTheWholeArgumentInAnyCase) {
    struct Case {
        std::vector<std::string_view> arguments;
        bool start;
        bool kill;
        bool force = false;
    };
    const Case cases[] = {
        {{}, false, false},
        {{"/Start"}, true, false},
        {{"/START"}, true, false},
        {{"--Start"}, true, false},
        {{"/kill"}, false, true},
        {{"--KILL"}, false, true},
        {{"/Start", "/Kill"}, true, true},
        {{"/Kill", "/Start"}, false, true}, // "/Kill" ends the process before "/Start" is looked at
        {{"/Starts", "Start", "/Start ", "-start", "/Kil", "--emulator=x", ""}, false, false},
        {{"--emulator", "/start"}, true, false},
        {{"/Kill", "--force"}, false, true, true},
        {{"--FORCE", "--kill"}, false, true, true},
        {{"--force"}, false, false, true},
        {{"/Kill", "-force", "--forced"}, false, true, false},
    };
    for (const Case& c : cases) {
        const StartSwitches switches = ParseStartSwitches(c.arguments);
        EXPECT_EQ(switches.start, c.start) << ::testing::PrintToString(c.arguments);
        EXPECT_EQ(switches.kill, c.kill) << ::testing::PrintToString(c.arguments);
        EXPECT_EQ(switches.force, c.force) << ::testing::PrintToString(c.arguments);
    }
}

TEST(CommandLine, ArgvSkipsTheProgramName) {
    const char* argv[] = {"/kill", "/START", nullptr};
    const StartSwitches switches = ParseStartSwitches(2, argv);
    EXPECT_TRUE(switches.start);
    EXPECT_FALSE(switches.kill);
}

} // namespace
} // namespace ombrel::test
