#include "KeymapCommands.h"
#include "JsonOutput.h"

#include "StoreWork.h"
#include "assign/AssignmentCaption.h"

#include <cstdio>
#include <mutex>

namespace ombrel::cli {

namespace {

int cmdKeymapShow(CliSession& s, const Args& args) {
    StoreWork work(s);
    int profile = 0;
    if (const int r = ProfileOrActive(work, args, profile); r != kExitOk) return r;
    if (const int r = work.refresh(false); r != kExitOk) return r;
    if (!s.options().json) {
        std::printf("Profile %d\n", ProfileNumber(profile));
        for (KeyIndex index : ProfileKeys())
            std::printf("%s\n", work.keyLine(profile, index).c_str());
        return kExitOk;
    }
    Json keys = Json::array();
    for (KeyIndex index : ProfileKeys()) {
        const KeyRecord r = work.working().image.record(RecordNumber(profile, index));
        Json key{{"key", work.keyLabel(index)}, {"key_argument", KeyArgument(index)}};
        if (index < kFirstGKeyIndex) key["key_code"] = unsigned(KeyCodeOf(index));
        key["function"] = FunctionArgument(r);
        key["description"] = work.description(r);
        keys.push_back(std::move(key));
    }
    PrintJson(Json{{"profile", ProfileNumber(profile)}, {"keys", std::move(keys)}});
    return kExitOk;
}

// Gives `key` of profile `profile` the function `function` and writes that profile.
int changeKey(CliSession& s, const std::string& profileArg, const std::string& keyArg, const std::string& function) {
    const auto profile = parseProfile(profileArg);
    if (!profile) return kExitUsage;
    StoreWork work(s);
    const KeyArgumentLookup found = LookupKeyArgument(keyArg, work.names());
    if (!found.index) {
        std::fprintf(stderr, "%s\n", found.problem.c_str());
        return kExitUsage;
    }
    const auto key = found.index;
    std::string error;
    auto record = ParseFunctionArgument(function, work.names(), &error);
    if (!record) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return kExitUsage;
    }
    if (!work.keyboardHasKey(*key)) {
        std::fprintf(stderr, "%s\n", NoSuchKeyText(keyArg).c_str());
        return kExitUsage;
    }
    if (const int r = work.refresh(true); r != kExitOk) return r;
    {
        AssignmentStore& w = work.working();
        std::lock_guard guard(w.lock);
        if (const std::string why = ChangeKeyFunction(w, *profile, *key, *record); !why.empty()) {
            std::fprintf(stderr, "%s\n", why.c_str());
            return kExitUsage;
        }
    }
    const int one[] = {*profile};
    if (const int r = work.saveAndWrite(one); r != kExitOk) return r;
    std::printf("Profile %d: %s\n", ProfileNumber(*profile), work.keyLine(*profile, *key).c_str());
    return kExitOk;
}

int cmdKeymapSet(CliSession& s, const Args& args) {
    return changeKey(s, args[0], args[1], args[2]);
}

int cmdKeymapReset(CliSession& s, const Args& args) {
    return changeKey(s, args[0], args[1], "default");
}

const std::string kKeymapSetHelp =
    std::string("Gives KEY of profile P (1, 2 or 3) another function and writes the profile "
                "to the keyboard.\n") +
    "KEY is a key name from the language file (letter case, blanks and punctuation do not matter, a unique\n"
    "beginning is enough, the map's short captions such as Ctrl, Win or Del work too), a key code in\n"
    "hexadecimal (0x03A), or G1..G9 / G1B..G9B.\n" +
    kFunctionArgumentHelp;

} // namespace

const std::vector<CommandInfo>& KeymapCommands() {
    static const std::vector<CommandInfo> commands = {
        {"keymap show", "[P]", "each key of profile P (default: the active one) with its function", 0, 1, cmdKeymapShow,
         "Lists the 105 keys and the G keys of profile P as the keyboard holds them, one line each in the\n"
         "window's words: \"Caps Lock: Key (Esc)\". With --json each key also comes with its function in the\n"
         "form 'keymap set' takes.",
         nullptr, false, true},
        {"keymap set", "P KEY FUNCTION", "give KEY of profile P another function", 3, 3, cmdKeymapSet,
         kKeymapSetHelp.c_str()},
        {"keymap reset", "P KEY", "give KEY of profile P its factory function back", 2, 2, cmdKeymapReset,
         "The same as 'keymap set P KEY default'."},
    };
    return commands;
}

} // namespace ombrel::cli
