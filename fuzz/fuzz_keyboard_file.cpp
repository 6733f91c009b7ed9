// The keyboard file from hostile bytes: every problem has a place in the file, and a file that reads writes back
// to text that reads as the same setup.
#include "keyboardfile/KeyboardFileReader.h"
#include "keyboardfile/KeyboardFileWriter.h"
#include "keys/KeyFunction.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

using namespace ombrel;

std::optional<unsigned> numberAfter(std::string_view text, std::string_view prefix) {
    if (text.substr(0, prefix.size()) != prefix) return std::nullopt;
    text.remove_prefix(prefix.size());
    unsigned v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || v > 0xFFFF) return std::nullopt;
    return v;
}

// Names a fuzzer can find: "k300" is key index 300, "c30" key code 30, functions "default", "disabled",
// "key:c30", "macro:2".
class FuzzNames : public SetupNames {
public:
    std::string keyName(KeyIndex index) const override { return "k" + std::to_string(index); }
    std::optional<KeyIndex> key(std::string_view name, std::string* problem) const override {
        const auto v = numberAfter(name, "k");
        const auto& keys = SetupKeys();
        if (v && std::find(keys.begin(), keys.end(), *v) != keys.end()) return static_cast<KeyIndex>(*v);
        *problem = "no key";
        return std::nullopt;
    }
    std::string keyCodeName(KeyCode code) const override { return "c" + std::to_string(code); }
    std::optional<KeyCode> keyCode(std::string_view name, std::string* problem) const override {
        if (const auto v = numberAfter(name, "c")) return static_cast<KeyCode>(*v);
        *problem = "no key code";
        return std::nullopt;
    }
    std::string functionName(const KeyRecord& r) const override {
        switch (r.type) {
        case KF_DISABLED:
            return "disabled";
        case KF_KEY:
            return "key:c" + std::to_string(r.value);
        case KF_MACRO:
            return "macro:" + std::to_string(r.value);
        default:
            return "default";
        }
    }
    std::optional<KeyRecord> function(std::string_view name, std::string* problem) const override {
        if (name == "default") return KeyRecord{KF_DEFAULT};
        if (name == "disabled") return KeyRecord{KF_DISABLED};
        if (const auto v = numberAfter(name, "key:c")) return KeyRecord{KF_KEY, 0, *v};
        if (const auto v = numberAfter(name, "macro:")) return KeyRecord{KF_MACRO, 0, *v};
        *problem = "no function";
        return std::nullopt;
    }
    std::string describe(const KeyRecord& r, const std::string&) const override { return functionName(r); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size); // NOLINT: bytes viewed as chars
    const FuzzNames names;
    const KeyboardFileRead read = ReadKeyboardFile(text, names);
    if (read.setup.has_value() == !read.problems.empty()) std::abort();
    for (const FileProblem& p : read.problems)
        if (p.line < 1 || p.column < 1 || p.message.empty()) std::abort();
    if (!read.setup) return 0;
    const std::string written = WriteKeyboardFile(*read.setup, names, "comment");
    const KeyboardFileRead again = ReadKeyboardFile(written, names);
    if (!again.setup || !(*again.setup == *read.setup)) std::abort();
    return 0;
}
