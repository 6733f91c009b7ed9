#pragma once
// Writes JSON for scripts that read what the command-line tool shows: objects and arrays nested by calls, two
// spaces of indentation, strings escaped so any text (names from files or the keyboard included) stays valid JSON.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ombrel {

class JsonWriter {
public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    // The name of the next member of the open object.
    JsonWriter& key(std::string_view name);

    JsonWriter& value(std::string_view text);
    JsonWriter& value(const char* text) { return value(std::string_view(text)); }
    JsonWriter& value(const std::string& text) { return value(std::string_view(text)); }
    JsonWriter& value(std::int64_t number);
    JsonWriter& value(int number) { return value(static_cast<std::int64_t>(number)); }
    JsonWriter& value(unsigned number) { return value(static_cast<std::int64_t>(number)); }
    JsonWriter& value(bool flag);
    JsonWriter& null();

    // key(name).value(v) in one call.
    template <typename T>
    JsonWriter& member(std::string_view name, const T& v) {
        return key(name).value(v);
    }

    // The document, ending in a newline once every object and array is closed.
    std::string text() const;

private:
    void beforeValue();
    void newline();

    struct Level {
        bool object;
        bool empty = true;
    };
    std::string m_out;
    std::vector<Level> m_levels;
    bool m_afterKey = false;
};

// `text` as a JSON string literal, quotes included. Bytes that are no UTF-8 become U+FFFD.
std::string JsonQuoted(std::string_view text);

} // namespace ombrel
