#include "text/NameMatcher.h"

#include <algorithm>
#include <cstddef>

namespace ombrel {

namespace {

constexpr std::size_t kMaxSuggestions = 4;
constexpr std::size_t kShortestPrefix = 2; // a single letter is too little to stand for a longer name

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '_';
}

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string looseForm(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || u >= 0x80)
            out.push_back(lower(c));
    }
    return out;
}

// Edits (insert, delete, replace, swap of neighbours) that turn `a` into `b`.
std::size_t editDistance(const std::string& a, const std::string& b) {
    const std::size_t n = a.size(), m = b.size();
    std::vector<std::vector<std::size_t>> d(n + 1, std::vector<std::size_t>(m + 1));
    for (std::size_t i = 0; i <= n; ++i)
        d[i][0] = i;
    for (std::size_t j = 0; j <= m; ++j)
        d[0][j] = j;
    for (std::size_t i = 1; i <= n; ++i)
        for (std::size_t j = 1; j <= m; ++j) {
            const std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[n][m];
}

} // namespace

std::string StrictNameForm(std::string_view text) {
    std::string out;
    for (const char c : text)
        if (!isBlank(c)) out.push_back(lower(c));
    return out;
}

std::string DidYouMean(const std::vector<std::string>& suggestions) {
    if (suggestions.empty()) return {};
    std::string out = "did you mean ";
    for (std::size_t i = 0; i < suggestions.size(); ++i) {
        if (i > 0) out += i + 1 == suggestions.size() ? " or " : ", ";
        out += "'" + suggestions[i] + "'";
    }
    return out + "?";
}

void NameMatcher::add(std::string_view name, int value) {
    if (StrictNameForm(name).empty()) return;
    m_entries.push_back({std::string(name), StrictNameForm(name), looseForm(name), value, false});
}

void NameMatcher::addAlias(std::string_view alias, int value) {
    if (StrictNameForm(alias).empty()) return;
    m_entries.push_back({std::string(alias), StrictNameForm(alias), looseForm(alias), value, true});
}

std::vector<std::string> NameMatcher::names() const {
    std::vector<std::string> out;
    for (const Entry& e : m_entries)
        if (!e.alias && std::find(out.begin(), out.end(), e.shown) == out.end()) out.push_back(e.shown);
    return out;
}

std::string NameMatcher::shownNameOf(int value) const {
    for (const Entry& e : m_entries)
        if (!e.alias && e.value == value) return e.shown;
    for (const Entry& e : m_entries)
        if (e.value == value) return e.shown;
    return {};
}

NameMatch NameMatcher::match(std::string_view text) const {
    const std::string strict = StrictNameForm(text);
    const std::string loose = looseForm(text);
    if (strict.empty()) return {};
    // The exact spelling first (names before aliases), so "Num -" and "Num +" stay apart.
    for (const bool alias : {false, true})
        for (const Entry& e : m_entries)
            if (e.alias == alias && e.strict == strict) return {e.value, {}};

    // Then with punctuation left out, and then by a unique beginning: found when every such name means the same.
    auto unique = [&](auto&& fits) -> std::optional<int> {
        std::optional<int> found;
        for (const Entry& e : m_entries) {
            if (!fits(e)) continue;
            if (found && *found != e.value) return std::nullopt;
            found = e.value;
        }
        return found;
    };
    if (!loose.empty()) {
        if (const auto v = unique([&](const Entry& e) { return e.loose == loose; })) return {v, {}};
        if (loose.size() >= kShortestPrefix)
            if (const auto v = unique([&](const Entry& e) { return e.loose.rfind(loose, 0) == 0; })) return {v, {}};
    }

    // Nothing: the names closest to what was typed. Text far longer than any name is like none of them, and
    // measuring its distance to each would cost seconds for an argument of 100 kB.
    constexpr std::size_t kLongestSuggestedText = 256;
    if (text.size() > kLongestSuggestedText) return {};
    struct Candidate {
        std::size_t score;
        std::size_t order;
        int value;
    };
    std::vector<Candidate> candidates;
    const std::string& typed = loose.empty() ? strict : loose;
    // A single character is too short for a near miss to mean anything.
    const std::size_t allowed = typed.size() < 2 ? 0 : std::max<std::size_t>(1, typed.size() / 3);
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const Entry& e = m_entries[i];
        const std::string& form = loose.empty() ? e.strict : e.loose;
        if (form.empty()) continue;
        std::size_t score = editDistance(typed, form);
        if (score > allowed) {
            const bool contains = typed.size() >= kShortestPrefix && form.find(typed) != std::string::npos;
            if (!contains) continue;
            score = allowed + 1; // a part of the name: after the near misses
        }
        candidates.push_back({score, i, e.value});
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate& a, const Candidate& b) { return a.score < b.score; });
    NameMatch result;
    for (const Candidate& c : candidates) {
        const std::string shown = shownNameOf(c.value);
        if (std::find(result.suggestions.begin(), result.suggestions.end(), shown) == result.suggestions.end())
            result.suggestions.push_back(shown);
        if (result.suggestions.size() == kMaxSuggestions) break;
    }
    return result;
}

} // namespace ombrel
