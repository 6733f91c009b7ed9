#include "Commands.h"
#include "JsonOutput.h"

#include "BackupCommands.h"
#include "CliTexts.h"
#include "ColorCommands.h"
#include "DoctorCommand.h"
#include "FirmwareCommands.h"
#include "HexDump.h"
#include "HistoryCommands.h"
#include "KeyboardFileCommands.h"
#include "KeymapCommands.h"
#include "LightingCommands.h"
#include "MacroCommands.h"
#include "NamesCommand.h"
#include "RulesCommands.h"
#include "device/ActiveProfile.h"
#include "device/CommandTexts.h"
#include "device/LinkResult.h"
#include "keyboard/ConfigBlock.h"
#include "profiles/ProfileNames.h"
#include "text/WholeNumber.h"

#include <charconv>
#include <cstdio>
#include <optional>

namespace ombrel::cli {

namespace {

int readConfig(CliSession& s, ConfigBlock& block) {
    return s.commands().ReadConfig(block.bytes);
}

std::string firmwareVersionText(unsigned v) {
    return FirmwareVersionText(v);
}

int cmdInfo(CliSession& s, const Args&) {
    ConfigBlock block;
    if (const int r = readConfig(s, block); r != LINK_OK) return ReportResult("reading the configuration", r);
    const unsigned v = block.firmwareVersion();
    if (s.options().json) {
        const CliTexts texts = LoadCliTexts();
        Json json;
        json["firmware_version"] = firmwareVersionText(v);
        json["firmware_version_code"] = v;
        json["firmware_update_recommended"] = block.needsFirmwareUpdate();
        json["active_profile"] = ProfileNumber(block.activeProfile());
        json["macro_capacity_bytes"] = unsigned(block.macroCapacity());
        Json effects = Json::array();
        for (LightingEffect e : block.offeredEffects())
            effects.push_back(
                Json{{"number", EffectNumber(e)}, {"name", texts.effectName(std::to_string(EffectNumber(e)))}});
        json["offered_effects"] = std::move(effects);
        PrintJson(json);
        return kExitOk;
    }
    std::printf("Firmware version:  %s (0x%04X)%s\n", firmwareVersionText(v).c_str(), v,
                block.needsFirmwareUpdate() ? "  -- older than 1.10, an update is recommended" : "");
    std::printf("Active profile:    %d\n", ProfileNumber(block.activeProfile()));
    std::printf("Macro capacity:    %u bytes (%u units of 128)\n", block.macroCapacity(), block.macroUnits());
    std::printf("Offered effects:  ");
    for (LightingEffect e : block.offeredEffects())
        std::printf(" %u", EffectNumber(e));
    std::printf("\n");
    return kExitOk;
}

int cmdProfileGet(CliSession& s, const Args&) {
    const int p = GetActiveProfile(s.commands(), s.link().state());
    if (p < 0) return ReportResult("reading the active profile", LINK_NO_REPLY);
    if (s.options().json) {
        PrintJson(Json{{"active_profile", ProfileNumber(p)}});
    } else {
        std::printf("%d\n", ProfileNumber(p));
    }
    return kExitOk;
}

int cmdProfileList(CliSession& s, const Args&) {
    const int active = GetActiveProfile(s.commands(), s.link().state());
    if (active < 0) return ReportResult("reading the active profile", LINK_NO_REPLY);
    const TextLookup text = LoadCliTexts().text;
    if (s.options().json) {
        Json profiles = Json::array();
        for (int p = 0; p < kProfileCount; ++p)
            profiles.push_back(
                Json{{"profile", ProfileNumber(p)}, {"name", ProfileDisplayName(p, text)}, {"active", p == active}});
        PrintJson(Json{{"active_profile", ProfileNumber(active)}, {"profiles", std::move(profiles)}});
        return kExitOk;
    }
    for (int p = 0; p < kProfileCount; ++p)
        std::printf("%c %d  %s\n", p == active ? '*' : ' ', ProfileNumber(p), ProfileDisplayName(p, text).c_str());
    return kExitOk;
}

int cmdProfileSet(CliSession& s, const Args& args) {
    const auto p = parseProfile(args[0]);
    if (!p) return kExitUsage;
    const int r = SetActiveProfile(s.commands(), s.link().state(), *p);
    if (r == LINK_OK) std::printf("profile %d is active\n", ProfileNumber(*p));
    return ReportResult("switching the profile", r);
}

int cmdReadConfig(CliSession& s, const Args&) {
    ConfigBlock block;
    if (const int r = readConfig(s, block); r != LINK_OK) return ReportResult("reading the configuration", r);
    std::fputs(HexDump(block.bytes).c_str(), stdout);
    return kExitOk;
}

int cmdReadLighting(CliSession& s, const Args& args) {
    const auto p = parseProfile(args[0]);
    if (!p) return kExitUsage;
    std::array<std::uint8_t, kChunkSize> window{};
    // Lighting is read inside a begin/end bracket, as the program's own lighting load does.
    const int r = s.commands().Bracketed(
        [&] { return s.commands().ReadLighting(window, kChunkSize, *p * static_cast<int>(kLightingBlockSize)); });
    if (r != LINK_OK) return ReportResult("reading the lighting block", r);
    std::fputs(HexDump(std::span(window).first(kLightingBlockSize), *p * kLightingBlockSize).c_str(), stdout);
    return kExitOk;
}

int cmdReadKeymap(CliSession& s, const Args& args) {
    const auto p = parseProfile(args[0]);
    if (!p) return kExitUsage;
    std::array<std::uint8_t, kKeymapSize> block{};
    if (const int r = s.commands().ReadKeymap(block, *p); r != LINK_OK)
        return ReportResult("reading the key functions", r);
    std::fputs(HexDump(block, static_cast<std::size_t>(*p) * kKeymapSize).c_str(), stdout);
    return kExitOk;
}

int cmdReadDefaultKeymap(CliSession& s, const Args&) {
    std::array<std::uint8_t, kKeymapSize> block{};
    if (const int r = s.commands().ReadDefaultKeymap(block); r != LINK_OK)
        return ReportResult("reading the factory key functions", r);
    std::fputs(HexDump(block).c_str(), stdout);
    return kExitOk;
}

int cmdReadMacros(CliSession& s, const Args& args) {
    // The keyboard says how much macro memory it has; more cannot be read.
    ConfigBlock block;
    if (const int r = readConfig(s, block); r != LINK_OK) return ReportResult("reading the configuration", r);
    const unsigned capacity = block.macroCapacity();
    const auto n = ParseWholeNumber(args[0]);
    if (!n || *n > static_cast<long>(capacity)) {
        std::fprintf(stderr, "'%s' is not a byte count from 0 to %u (the keyboard's macro memory)\n", args[0].c_str(),
                     capacity);
        return kExitUsage;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(*n));
    if (const int r = s.commands().ReadMacros(bytes); r != LINK_OK) return ReportResult("reading the macro memory", r);
    std::fputs(HexDump(bytes).c_str(), stdout);
    return kExitOk;
}

} // namespace

std::optional<int> parseProfile(const std::string& text) {
    const auto n = ParseWholeNumber(text);
    if (!n || *n < 1 || *n > kProfileCount) {
        std::fprintf(stderr, "%s\n", NotAProfileText(text).c_str());
        return std::nullopt;
    }
    return static_cast<int>(*n - 1);
}

bool PrintGroupUsage(const std::string& group, std::FILE* to) {
    std::string lines;
    for (const CommandInfo& c : AllCommands()) {
        const std::string name = c.name;
        if (name.rfind(group + " ", 0) != 0) continue;
        lines += "  ombrelctl " + name + (*c.usage ? std::string(" ") + c.usage : "") + "\n      " + c.summary + "\n";
    }
    if (lines.empty()) return false;
    std::fprintf(to, "usage:\n%s(see ombrelctl %s COMMAND --help)\n", lines.c_str(), group.c_str());
    return true;
}

const std::vector<CommandInfo>& AllCommands() {
    static const std::vector<CommandInfo> commands = {
        {"info", "", "firmware version, active profile, macro capacity and offered lighting effects", 0, 0, cmdInfo,
         "Without a keyboard, lists what is missing (the failing checks of 'ombrelctl doctor') with the command\n"
         "that fixes each.",
         nullptr, false, true},
        {"profile get", "", "print the active profile (1, 2 or 3)", 0, 0, cmdProfileGet, nullptr, nullptr, false, true},
        {"profile list", "", "the three profiles by name, the active one marked with *", 0, 0, cmdProfileList, nullptr,
         nullptr, false, true},
        {"profile set", "N", "make profile N (1, 2 or 3) the active one", 1, 1, cmdProfileSet},
        {"read-config", "", "hex dump of the 44-byte configuration block", 0, 0, cmdReadConfig},
        {"read-lighting", "P", "hex dump of profile P's 42-byte lighting block", 1, 1, cmdReadLighting},
        {"read-keymap", "P", "hex dump of profile P's 378-byte key-function block", 1, 1, cmdReadKeymap},
        {"read-default-keymap", "", "hex dump of the factory key-function block", 0, 0, cmdReadDefaultKeymap},
        {"read-macros", "N", "hex dump of the first N bytes of macro memory", 1, 1, cmdReadMacros},
    };
    static const std::vector<CommandInfo> all = [] {
        std::vector<CommandInfo> v = commands;
        for (const auto* list : {&BackupCommands(), &KeymapCommands(), &FirmwareCommands(), &MacroCommands()})
            v.insert(v.end(), list->begin(), list->end());
        for (const auto* list : {&LightingCommands(), &ColorCommands()})
            v.insert(v.end(), list->begin(), list->end());
        v.push_back(DoctorCommand());
        v.insert(v.end(), NamesCommands().begin(), NamesCommands().end());
        v.insert(v.end(), KeyboardFileCommands().begin(), KeyboardFileCommands().end());
        v.insert(v.end(), HistoryCommands().begin(), HistoryCommands().end());
        v.insert(v.end(), RulesCommands().begin(), RulesCommands().end());
        return v;
    }();
    return all;
}

} // namespace ombrel::cli
