#include "apprules/WindowProperties.h"

#include "apprules/ApplicationRulesFile.h"

#include <gtest/gtest.h>

#include <cstring>

namespace ombrel::apprules {
namespace {

std::vector<std::uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

PropertyValue Text(const std::vector<std::uint8_t>& bytes) {
    return {8, bytes};
}

TEST(WindowPropertiesTest, WindowClassFromItsTwoStrings) {
    struct Case {
        std::string_view raw;
        const char* instance;
        const char* windowClass;
    };
    const Case cases[] = {
        {std::string_view("xterm\0XTerm\0", 12), "xterm", "XTerm"},
        {std::string_view("xterm\0XTerm", 11), "xterm", "XTerm"}, // no final NUL
        {std::string_view("only\0", 5), "only", ""},
        {std::string_view("only", 4), "only", ""},
        {std::string_view("a\0b\0extra\0", 10), "a", "b"},
        {std::string_view("\0Class\0", 7), "", "Class"},
        {std::string_view("te\x01st\0Cl\tass\0", 13), "test", "Class"}, // control characters dropped
    };
    for (const Case& c : cases) {
        const auto bytes = Bytes(c.raw);
        const auto parsed = ParseWindowClass(Text(bytes));
        ASSERT_TRUE(parsed);
        EXPECT_EQ(parsed->instance, c.instance);
        EXPECT_EQ(parsed->windowClass, c.windowClass);
    }
    const auto bytes = Bytes("abcd");
    EXPECT_FALSE(ParseWindowClass({32, bytes})) << "not 8-bit text";
    EXPECT_FALSE(ParseWindowClass({8, {}}));
    EXPECT_FALSE(ParseWindowClass({}));
    // A class longer than any file name is cut, not kept whole.
    const auto longClass = Bytes(std::string(10000, 'x'));
    EXPECT_EQ(ParseWindowClass(Text(longClass))->instance.size(), kMaxApplicationLength);
}

TEST(WindowPropertiesTest, TextIsCutWithoutSplittingACharacter) {
    const auto title = Bytes("ab\xC3\xA9"
                             "cd"); // "abécd"
    EXPECT_EQ(ParsePropertyText(Text(title), 3), "ab");
    EXPECT_EQ(ParsePropertyText(Text(title), 4), "ab\xC3\xA9");
    EXPECT_EQ(ParsePropertyText(Text(title), 100), "ab\xC3\xA9"
                                                   "cd");
    const auto nul = Bytes(std::string_view("id\0rest", 7));
    EXPECT_EQ(ParsePropertyText(Text(nul), 100), "id");
    EXPECT_EQ(ParsePropertyText({32, title}, 100), "") << "a value of another format is no text";
}

TEST(WindowPropertiesTest, CardinalsNeedWholeUnitsOfFormat32) {
    const std::uint32_t units[] = {4242, 7, 9};
    std::vector<std::uint8_t> bytes(sizeof units);
    std::memcpy(bytes.data(), units, sizeof units);
    EXPECT_EQ(ParseCardinal({32, bytes}), 4242u);
    EXPECT_EQ(ParseCardinals({32, bytes}, 10), (std::vector<std::uint32_t>{4242, 7, 9}));
    EXPECT_EQ(ParseCardinals({32, bytes}, 2), (std::vector<std::uint32_t>{4242, 7}));
    const std::span<const std::uint8_t> ragged(bytes.data(), 7); // one unit and three stray bytes
    EXPECT_EQ(ParseCardinals({32, ragged}, 10), (std::vector<std::uint32_t>{4242}));
    EXPECT_FALSE(ParseCardinal({32, ragged.first(3)}));
    EXPECT_FALSE(ParseCardinal({8, bytes}));
    EXPECT_TRUE(ParseCardinals({16, bytes}, 10).empty());
}

TEST(WindowPropertiesTest, ProcessFlatpakAndSteamIds) {
    EXPECT_EQ(ProcessNameFromComm("xeyes\n"), "xeyes");
    EXPECT_EQ(ProcessNameFromComm("Web Content\n"), "Web Content");
    EXPECT_EQ(ProcessNameFromComm(""), "");

    const auto env = Bytes(std::string_view("PATH=/app/bin\0FLATPAK_ID=org.gimp.GIMP\0HOME=/h\0", 47));
    EXPECT_EQ(FlatpakIdFromEnvironment(env), "org.gimp.GIMP");
    EXPECT_EQ(FlatpakIdFromEnvironment(Bytes(std::string_view("A=1\0FLATPAK_ID=x.y", 18))), "x.y");
    EXPECT_EQ(FlatpakIdFromEnvironment(Bytes(std::string_view("NOT_FLATPAK_ID=x\0", 17))), "");
    EXPECT_EQ(FlatpakIdFromEnvironment({}), "");

    EXPECT_EQ(SteamGameId({"steam_app_570", "steam_app_570"}), "steam_app_570");
    EXPECT_EQ(SteamGameId({"dota2", "steam_app_570"}), "steam_app_570");
    EXPECT_EQ(SteamGameId({"steam_app_", "steam_app_x1"}), "");
    EXPECT_EQ(SteamGameId({"steamwebhelper", "Steam"}), "");
}

TEST(WindowPropertiesTest, DesktopIdPrefersTheApplicationsOwnId) {
    WindowFacts facts{{"steam_app_570", "steam_app_570"}, "dota2", "", ""};
    EXPECT_EQ(IdentityOf(facts).desktopId, "steam_app_570");
    facts.flatpakId = "com.valvesoftware.Steam";
    EXPECT_EQ(IdentityOf(facts).desktopId, "com.valvesoftware.Steam");
    facts.gtkApplicationId = "org.gnome.Terminal";
    const ApplicationIdentity id = IdentityOf(facts);
    EXPECT_EQ(id.desktopId, "org.gnome.Terminal");
    EXPECT_EQ(id.windowClass, "steam_app_570");
    EXPECT_EQ(id.windowInstance, "steam_app_570");
    EXPECT_EQ(id.processName, "dota2");
}

} // namespace
} // namespace ombrel::apprules
