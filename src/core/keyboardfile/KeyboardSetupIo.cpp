#include "keyboardfile/KeyboardSetupIo.h"

#include "keyboard/ConfigBlock.h"
#include "keyboardfile/WriteIntent.h"
#include "keys/KeyImage.h"
#include "keys/MacroImage.h"
#include "lighting/LightingState.h"
#include "lighting/UserPatterns.h"
#include "platform/AppPaths.h"
#include "platform/IniFile.h"
#include "platform/SafeFileWriter.h"
#include "profiles/ProfileStore.h"
#include "text/FileBytes.h"
#include "transfer/KeyboardBackup.h"
#include "transfer/KeyboardWriter.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <map>
#include <mutex>

namespace ombrel {

namespace {

// The key functions and macros as the keyboard holds them, as a store.
int readStore(SetupPlaces& places, AssignmentStore& store) {
    KeymapBytes factory{};
    if (places.commands.ReadDefaultKeymap(factory) == LINK_OK) places.state.setDefaultKeymap(factory);
    ConfigBlock config;
    if (const int r = places.commands.ReadConfig(config.bytes); r == LINK_OK)
        places.state.macroCapacity.store(config.macroCapacity());
    int result = LINK_OK;
    // Macros the keyboard keeps without a name get one from the language texts, or a plain one without them.
    const TextLookup text = places.text ? places.text : [](std::string_view) { return std::string("Macro "); };
    const auto file = ReadKeyboardImage(places.commands, places.state, text, &result);
    if (!file) return result == LINK_OK ? LINK_NO_REPLY : result;
    std::lock_guard guard(store.lock);
    ReplaceStoreContents(store, ParseStoreFile(*file, false).contents);
    return LINK_OK;
}

void readColors(const std::string& prefix, int p, ProfileSetup& profile) {
    const IniDocument doc = ReadIniDocument(UserColorFile(prefix, p)).value_or(IniDocument());
    const ColorFileView file(doc);
    profile.currentPattern = file.currentPattern();
    for (int n = 0; n < kPatternCount; ++n) {
        PatternSetup& pattern = profile.patterns[static_cast<std::size_t>(n)];
        const PatternSettings settings = file.settings(n);
        pattern.name = file.patternName(n);
        pattern.tool = settings.tool;
        pattern.baseColor = settings.baseColor;
        pattern.brushColor = settings.brushColor;
        const auto entries = file.entries(n);
        for (const ColorSlotKey& s : SetupColorSlots())
            pattern.colors[s.slot] = entries[static_cast<std::size_t>(s.slot)].color;
    }
}

int writeKeys(SetupPlaces& places, const KeyboardSetup& wanted, const SetupDifference& d, std::string* why) {
    KeyStores stores;
    AssignmentStore& store = stores.workingStore;
    if (const int r = readStore(places, store); r != LINK_OK) {
        *why = "reading the key functions and macros";
        return r;
    }
    std::lock_guard guard(store.lock);
    if (d.macros && wanted.macros) {
        store.macros.clear();
        for (const SetupMacro& m : *wanted.macros)
            store.macros.push_back(ToMacroRecord(m));
    }
    std::vector<int> profiles;
    for (int p = 0; p < kProfileCount; ++p) {
        // New macros move in memory, so every profile's block is written with them.
        if (!d.keys[static_cast<std::size_t>(p)] && !d.macros) continue;
        profiles.push_back(p);
        for (const auto& [index, wantedRecord] : wanted.profiles[static_cast<std::size_t>(p)].keys) {
            const int n = RecordNumber(p, index);
            KeyRecord record = store.image.record(n);
            if (record.type == wantedRecord.type && record.value == wantedRecord.value && !d.macros) continue;
            record.type = wantedRecord.type;
            record.value = wantedRecord.value;
            if (index < kFirstGKeyIndex) record.extra = 0; // G keys keep their tag
            if (record.type == KF_MACRO)
                if (const auto at = FindMacro(store, record.value))
                    record.extra =
                        index < kFirstGKeyIndex ? store.macros[static_cast<std::size_t>(*at)].cycles() : record.extra;
            store.strings.clear(n);
            store.image.setRecord(n, record);
        }
    }
    const int written = WriteKeysToKeyboard(stores, places.commands, places.state, places.screen, profiles);
    if (written != LINK_OK) {
        *why = "writing the key functions and macros";
        return written;
    }
    if (!places.storePath.empty()) {
        std::string problem;
        if (ExportStore(store, places.storePath, false, &problem) != 1) {
            *why = problem + "; the keyboard holds the new key functions, but the profile store file does not";
            return LINK_NOT_KEPT;
        }
    }
    return LINK_OK;
}

int writeLighting(SetupPlaces& places, const KeyboardSetup& wanted, int p, std::string* why) {
    std::array<std::uint8_t, kChunkSize> window{};
    const int offset = p * static_cast<int>(kLightingBlockSize);
    int r = places.commands.Bracketed([&] { return places.commands.ReadLighting(window, kChunkSize, offset); });
    if (r == LINK_OK) {
        LightingBytes original{};
        std::copy_n(window.begin(), original.size(), original.begin());
        LightingFields fields = DecodeLightingBlock(original);
        const auto& items = wanted.profiles[static_cast<std::size_t>(p)].lighting;
        for (const LightingItemInfo& info : LightingItems())
            if (const auto& v = items[static_cast<std::size_t>(info.item)]) SetLightingItem(fields, info.item, *v);
        const LightingBytes block = EncodeLightingBlock(fields, original);
        r = places.commands.Bracketed(
            [&] { return places.commands.WriteLighting(block, static_cast<int>(block.size()), offset); });
    }
    if (r != LINK_OK) *why = "writing the lighting of profile " + std::to_string(p + 1);
    return r;
}

int writeColors(SetupPlaces& places, const KeyboardSetup& current, const KeyboardSetup& wanted, int p,
                std::string* why) {
    const ProfileSetup& to = wanted.profiles[static_cast<std::size_t>(p)];
    const ProfileSetup& from = current.profiles[static_cast<std::size_t>(p)];
    // The strings the values point into live until the write.
    std::deque<std::string> texts; // a deque keeps its strings in place as it grows
    std::vector<IniValue> values;
    auto add = [&](std::string section, std::string key, std::string value) {
        texts.push_back(std::move(section));
        const std::string& s = texts.back();
        texts.push_back(std::move(key));
        const std::string& k = texts.back();
        texts.push_back(std::move(value));
        values.push_back({s, k, texts.back()});
    };
    if (to.currentPattern)
        add(std::string(kCurrentPatternSection), std::string(kCurrentPatternKey), std::to_string(*to.currentPattern));
    for (int n = 0; n < kPatternCount; ++n) {
        const PatternSetup& pattern = to.patterns[static_cast<std::size_t>(n)];
        const std::string section = PatternSection(n);
        if (pattern.name) add(std::string(kPatternNameSection), std::to_string(n), *pattern.name);
        if (pattern.tool) add(section, "tool", std::to_string(static_cast<int>(*pattern.tool)));
        if (pattern.baseColor) add(section, "jcolor", FormatColor(*pattern.baseColor));
        if (pattern.brushColor) add(section, "color", FormatColor(*pattern.brushColor));
        for (const auto& [slot, color] : pattern.colors) {
            // A slot carries the base colour exactly when it shows it, as the window decides after a load.
            const bool base = pattern.baseColor && color == *pattern.baseColor;
            add(section, std::to_string(slot), FormatColorEntry({color, base}));
        }
    }
    const std::string path = UserColorFile(places.colorPrefix, p);
    // The keyboard's colours cannot be read back: what the file holds counts as what the keyboard shows. When the
    // keyboard does not take the pattern, the file goes back to what it held, so the next apply writes it again.
    const FileBytes before = ReadFileBytes(path);
    if (!WriteIniStrings(path, values, why)) return LINK_NOT_KEPT;
    // The keyboard shows the pattern in use: it is written again when that pattern or its colours change.
    const int used = to.currentPattern.value_or(0);
    const bool shownChanged =
        from.currentPattern != to.currentPattern ||
        from.patterns[static_cast<std::size_t>(used)].colors != to.patterns[static_cast<std::size_t>(used)].colors;
    if (!shownChanged) return LINK_OK;
    UserPatterns patterns(places.commands, places.colorPrefix);
    const int r = patterns.loadCurrent(p);
    if (r == LINK_OK) return r;
    *why = "writing the per-key colours of profile " + std::to_string(p + 1);
    if (before.status == FileBytes::Status::Ok)
        WriteFileSafely(path, before.bytes);
    else if (before.status == FileBytes::Status::Missing)
        std::remove(path.c_str());
    return r;
}

} // namespace

int ReadKeyboardSetup(SetupPlaces& places, KeyboardSetup& out, std::string* what) {
    KeyboardSetup setup;
    AssignmentStore store;
    if (const int r = readStore(places, store); r != LINK_OK) {
        if (what) *what = "reading the key functions and macros";
        return r;
    }
    setup.macros.emplace();
    for (const MacroRecord& m : store.macros)
        setup.macros->push_back(FromMacroRecord(m));
    for (int p = 0; p < kProfileCount; ++p)
        for (KeyIndex index : SetupKeys())
            setup.profiles[static_cast<std::size_t>(p)].keys[index] = store.image.record(RecordNumber(p, index));
    LightingState lighting;
    if (const int r = ReadLightingBlocks(places.commands, lighting); r != LINK_OK) {
        if (what) *what = "reading the lighting";
        return r;
    }
    for (std::size_t p = 0; p < lighting.blocks.size(); ++p) {
        const LightingFields fields = DecodeLightingBlock(lighting.blocks[p]);
        for (const LightingItemInfo& info : LightingItems())
            setup.profiles[p].lighting[static_cast<std::size_t>(info.item)] = LightingItemValue(fields, info.item);
        readColors(places.colorPrefix, static_cast<int>(p), setup.profiles[p]);
    }
    out = std::move(setup);
    return LINK_OK;
}

bool RenumberMacros(KeyboardSetup& setup, std::string* why) {
    if (!setup.macros) return true;
    std::map<std::uint32_t, std::uint16_t> ids;
    for (std::size_t i = 0; i < setup.macros->size(); ++i) {
        SetupMacro& m = (*setup.macros)[i];
        ids.emplace(m.id, static_cast<std::uint16_t>(i + 1));
        m.id = static_cast<std::uint16_t>(i + 1);
    }
    for (std::size_t p = 0; p < setup.profiles.size(); ++p)
        for (auto& [index, record] : setup.profiles[p].keys) {
            if (record.type != KF_MACRO) continue;
            const auto at = ids.find(record.value);
            if (at == ids.end()) {
                *why = "profile " + std::to_string(p + 1) + " has a key that plays macro " +
                       std::to_string(record.value) + ", which the macros do not have";
                return false;
            }
            record.value = at->second;
        }
    return true;
}

std::size_t MacroBytesNeeded(const KeyboardSetup& setup) {
    if (!setup.macros) return 0;
    std::vector<MacroRecord> records;
    for (const SetupMacro& m : *setup.macros)
        records.push_back(ToMacroRecord(m));
    return MeasureMacroImage(records).withoutNames;
}

int WriteKeyboardSetup(SetupPlaces& places, const KeyboardSetup& current, const KeyboardSetup& wanted,
                       const SetupDifference& d, std::string* why) {
    // One change, one snapshot in the write history, however many areas it writes. Colours are saved in their
    // files before the keyboard is written, so the state they replace is taken first.
    const bool colors = std::find(d.colors.begin(), d.colors.end(), true) != d.colors.end();
    // Said before the group opens: the group's first write already keeps the state it means to leave.
    const WriteIntent intent(places.commands, wanted);
    const WriteGroup group(places.commands, colors ? WriteGroup::Observe::Now : WriteGroup::Observe::AtFirstWrite);
    int first = LINK_OK;
    auto note = [&](int r) {
        if (first == LINK_OK) first = r;
    };
    std::string problem;
    const bool keys = d.macros || d.keys[0] || d.keys[1] || d.keys[2];
    if (keys)
        if (const int r = writeKeys(places, wanted, d, &problem); r != LINK_OK) {
            note(r);
            *why = problem;
            return first; // the keyboard's state is unknown now: the other areas wait for another try
        }
    for (int p = 0; p < kProfileCount; ++p) {
        if (d.lighting[static_cast<std::size_t>(p)])
            if (const int r = writeLighting(places, wanted, p, &problem); r != LINK_OK) {
                *why = problem;
                return r;
            }
        if (d.colors[static_cast<std::size_t>(p)])
            if (const int r = writeColors(places, current, wanted, p, &problem); r != LINK_OK) {
                *why = problem;
                return r;
            }
    }
    return first;
}

} // namespace ombrel
