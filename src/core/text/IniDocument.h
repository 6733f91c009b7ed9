#pragma once
// One INI file held in memory, read once and looked up many times, and edited line by line so that a write keeps
// everything it does not change (comments, blank lines, order, line ends, other sections) byte for byte.
//
// Reading rules (the ones other tools that write these files expect):
// - Lines end with "\n", "\r\n" or "\r". Blanks (spaces, tabs) at the start of a line are ignored.
// - "[name]" starts a section; blanks around the name are ignored and text after "]" too. A line that starts
//   with "[" but has no "]" is not a section header.
// - A line starting with ';' is a comment.
// - "key=value": the key is the text before the first '=', the value the text after it, both without surrounding
//   blanks; then one pair of equal quotes (" or ') around the whole value is removed.
// - Section and key names match without regard to the case of the ASCII letters.
// - Only the first section of a name counts: the keys of a later section with the same name are never seen. In
//   that section the first line of a key wins.
// - A line without '=' (or with nothing before it) names no key: it is ignored when reading, so a stray word can
//   not hide a default, and kept as it is when writing.
// - Keys before the first section header belong to no section and are never found; writes keep them.
// Encodings: UTF-8 with or without byte-order mark, and UTF-16LE with a byte-order mark. Lookups return UTF-8 in
// which bytes that are not UTF-8 are replaced by U+FFFD; a document is written back in the encoding it was read
// in (with its byte-order mark, if it had one).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ombrel {

class IniDocument {
public:
    // Values and defaults are cut to this many characters (Unicode code points) by readString.
    static constexpr std::size_t kMaxValueChars = 259;

    IniDocument() = default;
    // Parses the raw bytes of a file; never fails (what is not understood is kept as text and ignored).
    static IniDocument fromBytes(std::string_view bytes);

    // The value of `key` in `section` as stored (blanks trimmed, one pair of quotes removed, not cut), or nothing
    // when the section or the key is missing.
    std::optional<std::string> find(std::string_view section, std::string_view key) const;

    // The value as programs read it: cut to kMaxValueChars characters; when the section or key is missing, the
    // default without trailing blanks, cut likewise. A key present with an empty value gives "".
    std::string readString(std::string_view section, std::string_view key, std::string_view defaultText) const;

    // Sets `key` in `section` to `value`: the first line of the key in the first section of that name is
    // rewritten; a missing key is added after the last line of that section, a missing section at the end of the
    // document. A value that reading would change (surrounding blanks or quotes) is written in quotes, so it reads
    // back as given. Returns false, changing nothing, when a name is empty or a text holds a line break or a NUL,
    // when the key holds '=' or starts with ';' or '[', when the section name holds ']', or when a name is not
    // UTF-8. A value that is not UTF-8 is stored with U+FFFD in place of the bad bytes.
    bool setValue(std::string_view section, std::string_view key, std::string_view value);

    // The bytes of the document in the encoding it was read in.
    std::string toBytes() const;

private:
    enum class Encoding { Utf8, Utf8Bom, Utf16Le };
    struct Line {
        std::string text;     // without the line end, decoded to UTF-8
        std::string_view end; // "\r\n", "\n", "\r" or "" (last line without one)
    };
    // For the first section of each (folded) name: its keys (folded) and their values, first occurrence only.
    using KeyIndex = std::unordered_map<std::string, std::string>;

    void splitLines(std::string_view text);
    void buildIndex();
    std::string_view newline() const;

    Encoding m_encoding = Encoding::Utf8;
    std::vector<Line> m_lines;
    std::unordered_map<std::string, KeyIndex> m_index;
};

} // namespace ombrel
