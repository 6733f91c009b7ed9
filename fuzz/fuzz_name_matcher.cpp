// Names typed on the command line and names from language files, from hostile bytes: the matcher only ever answers
// with a value it was given or with names it holds, and any text comes out of --json as a valid string.
#include "JsonOutput.h"
#include "text/NameMatcher.h"
#include "text/Utf8.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size); // NOLINT: bytes as chars
    // Lines: names (every third one an alias), the last one what was typed.
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (lines.size() > 64) break;
    }
    ombrel::NameMatcher matcher;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        if (i % 3 == 2)
            matcher.addAlias(lines[i], static_cast<int>(i));
        else
            matcher.add(lines[i], static_cast<int>(i));
    }
    const std::string_view typed = lines.back().substr(0, 256); // a command-line word, not a book
    const ombrel::NameMatch m = matcher.match(typed);
    if (m.value && (*m.value < 0 || static_cast<std::size_t>(*m.value) + 1 >= lines.size())) std::abort();
    if (m.value && !m.suggestions.empty()) std::abort();
    for (const std::string& s : m.suggestions)
        if (std::find(lines.begin(), lines.end(), s) == lines.end()) std::abort();

    std::string quoted = ombrel::cli::JsonText(ombrel::cli::Json(std::string(text)));
    if (quoted.empty() || quoted.back() != '\n') std::abort();
    quoted.pop_back();
    if (quoted.size() < 2 || quoted.front() != '"' || quoted.back() != '"') std::abort();
    if (ombrel::Utf8Sanitize(quoted) != quoted) std::abort();
    for (std::size_t i = 1; i + 1 < quoted.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(quoted[i]);
        if (c < 0x20) std::abort();
        if (c == '\\') {
            ++i; // the escaped character
        } else if (c == '"') {
            std::abort(); // an unescaped quote would end the string early
        }
    }
    return 0;
}
