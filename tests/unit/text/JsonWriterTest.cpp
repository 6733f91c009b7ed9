// The JSON the command-line tool prints: nesting, separators and string escapes.
#include "text/JsonWriter.h"

#include <gtest/gtest.h>

namespace ombrel {
namespace {

TEST(JsonWriterTest, NestsObjectsAndArraysWithCommasOnlyBetweenMembers) {
    JsonWriter json;
    json.beginObject()
        .member("profile", 2)
        .member("active", true)
        .member("name", "Profile 2")
        .key("keys")
        .beginArray()
        .beginObject()
        .member("key", "Esc")
        .key("macro")
        .null()
        .endObject()
        .value(-7)
        .endArray()
        .key("empty")
        .beginArray()
        .endArray()
        .key("nothing")
        .beginObject()
        .endObject()
        .endObject();
    EXPECT_EQ(json.text(), "{\n"
                           "  \"profile\": 2,\n"
                           "  \"active\": true,\n"
                           "  \"name\": \"Profile 2\",\n"
                           "  \"keys\": [\n"
                           "    {\n"
                           "      \"key\": \"Esc\",\n"
                           "      \"macro\": null\n"
                           "    },\n"
                           "    -7\n"
                           "  ],\n"
                           "  \"empty\": [],\n"
                           "  \"nothing\": {}\n"
                           "}\n");
}

TEST(JsonWriterTest, StringsAreEscapedAndAlwaysValidUtf8) {
    const struct {
        std::string text;
        const char* quoted;
    } cases[] = {
        {"plain", "\"plain\""},
        {"say \"hi\"", "\"say \\\"hi\\\"\""},
        {"C:\\path", "\"C:\\\\path\""},
        {"line\nnext\ttab\rcr", "\"line\\nnext\\ttab\\rcr\""},
        {std::string("nul\0bell\x07", 9), "\"nul\\u0000bell\\u0007\""},
        {"\x1f\x7f", "\"\\u001F\\u007F\""},
        {"Play/Pause \xC3\xA9", "\"Play/Pause \xC3\xA9\""},   // '/' and UTF-8 stay as they are
        {"bad \xFF byte", "\"bad \xEF\xBF\xBD byte\""},       // not UTF-8: U+FFFD
        {"cut \xE2\x82", "\"cut \xEF\xBF\xBD\xEF\xBF\xBD\""}, // a cut-off sequence
    };
    for (const auto& c : cases)
        EXPECT_EQ(JsonQuoted(c.text), c.quoted) << c.text;
    JsonWriter json;
    json.beginObject().member("a\"b", "x").endObject();
    EXPECT_EQ(json.text(), "{\n  \"a\\\"b\": \"x\"\n}\n");
}

} // namespace
} // namespace ombrel
