#include "text/IniDocument.h"

#include "text/AsciiCase.h"
#include "text/Utf8.h"

#include <algorithm>

namespace ombrel {

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";

std::string_view trim(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

std::string_view trimRight(std::string_view text) {
    const auto last = text.find_last_not_of(kBlanks);
    return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

std::string_view unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && AsciiLower(a) == AsciiLower(b);
}

struct ParsedLine {
    enum class Kind { Other, Comment, Section, Key };
    Kind kind = Kind::Other;
    std::string_view name;  // section or key name, trimmed
    std::string_view value; // key lines: the value, trimmed and unquoted
};

ParsedLine parseLine(std::string_view line) {
    ParsedLine parsed;
    const std::string_view text = trim(line);
    if (text.empty()) return parsed;
    if (text.front() == ';') {
        parsed.kind = ParsedLine::Kind::Comment;
        return parsed;
    }
    if (text.front() == '[') {
        const auto close = text.find(']');
        if (close != std::string_view::npos) {
            parsed.kind = ParsedLine::Kind::Section;
            parsed.name = trim(text.substr(1, close - 1));
            return parsed;
        }
    }
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) return parsed;
    parsed.name = trim(text.substr(0, equals));
    if (parsed.name.empty()) return parsed;
    parsed.kind = ParsedLine::Kind::Key;
    parsed.value = unquote(trim(text.substr(equals + 1)));
    return parsed;
}

bool hasLineBreakOrNul(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != text.npos;
}

} // namespace

IniDocument IniDocument::fromBytes(std::string_view bytes) {
    IniDocument doc;
    if (bytes.starts_with(kUtf16LeBom)) {
        doc.m_encoding = Encoding::Utf16Le;
        bytes.remove_prefix(kUtf16LeBom.size());
        doc.splitLines(Utf16LeToUtf8(bytes));
    } else {
        if (bytes.starts_with(kUtf8Bom)) {
            doc.m_encoding = Encoding::Utf8Bom;
            bytes.remove_prefix(kUtf8Bom.size());
        }
        doc.splitLines(bytes);
    }
    doc.buildIndex();
    return doc;
}

void IniDocument::splitLines(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto brk = text.find_first_of("\r\n", pos);
        if (brk == std::string_view::npos) {
            m_lines.push_back({std::string(text.substr(pos)), ""});
            break;
        }
        std::string_view end = "\n";
        if (text[brk] == '\r') end = (brk + 1 < text.size() && text[brk + 1] == '\n') ? "\r\n" : "\r";
        m_lines.push_back({std::string(text.substr(pos, brk - pos)), end});
        pos = brk + end.size();
    }
}

void IniDocument::buildIndex() {
    m_index.clear();
    KeyIndex* current = nullptr; // null before the first section and inside repeated sections
    for (const Line& line : m_lines) {
        const ParsedLine parsed = parseLine(line.text);
        if (parsed.kind == ParsedLine::Kind::Section) {
            const auto [it, inserted] = m_index.try_emplace(AsciiLower(parsed.name));
            current = inserted ? &it->second : nullptr;
        } else if (parsed.kind == ParsedLine::Kind::Key && current != nullptr) {
            current->try_emplace(AsciiLower(parsed.name), Utf8Sanitize(parsed.value));
        }
    }
}

std::optional<std::string> IniDocument::find(std::string_view section, std::string_view key) const {
    const auto sectionIt = m_index.find(AsciiLower(trim(section)));
    if (sectionIt == m_index.end()) return std::nullopt;
    const auto keyIt = sectionIt->second.find(AsciiLower(trim(key)));
    if (keyIt == sectionIt->second.end()) return std::nullopt;
    return keyIt->second;
}

std::string IniDocument::readString(std::string_view section, std::string_view key,
                                    std::string_view defaultText) const {
    if (const auto value = find(section, key)) return std::string(Utf8Prefix(*value, kMaxValueChars));
    return std::string(Utf8Prefix(Utf8Sanitize(trimRight(defaultText)), kMaxValueChars));
}

std::string_view IniDocument::newline() const {
    for (const Line& line : m_lines)
        if (!line.end.empty()) return line.end;
    return "\n";
}

bool IniDocument::setValue(std::string_view section, std::string_view key, std::string_view value) {
    section = trim(section);
    key = trim(key);
    if (section.empty() || key.empty() || hasLineBreakOrNul(section) || hasLineBreakOrNul(key) ||
        hasLineBreakOrNul(value) || section.find(']') != section.npos || key.find('=') != key.npos ||
        key.front() == ';' || key.front() == '[' || Utf8Sanitize(section) != section || Utf8Sanitize(key) != key)
        return false;

    const std::string cleanValue = Utf8Sanitize(value);
    const bool needsQuotes = unquote(trim(cleanValue)) != cleanValue;
    const std::string storedValue = needsQuotes ? "\"" + cleanValue + "\"" : cleanValue;

    // Locate the first section of that name, its last non-blank line and the first line of the key in it.
    std::optional<std::size_t> header;
    std::optional<std::size_t> keyLine;
    std::size_t lastContent = 0;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const ParsedLine parsed = parseLine(m_lines[i].text);
        if (parsed.kind == ParsedLine::Kind::Section) {
            if (header) break; // the section ends where the next one starts
            if (sameName(parsed.name, section)) header = lastContent = i;
            continue;
        }
        if (!header) continue;
        if (!trim(m_lines[i].text).empty()) lastContent = i;
        if (parsed.kind == ParsedLine::Kind::Key && sameName(parsed.name, key)) {
            keyLine = i;
            break;
        }
    }

    const std::string_view nl = newline();
    if (keyLine) {
        // Keep the line's indentation and the key as it is spelled in the file.
        std::string& text = m_lines[*keyLine].text;
        const std::size_t keyEnd = text.find('=');
        text = std::string(trimRight(std::string_view(text).substr(0, keyEnd))) + "=" + storedValue;
    } else if (header) {
        Line& after = m_lines[lastContent];
        if (after.end.empty()) after.end = nl;
        m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(lastContent + 1),
                       Line{std::string(key) + "=" + storedValue, nl});
    } else {
        if (!m_lines.empty()) {
            if (m_lines.back().end.empty()) m_lines.back().end = nl;
            if (!trim(m_lines.back().text).empty()) m_lines.push_back({"", nl});
        }
        m_lines.push_back({"[" + std::string(section) + "]", nl});
        m_lines.push_back({std::string(key) + "=" + storedValue, nl});
    }
    buildIndex();
    return true;
}

std::string IniDocument::toBytes() const {
    std::string text;
    for (const Line& line : m_lines) {
        text += line.text;
        text += line.end;
    }
    switch (m_encoding) {
    case Encoding::Utf8Bom:
        return std::string(kUtf8Bom) + text;
    case Encoding::Utf16Le:
        return std::string(kUtf16LeBom) + Utf8ToUtf16Le(text);
    case Encoding::Utf8:
        break;
    }
    return text;
}

} // namespace ombrel
