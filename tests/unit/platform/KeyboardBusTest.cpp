#include "platform/KeyboardBus.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace ombrel;
namespace fs = std::filesystem;

TEST(KeyboardBus, OneNameForOneKeyboardHoweverItsStateFileIsWritten) {
    char pattern[] = "/tmp/ombrel-bus-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const fs::path dir = pattern;
    std::ofstream(dir / "state") << "x";
    fs::create_symlink(dir / "state", dir / "link");
    const fs::path before = fs::current_path();
    fs::current_path(dir);

    const std::string name = KeyboardTargetName(true, (dir / "state").string());
    EXPECT_EQ(name, "emulator:" + fs::canonical(dir / "state").string());
    EXPECT_EQ(KeyboardTargetName(true, "state"), name) << "a relative name";
    EXPECT_EQ(KeyboardTargetName(true, "./sub/../state"), name) << "a roundabout name";
    EXPECT_EQ(KeyboardTargetName(true, (dir / "link").string()), name) << "a link to the file";
    EXPECT_NE(KeyboardTargetName(true, (dir / "other").string()), name) << "another file";
    EXPECT_EQ(KeyboardTargetName(true, ""), "") << "memory for one run is nobody else's";
    EXPECT_EQ(KeyboardTargetName(false, ""), "keyboard");
    EXPECT_EQ(KeyboardTargetName(false, "state"), "keyboard");

    fs::current_path(before);
    fs::remove_all(dir);
}
