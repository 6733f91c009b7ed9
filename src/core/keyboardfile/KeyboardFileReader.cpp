#include "keyboardfile/KeyboardFileReader.h"

#include "keys/KeyImage.h"
#include "keys/MacroImage.h"
#include "keys/Utf16Text.h"

#include <toml++/toml.h>

#include <algorithm>
#include <charconv>
#include <set>

namespace ombrel {

namespace {

class Reader {
public:
    explicit Reader(const SetupNames& names) : m_names(names) {}

    KeyboardFileRead read(std::string_view text) {
        KeyboardFileRead result;
        if (text.size() > kMaxKeyboardFileSize) {
            problem(1, 1, "the file is larger than 16 MB; no keyboard file is that large");
        } else {
            // toml++ reports syntax errors by exception; nothing else here throws.
            try {
                const toml::table root = toml::parse(text);
                readRoot(root);
            } catch (const toml::parse_error& e) {
                problem(e.source(), std::string(e.description()));
            }
        }
        std::stable_sort(m_problems.begin(), m_problems.end(), [](const FileProblem& a, const FileProblem& b) {
            return a.line != b.line ? a.line < b.line : a.column < b.column;
        });
        result.problems = std::move(m_problems);
        result.macroReferences = std::move(m_references);
        result.macrosAt = m_macrosAt;
        if (result.problems.empty()) result.setup = std::move(m_setup);
        return result;
    }

private:
    void problem(int line, int column, std::string message) {
        m_problems.push_back({std::max(line, 1), std::max(column, 1), std::move(message)});
    }
    void problem(const toml::source_region& at, std::string message) {
        problem(int(at.begin.line), int(at.begin.column), std::move(message));
    }

    void unknown(const toml::key& key, std::string_view where) {
        problem(key.source(), "unknown entry '" + std::string(key.str()) + "' " + std::string(where));
    }

    const toml::table* tableOf(const toml::node& node, std::string_view what) {
        if (const toml::table* t = node.as_table()) return t;
        problem(node.source(), std::string(what) + " must be a table");
        return nullptr;
    }

    std::optional<std::int64_t> integer(const toml::node& node, std::string_view what, std::int64_t low,
                                        std::int64_t high) {
        const auto v = node.value<std::int64_t>();
        if (!node.is_integer() || !v) {
            problem(node.source(), std::string(what) + " must be a whole number");
            return std::nullopt;
        }
        if (*v < low || *v > high) {
            problem(node.source(), std::string(what) + " must be from " + std::to_string(low) + " to " +
                                       std::to_string(high) + ", not " + std::to_string(*v));
            return std::nullopt;
        }
        return v;
    }

    std::optional<std::string> string(const toml::node& node, std::string_view what) {
        if (const auto* s = node.as_string()) return s->get();
        problem(node.source(), std::string(what) + " must be a text in quotes");
        return std::nullopt;
    }

    // "RRGGBB" (also "#RRGGBB") or [R, G, B] with each 0..255.
    std::optional<Rgb> color(const toml::node& node, std::string_view what) {
        if (const toml::array* a = node.as_array()) {
            if (a->size() != 3) {
                problem(node.source(), std::string(what) + " must have three parts: [red, green, blue]");
                return std::nullopt;
            }
            std::uint8_t parts[3] = {};
            for (std::size_t i = 0; i < 3; ++i) {
                const auto v = integer(*a->get(i), std::string(what) + " part", 0, 255);
                if (!v) return std::nullopt;
                parts[i] = static_cast<std::uint8_t>(*v);
            }
            return Rgb{parts[0], parts[1], parts[2]};
        }
        const auto* s = node.as_string();
        std::string_view text = s ? std::string_view(s->get()) : std::string_view();
        if (!text.empty() && text[0] == '#') text.remove_prefix(1);
        unsigned value = 0;
        if (s && text.size() == 6) {
            const auto [end, ec] = std::from_chars(text.data(), text.data() + 6, value, 16);
            if (ec == std::errc() && end == text.data() + 6)
                return Rgb{std::uint8_t(value >> 16), std::uint8_t(value >> 8), std::uint8_t(value)};
        }
        problem(node.source(),
                std::string(what) + " must be a colour \"RRGGBB\" in hexadecimal or [red, green, blue] from 0 to 255");
        return std::nullopt;
    }

    void readRoot(const toml::table& root) {
        const toml::node* format = root.get("format");
        if (!format) {
            problem(1, 1, "the file does not say its format: add 'format = 1' at the top");
            return;
        }
        if (const auto f = integer(*format, "format", 0, INT32_MAX); f && *f != kKeyboardFileFormat) {
            problem(format->source(), "format " + std::to_string(*f) + " is not one this program reads (it reads " +
                                          std::to_string(kKeyboardFileFormat) + ")");
            return;
        }
        for (auto&& [key, node] : root) {
            if (key == "format") continue;
            if (key == "macros")
                readMacros(node);
            else if (key == "profile")
                readProfiles(node);
            else
                unknown(key, "(the file has format, macros and profile)");
        }
        checkMacroReferences();
    }

    void readMacros(const toml::node& node) {
        const toml::array* list = node.as_array();
        if (!list) {
            problem(node.source(), "macros must be a list of [[macros]] tables");
            return;
        }
        if (list->size() > static_cast<std::size_t>(kMaxMacros))
            problem(node.source(), "the keyboard holds at most " + std::to_string(kMaxMacros) + " macros, not " +
                                       std::to_string(list->size()));
        m_setup.macros.emplace();
        m_macrosAt = {int(node.source().begin.line), int(node.source().begin.column), {}};
        std::map<std::string, int> nameLines;
        std::map<std::int64_t, int> idLines;
        for (const toml::node& entry : *list) {
            const toml::table* t = tableOf(entry, "each macro");
            if (!t) continue;
            SetupMacro m;
            bool complete = true;
            const toml::node* id = t->get("id");
            const toml::node* name = t->get("name");
            if (!id || !name) {
                problem(entry.source(), "a macro needs an id and a name");
                complete = false;
            }
            for (auto&& [key, value] : *t) {
                if (key == "id") {
                    if (const auto v = integer(value, "a macro's id", 1, 65535)) {
                        m.id = static_cast<std::uint16_t>(*v);
                        if (const auto [at, fresh] = idLines.emplace(*v, int(value.source().begin.line)); !fresh)
                            problem(value.source(), "two macros have the id " + std::to_string(*v) +
                                                        " (the other on line " + std::to_string(at->second) + ")");
                    }
                } else if (key == "name") {
                    if (const auto v = string(value, "a macro's name")) {
                        if (Utf8ToUtf16(*v).size() > static_cast<std::size_t>(kMaxMacroNameLength))
                            problem(value.source(), "a macro's name is at most " + std::to_string(kMaxMacroNameLength) +
                                                        " characters long");
                        m.name = *v;
                        if (const auto [at, fresh] = nameLines.emplace(*v, int(value.source().begin.line)); !fresh)
                            problem(value.source(), "two macros are named '" + *v + "' (the other on line " +
                                                        std::to_string(at->second) + ")");
                    }
                } else if (key == "cycles") {
                    if (const auto v = integer(value, "cycles", kMinMacroCycles, kMaxMacroCycles))
                        m.cycles = static_cast<std::uint8_t>(*v);
                } else if (key == "steps") {
                    readSteps(value, m);
                } else {
                    unknown(key, "in a macro (it has id, name, cycles and steps)");
                }
            }
            if (complete) m_setup.macros->push_back(std::move(m));
        }
    }

    void readSteps(const toml::node& node, SetupMacro& m) {
        const toml::array* steps = node.as_array();
        if (!steps) {
            problem(node.source(), "steps must be a list: [{ press = \"A\", delay = 20 }, ...]");
            return;
        }
        if (steps->size() > static_cast<std::size_t>(kMaxMacroActions)) {
            problem(node.source(), "the macro is too long: " + std::to_string(steps->size()) +
                                       " steps, and a macro holds at most " + std::to_string(kMaxMacroActions));
            return;
        }
        for (const toml::node& entry : *steps) {
            const toml::table* t = tableOf(entry, "each step");
            if (!t) continue;
            MacroAction a;
            int keys = 0;
            for (auto&& [key, value] : *t) {
                if (key == "press" || key == "release") {
                    ++keys;
                    a.state = key == "press" ? MACRO_PRESS : MACRO_RELEASE;
                    if (const auto name = string(value, "the key of a step")) {
                        std::string why;
                        if (const auto code = m_names.keyCode(*name, &why))
                            a.keyCode = *code;
                        else
                            problem(value.source(), why);
                    }
                } else if (key == "delay") {
                    // The keyboard keeps pauses in steps of 10 ms; another value would not come back as written.
                    if (const auto v = integer(value, "delay (milliseconds)", 0, kMaxStepDelayMs)) {
                        if (*v % 10 != 0)
                            problem(value.source(), "delay must be a multiple of 10 ms (the keyboard's step)");
                        a.delayMs = static_cast<std::uint32_t>(*v);
                    }
                } else {
                    unknown(key, "in a step (it has press or release, and delay)");
                }
            }
            if (keys != 1)
                problem(entry.source(), "a step presses or releases one key: press = \"A\" or release = \"A\"");
            m.steps.push_back(a);
        }
    }

    std::optional<int> numberKey(const toml::key& key, int count, std::string_view what) {
        const std::string_view s = key.str();
        if (s.size() == 1 && s[0] >= '1' && s[0] < '1' + count) return s[0] - '1';
        problem(key.source(),
                "'" + std::string(s) + "' is not a " + std::string(what) + ": they are 1 to " + std::to_string(count));
        return std::nullopt;
    }

    void readProfiles(const toml::node& node) {
        const toml::table* profiles = tableOf(node, "profile");
        if (!profiles) return;
        for (auto&& [key, value] : *profiles) {
            const auto p = numberKey(key, kProfileCount, "profile");
            const toml::table* t = tableOf(value, "a profile");
            if (!p || !t) continue;
            ProfileSetup& profile = m_setup.profiles[static_cast<std::size_t>(*p)];
            for (auto&& [k, v] : *t) {
                if (k == "keys")
                    readKeys(v, *p, profile);
                else if (k == "lighting")
                    readLighting(v, profile);
                else if (k == "pattern") {
                    if (const auto n = integer(v, "pattern (the one in use)", 1, kPatternCount))
                        profile.currentPattern = static_cast<int>(*n - 1);
                } else if (k == "patterns")
                    readPatterns(v, profile);
                else
                    unknown(k, "in a profile (it has keys, lighting, pattern and patterns)");
            }
        }
    }

    void readKeys(const toml::node& node, int profile, ProfileSetup& setup) {
        const toml::table* keys = tableOf(node, "keys");
        if (!keys) return;
        std::map<KeyIndex, int> lines;
        for (auto&& [key, value] : *keys) {
            std::string why;
            const auto index = m_names.key(key.str(), &why);
            if (!index) {
                problem(key.source(), why);
                continue;
            }
            if (const auto [at, fresh] = lines.emplace(*index, int(key.source().begin.line)); !fresh) {
                problem(key.source(),
                        "'" + std::string(key.str()) + "' names the same key as line " + std::to_string(at->second));
                continue;
            }
            const auto text = string(value, "a key's function");
            if (!text) continue;
            auto record = m_names.function(*text, &why);
            if (!record) {
                problem(value.source(), why);
                continue;
            }
            if (record->type == KF_MACRO)
                m_references.push_back({profile, *index, static_cast<std::uint16_t>(record->value),
                                        int(value.source().begin.line), int(value.source().begin.column)});
            setup.keys[*index] = *record;
        }
    }

    void readLighting(const toml::node& node, ProfileSetup& setup) {
        const toml::table* t = tableOf(node, "lighting");
        if (!t) return;
        static const char* const fourColors[] = {"red", "yellow", "green", "blue"};
        for (auto&& [key, value] : *t) {
            const LightingItemInfo* info = FindLightingItem(key.str());
            if (!info) {
                unknown(key, "in lighting");
                continue;
            }
            std::optional<std::uint32_t> v;
            switch (info->kind) {
            case ItemKind::Number:
                if (const auto n = integer(value, info->name, 0, info->max)) v = static_cast<std::uint32_t>(*n);
                break;
            case ItemKind::Switch:
                if (const auto b = value.value<bool>(); value.is_boolean() && b)
                    v = *b ? 1 : 0;
                else
                    problem(value.source(), std::string(info->name) + " must be true or false");
                break;
            case ItemKind::Color:
                if (const auto c = color(value, info->name))
                    v = (std::uint32_t(c->r) << 16) | (std::uint32_t(c->g) << 8) | c->b;
                break;
            case ItemKind::FourColor: {
                const auto s = value.value<std::string>();
                for (std::uint32_t i = 0; s && i < 4; ++i)
                    if (*s == fourColors[i]) v = i;
                if (!v) problem(value.source(), "four_color must be \"red\", \"yellow\", \"green\" or \"blue\"");
                break;
            }
            }
            if (v) setup.lighting[static_cast<std::size_t>(info->item)] = v;
        }
    }

    void readPatterns(const toml::node& node, ProfileSetup& setup) {
        const toml::table* patterns = tableOf(node, "patterns");
        if (!patterns) return;
        for (auto&& [key, value] : *patterns) {
            const auto n = numberKey(key, kPatternCount, "pattern");
            const toml::table* t = tableOf(value, "a pattern");
            if (!n || !t) continue;
            PatternSetup& pattern = setup.patterns[static_cast<std::size_t>(*n)];
            for (auto&& [k, v] : *t) {
                if (k == "name") {
                    if (auto s = string(v, "a pattern's name")) {
                        if (s->find_first_of("\r\n") != std::string::npos || s->size() > kMaxPatternNameChars * 4)
                            problem(v.source(), "a pattern's name is one line of at most 260 characters");
                        else
                            pattern.name = std::move(*s);
                    }
                } else if (k == "tool") {
                    const auto s = v.value<std::string>();
                    if (s && (*s == "brush" || *s == "base"))
                        pattern.tool = *s == "base" ? PaintTool::Base : PaintTool::Brush;
                    else
                        problem(v.source(), "tool must be \"brush\" or \"base\"");
                } else if (k == "base_color") {
                    if (const auto c = color(v, "base_color")) pattern.baseColor = c;
                } else if (k == "brush_color") {
                    if (const auto c = color(v, "brush_color")) pattern.brushColor = c;
                } else if (k == "colors") {
                    readColors(v, pattern);
                } else {
                    unknown(k, "in a pattern (it has name, tool, base_color, brush_color and colors)");
                }
            }
        }
    }

    void readColors(const toml::node& node, PatternSetup& pattern) {
        const toml::table* t = tableOf(node, "colors");
        if (!t) return;
        std::map<int, int> lines;
        for (auto&& [key, value] : *t) {
            std::optional<int> slot;
            if (key == kFnSlotName) {
                slot = kFnSlot;
            } else if (key == kGKeysSlotName) {
                slot = kGKeySlot;
            } else {
                std::string why;
                const auto index = m_names.key(key.str(), &why);
                for (const ColorSlotKey& s : SetupColorSlots())
                    if (index && s.key == index) slot = s.slot;
                if (!slot) {
                    problem(key.source(), index ? "'" + std::string(key.str()) +
                                                      "' has no colour of its own (the G keys share \"G keys\")"
                                                : why);
                    continue;
                }
            }
            if (const auto [at, fresh] = lines.emplace(*slot, int(key.source().begin.line)); !fresh) {
                problem(key.source(),
                        "'" + std::string(key.str()) + "' names the same key as line " + std::to_string(at->second));
                continue;
            }
            if (const auto c = color(value, "a key's colour")) pattern.colors[*slot] = *c;
        }
    }

    // Macro keys of a file that lists the macros must play one of them.
    void checkMacroReferences() {
        if (!m_setup.macros) return;
        for (const MacroReference& r : m_references) {
            const bool known = std::any_of(m_setup.macros->begin(), m_setup.macros->end(),
                                           [&](const SetupMacro& m) { return m.id == r.id; });
            if (!known) problem(r.line, r.column, "the file's macros have none with id " + std::to_string(r.id));
        }
    }

    const SetupNames& m_names;
    KeyboardSetup m_setup;
    std::vector<FileProblem> m_problems;
    std::vector<MacroReference> m_references;
    FileProblem m_macrosAt;
};

} // namespace

KeyboardFileRead ReadKeyboardFile(std::string_view text, const SetupNames& names) {
    return Reader(names).read(text);
}

std::string DescribeProblem(const FileProblem& p) {
    return std::to_string(p.line) + ":" + std::to_string(p.column) + ": " + p.message;
}

} // namespace ombrel
