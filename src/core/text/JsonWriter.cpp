#include "text/JsonWriter.h"

#include "text/Utf8.h"

#include <cstdio>

namespace ombrel {

std::string JsonQuoted(std::string_view text) {
    const std::string clean = Utf8Sanitize(text);
    std::string out = "\"";
    for (const char c : clean) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned char>(c));
                out += escaped;
            } else {
                out.push_back(c);
            }
        }
    }
    return out + "\"";
}

void JsonWriter::newline() {
    m_out.push_back('\n');
    m_out.append(m_levels.size() * 2, ' ');
}

void JsonWriter::beforeValue() {
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_levels.empty()) return;
    Level& level = m_levels.back();
    if (!level.empty) m_out.push_back(',');
    level.empty = false;
    newline();
}

JsonWriter& JsonWriter::beginObject() {
    beforeValue();
    m_out.push_back('{');
    m_levels.push_back({true});
    return *this;
}

JsonWriter& JsonWriter::beginArray() {
    beforeValue();
    m_out.push_back('[');
    m_levels.push_back({false});
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    return endArray();
}

JsonWriter& JsonWriter::endArray() {
    if (m_levels.empty()) return *this;
    const Level level = m_levels.back();
    m_levels.pop_back();
    if (!level.empty) newline();
    m_out.push_back(level.object ? '}' : ']');
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
    beforeValue();
    m_out += JsonQuoted(name);
    m_out += ": ";
    m_afterKey = true;
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view text) {
    beforeValue();
    m_out += JsonQuoted(text);
    return *this;
}

JsonWriter& JsonWriter::value(std::int64_t number) {
    beforeValue();
    m_out += std::to_string(number);
    return *this;
}

JsonWriter& JsonWriter::value(bool flag) {
    beforeValue();
    m_out += flag ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::null() {
    beforeValue();
    m_out += "null";
    return *this;
}

std::string JsonWriter::text() const {
    return m_out + "\n";
}

} // namespace ombrel
