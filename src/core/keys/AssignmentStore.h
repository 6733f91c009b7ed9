#pragma once
// A key image together with its macros and strings. The program has two: `workingStore`, which the dialogs edit,
// the window shows and the profile store file saves, and `outgoingStore`, the snapshot taken from it each time
// the keyboard is written. Each is only touched with its own lock held; when both are needed, `workingStore`'s
// lock is taken first. The locks are recursive because the keyboard writer, running with `workingStore`'s lock
// held, looks up macro positions in it again.

#include "keys/KeyImage.h"
#include "keys/KeyStringTable.h"
#include "keys/MacroRecord.h"

#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

namespace ombrel {

struct AssignmentStore {
    mutable std::recursive_mutex lock; // guards every member below

    KeyImage image;
    std::vector<MacroRecord> macros; // at most 100, in store order
    // `workingStore` keeps its strings in slots; `outgoingStore` keeps them as one packed area.
    KeyStringTable strings;
    std::vector<std::uint8_t> stringArea;

    std::uint16_t macroCount() const { return static_cast<std::uint16_t>(macros.size()); }
};

struct KeyStores {
    AssignmentStore workingStore;
    AssignmentStore outgoingStore;
};

// Store maintenance; the caller holds the store's lock.
void ClearStrings(AssignmentStore& store); // every slot and the packed area emptied
void ClearMacros(AssignmentStore& store);
void ClearImage(AssignmentStore& store); // every byte of the image zero

// The index of the macro with `macroId` in the store's array, or nothing. Takes the store's lock.
std::optional<int> FindMacro(const AssignmentStore& store, std::uint32_t macroId);
// As FindMacro, with 0 when no macro has the id.
int macroPosition(const AssignmentStore& store, std::uint32_t macroId);
// The id of the macro at `index`; 0 for a negative index or one beyond the array. Takes the store's lock.
std::uint16_t macroIdAt(const AssignmentStore& store, int index);

} // namespace ombrel
