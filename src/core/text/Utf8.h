#pragma once
// UTF-8 helpers for texts that come from files: counting and cutting by Unicode code points, so a cut never
// splits a multi-byte sequence, and turning UTF-16LE file contents into UTF-8.

#include <cstddef>
#include <string>
#include <string_view>

namespace ombrel {

// Length in bytes of the well-formed UTF-8 sequence that starts at `pos`, or 0 when the bytes there are not one
// (a stray continuation byte, an overlong form, a surrogate, a value above U+10FFFF or a cut-off sequence).
std::size_t Utf8SequenceLength(std::string_view text, std::size_t pos);

// Number of characters: every well-formed sequence counts once, and so does every byte that belongs to none.
std::size_t Utf8CharCount(std::string_view text);

// The first `maxChars` characters of `text` (the whole text when it is shorter), counted as Utf8CharCount does.
std::string_view Utf8Prefix(std::string_view text, std::size_t maxChars);

// `text` with every byte that belongs to no well-formed sequence replaced by U+FFFD.
std::string Utf8Sanitize(std::string_view text);

// Appends the UTF-8 form of `codePoint`; surrogates and values above U+10FFFF become U+FFFD.
void AppendUtf8(std::string& out, char32_t codePoint);

// Decodes UTF-16LE bytes (without byte-order mark). Unpaired surrogates and a trailing odd byte become U+FFFD.
std::string Utf16LeToUtf8(std::string_view bytes);

// Encodes UTF-8 as UTF-16LE (without byte-order mark); bytes that are not UTF-8 become U+FFFD.
std::string Utf8ToUtf16Le(std::string_view text);

} // namespace ombrel
