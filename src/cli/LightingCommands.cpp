#include "LightingCommands.h"

#include "CliTexts.h"
#include "ColorArgument.h"
#include "KeyArguments.h"
#include "device/LinkResult.h"
#include "keyboard/KeyTable.h"
#include "lighting/EffectCatalogue.h"
#include "lighting/LightingWriter.h"
#include "lighting/UserPatterns.h"
#include "platform/AppPaths.h"
#include "text/JsonWriter.h"
#include "text/NameMatcher.h"
#include "text/WholeNumber.h"

#include <charconv>
#include <cstdio>
#include <functional>

namespace ombrel::cli {

namespace {

constexpr const char* kChoiceNames[] = {"red", "yellow", "green", "blue"};

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

// The words 'lighting set' takes for a direction; other values (set by another program) have none.
const char* directionName(std::uint8_t direction) {
    return direction == 255 ? "forward" : direction == 0 ? "backward" : "other";
}

int cmdLightingShow(CliSession& s, const Args& args) {
    std::optional<int> profile;
    if (!args.empty() && !(profile = parseProfile(args[0]))) return kExitUsage;
    LightingWork work(s);
    if (const int r = work.load(profile); r != kExitOk) return r;
    const LightingFields& f = work.state.fields;
    const bool active = work.state.profile == work.state.config.activeProfile();
    if (s.options().json) {
        JsonWriter json;
        json.beginObject()
            .member("profile", ProfileNumber(work.state.profile))
            .member("active", active)
            .key("effect")
            .beginObject()
            .member("number", EffectNumber(f.effect))
            .member("name", work.effectName(f.effect))
            .endObject()
            .member("brightness", unsigned(f.brightness))
            .member("speed", unsigned(f.speed))
            .member("direction", unsigned(f.direction))
            .member("direction_name", directionName(f.direction))
            .member("colorful", f.colorful)
            .key("color");
        JsonColor(json, f.color);
        json.member("four_color", kChoiceNames[f.colorChoice])
            .member("report_rate", unsigned(f.reportRate))
            .key("offered_effects")
            .beginArray();
        for (LightingEffect e : work.state.config.offeredEffects())
            json.beginObject().member("number", EffectNumber(e)).member("name", work.effectName(e)).endObject();
        json.endArray().endObject();
        std::fputs(json.text().c_str(), stdout);
        return kExitOk;
    }
    std::printf("Profile %d%s\n", ProfileNumber(work.state.profile), active ? " (the active profile)" : "");
    std::printf("effect       %u (%s)\n", EffectNumber(f.effect), work.effectName(f.effect).c_str());
    std::printf("brightness   %u\n", f.brightness);
    std::printf("speed        %u\n", f.speed);
    std::printf("direction    %u (%s)\n", f.direction, directionName(f.direction));
    std::printf("colorful     %s\n", f.colorful ? "on" : "off");
    std::printf("color        %s (%u,%u,%u)\n", HexColor(f.color).c_str(), f.color.r, f.color.g, f.color.b);
    std::printf("four-color   %s\n", kChoiceNames[f.colorChoice]);
    std::printf("report-rate  %u\n", f.reportRate);
    std::printf("Effects offered:");
    for (LightingEffect e : work.state.config.offeredEffects())
        std::printf("  %u %s", EffectNumber(e), work.effectName(e).c_str());
    std::printf("\n");
    return kExitOk;
}

// A change of one field, checked before anything is sent.
struct FieldChange {
    std::string description;                     // "brightness 3"
    std::function<int(LightingWriter&)> apply;   // runs the change
    std::optional<LightingEffect> effectToOffer; // an effect the keyboard must offer
    std::string effectArgument;                  // an effect given by name, resolved after the load
};

std::optional<int> numberIn(const std::string& field, const std::string& value, int low, int high) {
    const auto n = ParseWholeNumber(value);
    if (!n || *n < low || *n > high) {
        std::fprintf(stderr, "%s must be a whole number from %d to %d, not '%s'\n", field.c_str(), low, high,
                     value.c_str());
        return std::nullopt;
    }
    return static_cast<int>(*n);
}

std::optional<int> wordIn(const std::string& field, std::string value, std::initializer_list<const char*> words) {
    value = NormaliseName(value);
    int i = 0;
    std::string list;
    for (const char* w : words) {
        if (value == w) return i;
        list += (i ? ", " : "") + std::string(w);
        ++i;
    }
    std::fprintf(stderr, "%s must be one of %s\n", field.c_str(), list.c_str());
    return std::nullopt;
}

std::optional<FieldChange> parseChange(const std::string& fieldArg, const std::string& value) {
    const std::string field = NormaliseName(fieldArg);
    FieldChange c;
    if (field == "effect") {
        if (const auto n = ParseWholeNumber(value)) {
            if (*n < 1 || *n > 255) {
                std::fprintf(stderr, "effect must be a number from 1 to 255 or an effect's name, not '%s'\n",
                             value.c_str());
                return std::nullopt;
            }
            c.effectToOffer = static_cast<LightingEffect>(*n);
        } else {
            c.effectArgument = value;
        }
        return c;
    }
    if (field == "brightness") {
        const auto n = numberIn("brightness", value, 0, kMaxBrightness);
        if (!n) return std::nullopt;
        c.description = "brightness " + std::to_string(*n);
        c.apply = [n](LightingWriter& w) { return w.setBrightness(*n); };
    } else if (field == "speed") {
        const auto n = numberIn("speed", value, 0, kMaxSpeed);
        if (!n) return std::nullopt;
        c.description = "speed " + std::to_string(*n);
        c.apply = [n](LightingWriter& w) { return w.setSpeed(*n); };
    } else if (field == "direction") {
        std::optional<int> d;
        if (const auto n = ParseWholeNumber(value); n && (*n == 0 || *n == 255))
            d = static_cast<int>(*n);
        else if (const std::string word = NormaliseName(value); word == "backward" || word == "forward")
            d = word == "forward" ? 255 : 0;
        if (!d) {
            std::fprintf(stderr, "direction must be 0, 255, backward or forward, not '%s'\n", value.c_str());
            return std::nullopt;
        }
        c.description = "direction " + std::to_string(*d);
        c.apply = [d](LightingWriter& w) { return w.setDirection(static_cast<std::uint8_t>(*d)); };
    } else if (field == "color" || field == "colour") {
        const auto color = ColorOrComplain(value);
        if (!color) return std::nullopt;
        c.description = "color " + HexColor(*color) + " (colorful off)";
        c.apply = [color](LightingWriter& w) { return w.setColor(*color); };
    } else if (field == "colorful" || field == "colourful") {
        const auto on = wordIn("colorful", value, {"off", "on"});
        if (!on) return std::nullopt;
        c.description = std::string("colorful ") + (*on ? "on" : "off");
        c.apply = [on](LightingWriter& w) { return w.setColorful(*on != 0); };
    } else if (field == "fourcolor" || field == "fourcolour") {
        std::optional<int> k;
        if (const auto n = ParseWholeNumber(value))
            k = numberIn("four-color", value, 0, kMaxColorChoice);
        else
            k = wordIn("four-color", value, {"red", "yellow", "green", "blue"});
        if (!k) return std::nullopt;
        c.description = std::string("four-color ") + kChoiceNames[*k];
        c.apply = [k](LightingWriter& w) { return w.setColorChoice(*k); };
    } else if (field == "reportrate") {
        const auto n = numberIn("report-rate", value, 0, kMaxReportRate);
        if (!n) return std::nullopt;
        c.description = "report-rate " + std::to_string(*n);
        c.apply = [n](LightingWriter& w) { return w.setReportRate(*n); };
    } else {
        std::fprintf(stderr,
                     "'%s' is not a lighting field: effect, brightness, speed, direction, color, colorful, "
                     "four-color or report-rate\n",
                     fieldArg.c_str());
        return std::nullopt;
    }
    return c;
}

// Resolves the effect of `c` against the effects the keyboard offers.
bool resolveEffect(FieldChange& c, const LightingWork& work) {
    const auto offered = work.state.config.offeredEffects();
    std::string hint;
    if (!c.effectToOffer) {
        NameMatcher names;
        for (LightingEffect e : offered)
            names.add(work.effectName(e), EffectNumber(e));
        const NameMatch found = names.match(c.effectArgument);
        if (found.value) c.effectToOffer = static_cast<LightingEffect>(*found.value);
        hint = DidYouMean(found.suggestions);
        // A beginning several offered effects share is no unknown effect: say which ones it could be.
        std::string several;
        int count = 0;
        const std::string typed = NormaliseName(c.effectArgument);
        for (LightingEffect e : offered)
            if (!typed.empty() && NormaliseName(work.effectName(e)).rfind(typed, 0) == 0) {
                several += (count++ ? ", " : "") + work.effectName(e);
            }
        if (!found.value && count > 1) {
            std::fprintf(stderr, "'%s' is the beginning of several effects (%s); give more of the name\n",
                         c.effectArgument.c_str(), several.c_str());
            return false;
        }
    }
    if (!c.effectToOffer || !work.state.config.offersEffect(*c.effectToOffer)) {
        std::string list;
        for (LightingEffect e : offered)
            list += "  " + std::to_string(EffectNumber(e)) + " " + work.effectName(e);
        std::fprintf(stderr, "the keyboard does not offer the effect '%s'%s%s; it offers:%s\n",
                     c.effectArgument.empty() ? std::to_string(EffectNumber(*c.effectToOffer)).c_str()
                                              : c.effectArgument.c_str(),
                     hint.empty() ? "" : ", ", hint.c_str(), list.c_str());
        return false;
    }
    const LightingEffect effect = *c.effectToOffer;
    c.description = "effect " + std::to_string(EffectNumber(effect)) + " (" + work.effectName(effect) + ")";
    c.apply = [effect](LightingWriter& w) { return w.selectEffect(effect); };
    return true;
}

int cmdLightingSet(CliSession& s, const Args& args) {
    const auto profile = parseProfile(args[0]);
    if (!profile) return kExitUsage;
    auto change = parseChange(args[1], args[2]);
    if (!change) return kExitUsage;
    LightingWork work(s);
    if (const int r = work.load(*profile); r != kExitOk) return r;
    if (!change->apply && !resolveEffect(*change, work)) return kExitUsage;
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
