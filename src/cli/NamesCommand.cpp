#include "NamesCommand.h"
#include "JsonOutput.h"

#include "CliTexts.h"
#include "KeyArguments.h"
#include "keyboard/KeyTable.h"
#include "keys/KeyAliases.h"

#include <cstdio>

namespace ombrel::cli {

namespace {

constexpr int kGKeysPerBank = 9;

std::vector<std::string> gKeyNames() {
    std::vector<std::string> out;
    for (const char* bank : {"", "B"})
        for (int n = 1; n <= kGKeysPerBank; ++n)
            out.push_back("G" + std::to_string(n) + bank);
    return out;
}

void printNames(const std::vector<std::string>& names, const std::vector<std::string>& others, bool asJson) {
    if (asJson) {
        // Json{names} would make a one-name list a bare string, so the arrays are built as arrays.
        Json json;
        json["names"] = Json::array();
        for (const std::string& n : names)
            json["names"].push_back(n);
        json["other_spellings"] = Json::array();
        for (const std::string& n : others)
            json["other_spellings"].push_back(n);
        PrintJson(json);
        return;
    }
    for (const std::string& n : names)
        std::printf("%s\n", n.c_str());
    for (const std::string& n : others)
        std::printf("%s\n", n.c_str());
}

int cmdNames(const Args& args, const CliOptions& options) {
    const KeyNames names(LoadCliTexts().text);
    const std::string kind = NormaliseName(args[0]);
    if (kind == "keys" || kind == "key") {
        std::vector<std::string> keys = names.keyNames();
        const auto g = gKeyNames();
        keys.insert(keys.end(), g.begin(), g.end());
        std::vector<std::string> others;
        for (const auto& [alias, code] : kKeyAliases)
            others.emplace_back(alias);
        printNames(keys, others, options.json);
    } else if (kind == "keyboard") {
        // The keys the keyboard itself has, for KEY: sending keys such as Calculator or Power are no keys of it.
        const CliTexts texts = LoadCliTexts();
        std::vector<std::string> keys;
        for (const KeyButton& b : KeyButtonTable())
            keys.push_back(texts.keyName(b.code));
        const auto g = gKeyNames();
        keys.insert(keys.end(), g.begin(), g.end());
        printNames(keys, {}, options.json);
    } else if (kind == "media") {
        printNames(names.mediaNames(), {}, options.json);
    } else if (kind == "functions" || kind == "function") {
        printNames(names.functionNames(), {}, options.json);
    } else if (kind == "mouse") {
        std::vector<std::string> mouse;
        for (const MouseArgument& m : kMouseArguments)
            mouse.emplace_back(m.argument);
        printNames(mouse, {}, options.json);
    } else {
        std::fprintf(stderr, "'%s' is not a kind of name: keys, keyboard, media, functions or mouse\n",
                     args[0].c_str());
        return kExitUsage;
    }
    return kExitOk;
}

} // namespace

const std::vector<CommandInfo>& NamesCommands() {
    static const std::vector<CommandInfo> commands = {
        {"names", "KIND", "list the key, media, keyboard-function or mouse names ombrelctl takes", 1, 1, nullptr,
         "KIND is one of:\n"
         "keys       the key names of the language file (for key:KEY), the G keys, then other spellings\n"
         "           such as the short captions of the keyboard map (Ctrl, Win, Del)\n"
         "keyboard   the keys the keyboard has, then the G keys (for KEY of keymap set and colors paint)\n"
         "media      the media functions (for media:NAME)\n"
         "functions  the keyboard functions (for function:NAME)\n"
         "mouse      the mouse buttons and wheel steps, as whole function arguments\n"
         "Letter case, blanks and punctuation do not matter when a name is given, and a unique beginning is enough.",
         cmdNames, false, true},
    };
    return commands;
}

} // namespace ombrel::cli
