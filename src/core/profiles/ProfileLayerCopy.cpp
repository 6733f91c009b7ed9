#include "profiles/ProfileLayerCopy.h"

#include "keys/KeyFunction.h"
#include "keys/KeyImage.h"

#include <algorithm>
#include <map>

namespace ombrel {

namespace {

// The same macro whatever its id: a macro taken in earlier under a new id is found again.
bool SameMacro(const MacroRecord& a, const MacroRecord& b) {
    MacroRecord renumbered = b;
    renumbered.setMacroId(a.macroId());
    return std::equal(a.bytes().begin(), a.bytes().end(), renumbered.bytes().begin());
}

} // namespace

bool CopyProfileLayer(const AssignmentStore& source, AssignmentStore& target, int profile, std::string* why) {
    if (profile < 0 || profile > 2) {
        if (why) *why = "no such profile";
        return false;
    }
    // Work on a copy of the macros, so a refusal leaves the target as it was.
    std::vector<MacroRecord> macros = target.macros;
    std::map<std::uint32_t, std::uint16_t> newIds; // source macro id -> id in the target
    const auto idTaken = [&macros](std::uint16_t id) {
        return std::any_of(macros.begin(), macros.end(), [id](const MacroRecord& m) { return m.macroId() == id; });
    };
    for (int index = 0; index < kRecordsPerLayer; ++index) {
        const KeyRecord record = source.image.record(RecordNumber(profile, static_cast<KeyIndex>(index)));
        if (record.type != KF_MACRO || newIds.count(record.value)) continue;
        const auto found = std::find_if(source.macros.begin(), source.macros.end(),
                                        [&](const MacroRecord& m) { return m.macroId() == record.value; });
        if (found == source.macros.end()) continue; // a record without its macro is copied as it is
        const auto same =
            std::find_if(macros.begin(), macros.end(), [&](const MacroRecord& m) { return SameMacro(m, *found); });
        if (same != macros.end()) {
            newIds[record.value] = same->macroId();
            continue;
        }
        if (static_cast<int>(macros.size()) >= kMaxMacros) {
            if (why) *why = "more than " + std::to_string(kMaxMacros) + " macros";
            return false;
        }
        MacroRecord copy = *found;
        std::uint16_t id = found->macroId();
        while (id == 0 || idTaken(id))
            ++id; // wraps past 0xFFFF to 0, which is skipped; 100 macros cannot use every id
        copy.setMacroId(id);
        macros.push_back(copy);
        newIds[record.value] = id;
    }
    target.macros = std::move(macros);
    for (int index = 0; index < kRecordsPerLayer; ++index) {
        const int number = RecordNumber(profile, static_cast<KeyIndex>(index));
        KeyRecord record = source.image.record(number);
        if (record.type == KF_MACRO && newIds.count(record.value)) record.value = newIds[record.value];
        target.image.setRecord(number, record);
        if (source.strings.empty(number))
            target.strings.clear(number);
        else
            target.strings.set(number, source.strings.text(number));
    }
    return true;
}

} // namespace ombrel
