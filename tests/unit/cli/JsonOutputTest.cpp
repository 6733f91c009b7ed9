#include "JsonOutput.h"

#include <gtest/gtest.h>

#include <string>

namespace ombrel::cli {
namespace {

TEST(JsonOutputTest, MembersKeepTheirOrderWithTwoSpacesAndAFinalNewline) {
    Json json;
    json["zeta"] = 1;
    json["alpha"] = Json{{"b", true}, {"a", nullptr}};
    json["empty"] = Json::array();
    json["list"] = Json::array({"x", -3});
    EXPECT_EQ(JsonText(json), "{\n"
                              "  \"zeta\": 1,\n"
                              "  \"alpha\": {\n"
                              "    \"b\": true,\n"
                              "    \"a\": null\n"
                              "  },\n"
                              "  \"empty\": [],\n"
                              "  \"list\": [\n"
                              "    \"x\",\n"
                              "    -3\n"
                              "  ]\n"
                              "}\n");
}

// Names come from files and the keyboard: any bytes must still give valid JSON.
TEST(JsonOutputTest, StringsAreEscapedAndAlwaysValidUtf8) {
    const struct {
        std::string text;
        const char* quoted;
    } cases[] = {
        {"say \"hi\"", "\"say \\\"hi\\\"\""},
        {"C:\\path", "\"C:\\\\path\""},
        {"line\nnext\ttab\rcr", "\"line\\nnext\\ttab\\rcr\""},
        {std::string("nul\0bell\x07\x1f", 10), "\"nul\\u0000bell\\u0007\\u001f\""},
        {"Play/Pause \xC3\xA9", "\"Play/Pause \xC3\xA9\""}, // '/' and UTF-8 stay as they are
        {"bad \xFF byte", "\"bad \xEF\xBF\xBD byte\""},     // not UTF-8: U+FFFD
        {"cut \xE2\x82", "\"cut \xEF\xBF\xBD\""},           // a cut-off sequence at the end
    };
    for (const auto& c : cases) {
        EXPECT_EQ(JsonText(Json(c.text)), std::string(c.quoted) + "\n") << c.text;
        EXPECT_EQ(JsonText(Json{{c.text, 1}}), "{\n  " + std::string(c.quoted) + ": 1\n}\n") << c.text;
    }
}

} // namespace
} // namespace ombrel::cli
