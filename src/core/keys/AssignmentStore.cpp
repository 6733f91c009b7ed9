#include "keys/AssignmentStore.h"

namespace ombrel {

void ClearStrings(AssignmentStore& store) {
    store.strings.clearAll();
    store.stringArea.clear();
}

void ClearMacros(AssignmentStore& store) {
    store.macros.clear();
}

void ClearImage(AssignmentStore& store) {
    store.image = KeyImage();
}

std::optional<int> FindMacro(const AssignmentStore& store, std::uint32_t macroId) {
    if (macroId == 0) return std::nullopt; // ids start at 1
    std::lock_guard guard(store.lock);
    for (std::size_t i = 0; i < store.macros.size(); ++i)
        if (store.macros[i].macroId() == macroId) return static_cast<int>(i);
    return std::nullopt;
}

int macroPosition(const AssignmentStore& store, std::uint32_t macroId) {
    return FindMacro(store, macroId).value_or(0);
}

std::uint16_t macroIdAt(const AssignmentStore& store, int index) {
    std::lock_guard guard(store.lock);
    if (index < 0 || static_cast<std::size_t>(index) >= store.macros.size()) return 0;
    return store.macros[static_cast<std::size_t>(index)].macroId();
}

} // namespace ombrel
