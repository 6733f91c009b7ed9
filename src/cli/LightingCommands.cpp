#include "LightingCommands.h"
#include "JsonOutput.h"

#include "CliTexts.h"
#include "ColorArgument.h"
#include "KeyArguments.h"
#include "LightingChange.h"
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

struct LightingWork {
    explicit LightingWork(CliSession& s) : session(s), texts(LoadCliTexts()) {}

    // Reads the keyboard's lighting and shows `profile` (the active one when empty).
    int load(std::optional<int> profile) {
        if (const int r = LoadLighting(session.commands(), state); r != LINK_OK)
            return ReportResult("reading the lighting", r);
        if (profile) state.showProfile(*profile);
        return kExitOk;
    }
    std::string effectName(LightingEffect effect) const {
        return texts.effectName(std::to_string(EffectNumber(effect)));
    }

    CliSession& session;
    CliTexts texts;
    LightingState state;
};

int cmdLightingShow(CliSession& s, const Args& args) {
    std::optional<int> profile;
    if (!args.empty() && !(profile = parseProfile(args[0]))) return kExitUsage;
    LightingWork work(s);
    if (const int r = work.load(profile); r != kExitOk) return r;
    const LightingFields& f = work.state.fields;
    const bool active = work.state.profile == work.state.config.activeProfile();
    if (s.options().json) {
        Json json;
        json["profile"] = ProfileNumber(work.state.profile);
        json["active"] = active;
        json["effect"] = Json{{"number", EffectNumber(f.effect)}, {"name", work.effectName(f.effect)}};
        json["brightness"] = unsigned(f.brightness);
        json["speed"] = unsigned(f.speed);
        json["direction"] = unsigned(f.direction);
        json["direction_name"] = DirectionName(f.direction);
        json["colorful"] = f.colorful;
        json["color"] = JsonColor(f.color);
        json["four_color"] = kFourColorNames[f.colorChoice];
        json["report_rate"] = unsigned(f.reportRate);
        Json effects = Json::array();
        for (LightingEffect e : work.state.config.offeredEffects())
            effects.push_back(Json{{"number", EffectNumber(e)}, {"name", work.effectName(e)}});
        json["offered_effects"] = std::move(effects);
        PrintJson(json);
        return kExitOk;
    }
    std::printf("Profile %d%s\n", ProfileNumber(work.state.profile), active ? " (the active profile)" : "");
    std::printf("effect       %u (%s)\n", EffectNumber(f.effect), work.effectName(f.effect).c_str());
    std::printf("brightness   %u\n", f.brightness);
    std::printf("speed        %u\n", f.speed);
    std::printf("direction    %u (%s)\n", f.direction, DirectionName(f.direction));
    std::printf("colorful     %s\n", f.colorful ? "on" : "off");
    std::printf("color        %s (%u,%u,%u)\n", HexColor(f.color).c_str(), f.color.r, f.color.g, f.color.b);
    std::printf("four-color   %s\n", kFourColorNames[f.colorChoice]);
    std::printf("report-rate  %u\n", f.reportRate);
    std::printf("Effects offered:");
    for (LightingEffect e : work.state.config.offeredEffects())
        std::printf("  %u %s", EffectNumber(e), work.effectName(e).c_str());
    std::printf("\n");
    return kExitOk;
}

int cmdLightingSet(CliSession& s, const Args& args) {
    const auto profile = parseProfile(args[0]);
    if (!profile) return kExitUsage;
    std::string why;
    auto change = ParseLightingChange(args[1], args[2], &why);
    if (!change) {
        std::fprintf(stderr, "%s\n", why.c_str());
        return kExitUsage;
    }
    LightingWork work(s);
    if (const int r = work.load(*profile); r != kExitOk) return r;
    const auto effectName = [&work](LightingEffect e) { return work.effectName(e); };
    if (!change->apply && !ResolveLightingEffect(*change, work.state.config, effectName, &why)) {
        std::fprintf(stderr, "%s\n", why.c_str());
        return kExitUsage;
    }
    LightingWriter writer(s.commands(), work.state);
    const int r = change->apply(writer);
    if (r == LINK_OK) std::printf("profile %d: %s\n", ProfileNumber(*profile), change->description.c_str());
    return ReportResult("writing the lighting", r);
}

int cmdLightingReset(CliSession& s, const Args& args) {
    const auto profile = parseProfile(args[0]);
    if (!profile) return kExitUsage;
    LightingWork work(s);
    if (const int r = work.load(*profile); r != kExitOk) return r;
    LightingWriter writer(s.commands(), work.state);
    const int r = writer.reset();
    if (r == LINK_OK)
        std::printf("profile %d: default lighting (effect 1, brightness 5, speed 2, colorful white)\n",
                    ProfileNumber(*profile));
    return ReportResult("writing the lighting", r);
}

} // namespace

const std::vector<CommandInfo>& LightingCommands() {
    static const std::vector<CommandInfo> commands = {
        {"lighting show", "[P]", "the lighting of profile P (default: the active one) and the offered effects", 0, 1,
         cmdLightingShow, nullptr, nullptr, false, true},
        {"lighting set", "P FIELD VALUE", "change one lighting field of profile P, written at once", 3, 3,
         cmdLightingSet,
         "FIELD and VALUE:\n"
         "  effect N|NAME      an effect the keyboard offers (see 'lighting show')\n"
         "  brightness 0-5\n"
         "  speed 0-4          0 is the fastest, 4 the slowest (the window's slider: slow at the left)\n"
         "  direction 0|255    also backward|forward; what it means depends on the effect\n"
         "  color COLOR        one colour (turns colorful off)\n"
         "  colorful on|off\n"
         "  four-color red|yellow|green|blue   the colour of the four-colour effect (also 0-3)\n"
         "  report-rate 0-3    the keyboard's USB report rate setting\n"
         "COLOR is RRGGBB in hexadecimal or R,G,B in decimal."},
        {"lighting reset", "P", "give profile P the default lighting (its colour patterns are kept)", 1, 1,
         cmdLightingReset},
    };
    return commands;
}

} // namespace ombrel::cli
