#include "SkinRect.h"

#include "platform/IniFile.h"

#include <cctype>
#include <charconv>

namespace ombrel {

namespace {

// One "%d": optional blanks, an optional sign, at least one digit. Advances `pos` past what was read.
bool ScanInt(std::string_view text, std::size_t& pos, int& out) {
    std::size_t p = pos;
    while (p < text.size() && std::isspace(static_cast<unsigned char>(text[p])))
        ++p;
    std::size_t start = p;
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) ++p;
    std::size_t digits = p;
    while (p < text.size() && std::isdigit(static_cast<unsigned char>(text[p])))
        ++p;
    if (p == digits) return false;
    // from_chars takes no leading '+'.
    std::size_t from = text[start] == '+' ? start + 1 : start;
    int value = 0;
    auto [end, ec] = std::from_chars(text.data() + from, text.data() + p, value);
    if (ec != std::errc() || end != text.data() + p) return false;
    out = value;
    pos = p;
    return true;
}

} // namespace

SkinRect ParseSkinRect(std::string_view text) {
    int values[4] = {1, 1, 1, 1};
    int fields = 0;
    std::size_t pos = 0;
    while (fields < 4) {
        if (fields > 0) {
            if (pos >= text.size() || text[pos] != ',') break;
            ++pos;
        }
        if (!ScanInt(text, pos, values[fields])) break;
        ++fields;
    }
    SkinRect r;
    r.fields = fields;
    if (fields == 4) {
        r.x = values[0];
        r.y = values[1];
        r.w = values[2];
        r.h = values[3];
    }
    return r;
}

SkinRect ReadSkinRect(const std::string& layoutPath, std::string_view section, std::string_view key) {
    return ParseSkinRect(ReadIniString(layoutPath, section, key, kDefaultSkinRectText));
}

} // namespace ombrel
