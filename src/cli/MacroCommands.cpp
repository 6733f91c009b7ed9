#include "MacroCommands.h"
#include "JsonOutput.h"

#include "StoreWork.h"
#include "keys/Utf16Text.h"

#include <cstdio>
#include <utility>

namespace ombrel::cli {

namespace {

int cmdMacroList(CliSession& s, const Args&) {
    StoreWork work(s);
    if (const int r = work.refresh(false); r != kExitOk) return r;
    const AssignmentStore& w = work.working();
    if (s.options().json) {
        Json macros = Json::array();
        for (const MacroRecord& m : w.macros) {
            Json keys = Json::array();
            for (const auto& [p, index] : KeysPlayingMacro(w, m.macroId()))
                keys.push_back(Json{{"profile", ProfileNumber(p)},
                                    {"key", work.keyLabel(index)},
                                    {"key_argument", KeyArgument(index)}});
            macros.push_back(Json{{"id", unsigned(m.macroId())},
                                  {"name", Utf16ToUtf8(m.name())},
                                  {"cycles", unsigned(m.cycles())},
                                  {"steps", unsigned(m.actionCount())},
                                  {"keys", std::move(keys)}});
        }
        PrintJson(Json{{"macros", std::move(macros)}});
        return kExitOk;
    }
    if (w.macros.empty()) {
        std::printf("the keyboard holds no macros\n");
        return kExitOk;
    }
    std::printf("%-4s %-6s %-6s %-24s %s\n", "ID", "CYCLES", "STEPS", "NAME", "KEYS (profile:key)");
    for (const MacroRecord& m : w.macros) {
        std::string keys;
        for (const auto& [p, index] : KeysPlayingMacro(w, m.macroId()))
            keys += (keys.empty() ? "" : ", ") + std::to_string(ProfileNumber(p)) + ":" + work.keyLabel(index);
        std::printf("%-4u %-6u %-6u %-24s %s\n", m.macroId(), m.cycles(), m.actionCount(),
                    Utf16ToUtf8(m.name()).c_str(), keys.c_str());
    }
    return kExitOk;
}

} // namespace

const std::vector<CommandInfo>& MacroCommands() {
    static const std::vector<CommandInfo> commands = {
        {"macro list", "", "the macros the keyboard holds, with the keys that play them", 0, 0, cmdMacroList,
         "Lists id, cycles, step count and name of each macro in the keyboard's memory, and the keys\n"
         "(profile:key) that play it.",
         nullptr, false, true},
    };
    return commands;
}

} // namespace ombrel::cli
