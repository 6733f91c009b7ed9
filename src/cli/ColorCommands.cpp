#include "ColorCommands.h"
#include "JsonOutput.h"

#include "CliTexts.h"
#include "ColorArgument.h"
#include "KeyArguments.h"
#include "KeyPaint.h"
#include "device/LinkResult.h"
#include "keyboard/KeyTable.h"
#include "lighting/EffectCatalogue.h"
#include "lighting/LightingWriter.h"
#include "lighting/UserPatterns.h"
#include "platform/AppPaths.h"
#include "text/NameMatcher.h"
#include "text/WholeNumber.h"

#include <charconv>
#include <cstdio>
#include <functional>

namespace ombrel::cli {

namespace {

// A damaged colour file shows and is rewritten as defaults; the user hears of it, by name.
void WarnIfColorFileDamaged(const std::string& path) {
    if (const std::string damage = ColorFileDamage(path); !damage.empty())
        std::fprintf(stderr, "warning: the colour file %s is damaged (%s); its patterns read as defaults\n",
                     path.c_str(), damage.c_str());
}

// The profile's colour file, opened the way the window opens it.
class ColorWork {
public:
    ColorWork(CliSession& session, int profile) : m_patterns(session.commands(), session.paths().userColorPrefix) {
        WarnIfColorFileDamaged(UserColorFile(session.paths().userColorPrefix, profile));
        m_patterns.onFileUnwritable = [this](const std::string& problem) {
            std::fprintf(stderr, "the colours are not saved: %s\n", problem.c_str());
            m_fileFailed = true;
        };
        m_patterns.open(profile);
    }
    UserPatterns& patterns() { return m_patterns; }
    // The exit code for a device result, failing too when the colour file could not be written.
    int finish(const char* what, int result) const {
        const int code = ReportResult(what, result);
        return code == kExitOk && m_fileFailed ? kExitFailed : code;
    }

private:
    UserPatterns m_patterns;
    bool m_fileFailed = false;
};

std::optional<int> parsePattern(const std::string& text) {
    const auto n = ParseWholeNumber(text);
    if (!n || *n < 0 || *n >= kPatternCount) {
        std::fprintf(stderr, "'%s' is not a pattern: patterns are 0, 1 and 2\n", text.c_str());
        return std::nullopt;
    }
    return static_cast<int>(*n);
}

int cmdColorsShow(CliSession& s, const Args& args) {
    const auto profile = parseProfile(args[0]);
    if (!profile) return kExitUsage;
    // Seeded as the first change would seed it, so a later change shows the same colours.
    if (!EnsureUserFolder(s.paths())) return kExitFailed;
    const std::string path = UserColorFile(s.paths().userColorPrefix, *profile);
    WarnIfColorFileDamaged(path);
    const IniDocument doc = ReadIniDocument(path).value_or(IniDocument());
    const ColorFileView file(doc);
    int pattern = file.currentPattern();
    if (args.size() > 1) {
        const auto p = parsePattern(args[1]);
        if (!p) return kExitUsage;
        pattern = *p;
    }
    const PatternSettings settings = file.settings(pattern);
    const CliTexts texts = LoadCliTexts();
    const auto entries = file.entries(pattern);
    struct Line {
        std::string argument, name;
        int slot;
    };
    std::vector<Line> lines;
    const auto& buttons = KeyButtonTable();
    for (std::size_t i = 0; i < buttons.size(); ++i)
        lines.push_back(
            {KeyArgument(KeyIndexOf(buttons[i].code)), texts.keyName(buttons[i].code), KeyButtonSlots()[i]});
    lines.push_back({"Fn", "Fn", kFnSlot});
    lines.push_back({"G1-G9", "G keys", kGKeySlot});
    if (s.options().json) {
        Json json;
        json["profile"] = ProfileNumber(*profile);
        json["file"] = path;
        json["current_pattern"] = file.currentPattern();
        Json patterns = Json::array();
        for (int p = 0; p < kPatternCount; ++p)
            patterns.push_back(
                Json{{"pattern", p}, {"name", file.patternName(p)}, {"current", p == file.currentPattern()}});
        json["patterns"] = std::move(patterns);
        json["pattern"] = pattern;
        json["tool"] = settings.tool == PaintTool::Base ? "base" : "brush";
        json["base_color"] = JsonColor(settings.baseColor);
        json["brush_color"] = JsonColor(settings.brushColor);
        Json keys = Json::array();
        for (const Line& l : lines) {
            const ColorEntry& e = entries[static_cast<std::size_t>(l.slot)];
            keys.push_back(Json{{"key", l.name},
                                {"key_argument", l.argument},
                                {"slot", l.slot},
                                {"color", JsonColor(e.color)},
                                {"base", e.base}});
        }
        json["keys"] = std::move(keys);
        PrintJson(json);
        return kExitOk;
    }
    std::printf("Profile %d colour patterns (%s):\n", ProfileNumber(*profile), path.c_str());
    for (int p = 0; p < kPatternCount; ++p)
        std::printf("  %d %s%s\n", p, file.patternName(p).c_str(), p == file.currentPattern() ? "  (current)" : "");
    std::printf("Pattern %d: tool %s, base colour %s, brush colour %s\n", pattern,
                settings.tool == PaintTool::Base ? "base" : "brush", HexColor(settings.baseColor).c_str(),
                HexColor(settings.brushColor).c_str());
    for (const Line& l : lines) {
        const ColorEntry& e = entries[static_cast<std::size_t>(l.slot)];
        std::printf("%-6s %-14s slot %3d  %s  %s\n", l.argument.c_str(), l.name.c_str(), l.slot,
                    HexColor(e.color).c_str(), e.base ? "base" : "brush");
    }
    return kExitOk;
}

int cmdColorsPaint(CliSession& s, const Args& args) {
    const auto profile = parseProfile(args[0]);
    if (!profile) return kExitUsage;
    std::string problem;
    const auto control = PaintableControl(args[1], KeyNames(LoadCliTexts().text), &problem);
    if (!control) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return kExitUsage;
    }
    const auto color = ColorOrComplain(args[2]);
    if (!color) return kExitUsage;
    const bool base = args.size() > 3;
    if (base && args[3] != "--base") {
        std::fprintf(stderr, "unknown argument '%s' (the only one is --base)\n", args[3].c_str());
        return kExitUsage;
    }
    if (!EnsureUserFolder(s.paths())) return kExitFailed;
    ColorWork work(s, *profile);
    UserPatterns& p = work.patterns();
    const int r = PaintControl(p, *control, *color, base);
    if (r == LINK_OK)
        std::printf("profile %d, pattern %d: %s painted %s%s\n", ProfileNumber(*profile), p.currentPattern(),
                    args[1].c_str(), HexColor(*color).c_str(), base ? " (base colour)" : "");
    return work.finish("writing the key colours", r);
}

int cmdColorsSlot(CliSession& s, const Args& args) {
    const auto profile = parseProfile(args[0]);
    if (!profile) return kExitUsage;
    const auto pattern = parsePattern(args[1]);
    if (!pattern) return kExitUsage;
    if (!EnsureUserFolder(s.paths())) return kExitFailed;
    ColorWork work(s, *profile);
    const int r = work.patterns().selectPattern(*pattern);
    if (r == LINK_OK)
        std::printf("profile %d: pattern %d (%s) is current and written to the keyboard\n", ProfileNumber(*profile),
                    *pattern, work.patterns().patternNames()[static_cast<std::size_t>(*pattern)].c_str());
    return work.finish("writing the key colours", r);
}

int cmdColorsBase(CliSession& s, const Args& args) {
    const auto profile = parseProfile(args[0]);
    if (!profile) return kExitUsage;
    const auto color = ColorOrComplain(args[1]);
    if (!color) return kExitUsage;
    if (!EnsureUserFolder(s.paths())) return kExitFailed;
    ColorWork work(s, *profile);
    const int r = work.patterns().setBaseColor(*color);
    if (r == LINK_OK)
        std::printf("profile %d, pattern %d: base colour %s\n", ProfileNumber(*profile),
                    work.patterns().currentPattern(), HexColor(*color).c_str());
    return work.finish("writing the key colours", r);
}

} // namespace

const std::vector<CommandInfo>& ColorCommands() {
    static const std::vector<CommandInfo> commands = {
        {"colors show", "P [PATTERN]", "the per-key colours of a pattern of profile P (default: the current one)", 1, 2,
         cmdColorsShow,
         "The colours come from the profile's colour file, which holds the three named patterns of the user effect "
         "(the keyboard's colour memory cannot be read back).",
         nullptr, false, true},
        {"colors paint", "P KEY COLOR [--base]", "paint one key of profile P's current pattern", 3, 4, cmdColorsPaint,
         "KEY is a key name, a hexadecimal key code or Fn. Without --base the key gets COLOR as the brush colour; "
         "with --base COLOR becomes the pattern's base colour (every key that carries it changes too) and the key "
         "carries it from then on.\nCOLOR is RRGGBB in hexadecimal or R,G,B in decimal."},
        {"colors slot", "P N", "make pattern N (0, 1 or 2) of profile P current and write it to the keyboard", 2, 2,
         cmdColorsSlot},
        {"colors base", "P COLOR", "change the base colour of profile P's current pattern", 2, 2, cmdColorsBase,
         "Every key that carries the base colour (the G keys among them) gets the new colour; keys painted with the "
         "brush keep theirs.\nCOLOR is RRGGBB in hexadecimal or R,G,B in decimal."},
    };
    return commands;
}

} // namespace ombrel::cli
