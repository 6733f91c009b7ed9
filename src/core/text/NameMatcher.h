#pragma once
// Finds what a name typed by a person stands for, forgivingly: letter case, blanks and underscores do not
// matter, nor punctuation between words ("play pause" finds "Play/Pause"), a unique beginning is enough
// ("caps" finds "Caps Lock"), and a few extra spellings (aliases such as the short captions "Ctrl" or "Win")
// find their name. A name that finds nothing gets the closest names as suggestions.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ombrel {

struct NameMatch {
    std::optional<int> value;             // what the name stands for
    std::vector<std::string> suggestions; // without a value: the closest names, best first (may be none)
};

class NameMatcher {
public:
    // A name as it is shown; the first name added for a value is the one suggestions give for it.
    void add(std::string_view name, int value);
    // Another spelling of `value`, accepted but never listed.
    void addAlias(std::string_view alias, int value);

    NameMatch match(std::string_view text) const;

    // The shown names in the order they were added, each once.
    std::vector<std::string> names() const;

private:
    struct Entry {
        std::string shown;
        std::string strict; // lower case, no blanks or underscores
        std::string loose;  // only letters, digits and non-ASCII characters, lower case
        int value;
        bool alias;
    };
    std::string shownNameOf(int value) const;
    std::vector<Entry> m_entries;
};

// `text` in lower case without blanks and underscores: the form two names are compared in.
std::string StrictNameForm(std::string_view text);

// "did you mean A, B or C?" for a non-empty list, "" for an empty one.
std::string DidYouMean(const std::vector<std::string>& suggestions);

} // namespace ombrel
