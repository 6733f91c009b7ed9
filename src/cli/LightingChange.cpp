#include "LightingChange.h"

#include "ColorArgument.h"
#include "KeyArguments.h"
#include "lighting/LightingBlock.h"
#include "text/NameMatcher.h"
#include "text/WholeNumber.h"

namespace ombrel::cli {

const char* const kFourColorNames[4] = {"red", "yellow", "green", "blue"};

namespace {

std::optional<int> numberIn(const std::string& field, const std::string& value, int low, int high, std::string* error) {
    const auto n = ParseWholeNumber(value);
    if (!n || *n < low || *n > high) {
        *error = field + " must be a whole number from " + std::to_string(low) + " to " + std::to_string(high) +
                 ", not '" + value + "'";
        return std::nullopt;
    }
    return static_cast<int>(*n);
}

std::optional<int> wordIn(const std::string& field, const std::string& value, std::initializer_list<const char*> words,
                          std::string* error) {
    const std::string given = NormaliseName(value);
    int i = 0;
    std::string list;
    for (const char* w : words) {
        if (given == w) return i;
        list += (i ? ", " : "") + std::string(w);
        ++i;
    }
    *error = field + " must be one of " + list;
    return std::nullopt;
}

} // namespace

const char* DirectionName(std::uint8_t direction) {
    return direction == 255 ? "forward" : direction == 0 ? "backward" : "other";
}

std::optional<LightingChange> ParseLightingChange(const std::string& fieldArg, const std::string& value,
                                                  std::string* error) {
    const std::string field = NormaliseName(fieldArg);
    LightingChange c;
    if (field == "effect") {
        if (const auto n = ParseWholeNumber(value)) {
            if (*n < 1 || *n > 255) {
                *error = "effect must be a number from 1 to 255 or an effect's name, not '" + value + "'";
                return std::nullopt;
            }
            c.effectToOffer = static_cast<LightingEffect>(*n);
        } else {
            c.effectArgument = value;
        }
        return c;
    }
    if (field == "brightness") {
        const auto n = numberIn("brightness", value, 0, kMaxBrightness, error);
        if (!n) return std::nullopt;
        c.description = "brightness " + std::to_string(*n);
        c.apply = [n](LightingWriter& w) { return w.setBrightness(*n); };
    } else if (field == "speed") {
        const auto n = numberIn("speed", value, 0, kMaxSpeed, error);
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
            *error = "direction must be 0, 255, backward or forward, not '" + value + "'";
            return std::nullopt;
        }
        c.description = "direction " + std::to_string(*d);
        c.apply = [d](LightingWriter& w) { return w.setDirection(static_cast<std::uint8_t>(*d)); };
    } else if (field == "color" || field == "colour") {
        const auto color = ParseColorArgument(value);
        if (!color) {
            *error = NotAColorText(value);
            return std::nullopt;
        }
        c.description = "color " + HexColor(*color) + " (colorful off)";
        c.apply = [color](LightingWriter& w) { return w.setColor(*color); };
    } else if (field == "colorful" || field == "colourful") {
        const auto on = wordIn("colorful", value, {"off", "on"}, error);
        if (!on) return std::nullopt;
        c.description = std::string("colorful ") + (*on ? "on" : "off");
        c.apply = [on](LightingWriter& w) { return w.setColorful(*on != 0); };
    } else if (field == "fourcolor" || field == "fourcolour") {
        std::optional<int> k;
        if (ParseWholeNumber(value))
            k = numberIn("four-color", value, 0, kMaxColorChoice, error);
        else
            k = wordIn("four-color", value, {"red", "yellow", "green", "blue"}, error);
        if (!k) return std::nullopt;
        c.description = std::string("four-color ") + kFourColorNames[*k];
        c.apply = [k](LightingWriter& w) { return w.setColorChoice(*k); };
    } else if (field == "reportrate") {
        const auto n = numberIn("report-rate", value, 0, kMaxReportRate, error);
        if (!n) return std::nullopt;
        c.description = "report-rate " + std::to_string(*n);
        c.apply = [n](LightingWriter& w) { return w.setReportRate(*n); };
    } else {
        *error = "'" + fieldArg +
                 "' is not a lighting field: effect, brightness, speed, direction, color, colorful, four-color or "
                 "report-rate";
        return std::nullopt;
    }
    return c;
}

bool ResolveLightingEffect(LightingChange& c, const ConfigBlock& config,
                           const std::function<std::string(LightingEffect)>& effectName, std::string* error) {
    const auto offered = config.offeredEffects();
    std::string hint;
    if (!c.effectToOffer) {
        NameMatcher names;
        for (LightingEffect e : offered)
            names.add(effectName(e), EffectNumber(e));
        const NameMatch found = names.match(c.effectArgument);
        if (found.value) c.effectToOffer = static_cast<LightingEffect>(*found.value);
        hint = DidYouMean(found.suggestions);
        // A beginning several offered effects share is no unknown effect: say which ones it could be.
        std::string several;
        int count = 0;
        const std::string typed = NormaliseName(c.effectArgument);
        for (LightingEffect e : offered)
            if (!typed.empty() && NormaliseName(effectName(e)).rfind(typed, 0) == 0)
                several += (count++ ? ", " : "") + effectName(e);
        if (!found.value && count > 1) {
            *error = "'" + c.effectArgument + "' is the beginning of several effects (" + several +
                     "); give more of the name";
            return false;
        }
    }
    if (!c.effectToOffer || !config.offersEffect(*c.effectToOffer)) {
        std::string list;
        for (LightingEffect e : offered)
            list += "  " + std::to_string(EffectNumber(e)) + " " + effectName(e);
        *error = "the keyboard does not offer the effect '" +
                 (c.effectArgument.empty() ? std::to_string(EffectNumber(*c.effectToOffer)) : c.effectArgument) + "'" +
                 (hint.empty() ? "" : ", ") + hint + "; it offers:" + list;
        return false;
    }
    const LightingEffect effect = *c.effectToOffer;
    c.description = "effect " + std::to_string(EffectNumber(effect)) + " (" + effectName(effect) + ")";
    c.apply = [effect](LightingWriter& w) { return w.selectEffect(effect); };
    return true;
}

} // namespace ombrel::cli
