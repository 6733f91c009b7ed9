#pragma once
// What every ombrelctl test starts from: a folder of its own with a home in it, the per-user data below DIR/data
// (never the real user's), and the tool run as a user runs it: with the arguments exactly as given, or on the
// emulator whose memory is kept in DIR/state.

#include "support/RunProgram.h"
#include "support/ScopedUserHome.h"
#include "support/TestPaths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace ombrel::test {

class OmbrelctlFixture : public ::testing::Test {
protected:
    void SetUp() override {
        dir = makeTempDir("ombrelctl");
        home.emplace(dir + "/home");
        setenv("XDG_DATA_HOME", (dir + "/data").c_str(), 1); // put back with the rest of the home
    }
    void TearDown() override {
        home.reset();
        std::filesystem::remove_all(dir);
    }

    ProgramResult run(const std::vector<std::string>& args) { return RunProgram("ombrelctl", args); }
    std::string emulator() const { return "--emulator=" + dir + "/state"; }
    ProgramResult onEmulator(const std::vector<std::string>& args) {
        std::vector<std::string> all;
        all.reserve(args.size() + 1);
        all.push_back(emulator());
        all.insert(all.end(), args.begin(), args.end());
        return run(all);
    }
    // onEmulator, expecting success.
    ProgramResult ok(const std::vector<std::string>& args) {
        ProgramResult r = onEmulator(args);
        EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
        return r;
    }

    std::string dir;
    std::optional<ScopedUserHome> home;
};

} // namespace ombrel::test
