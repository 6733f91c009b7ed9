#include "keyboardfile/WriteIntent.h"

#include "keys/KeyImage.h"
#include "transfer/KeyboardWriter.h"

#include <map>
#include <memory>
#include <mutex>

namespace ombrel {

namespace {

std::mutex g_lock; // guards g_declared
std::map<const DeviceCommands*, KeyboardSetup> g_declared;

} // namespace

WriteIntent::WriteIntent(DeviceCommands& commands, KeyboardSetup change) : m_commands(commands) {
    std::lock_guard guard(g_lock);
    m_outermost = g_declared.emplace(&commands, std::move(change)).second;
}

WriteIntent::~WriteIntent() {
    if (!m_outermost) return;
    std::lock_guard guard(g_lock);
    g_declared.erase(&m_commands);
}

std::optional<KeyboardSetup> DeclaredWriteIntent(const DeviceCommands& commands) {
    std::lock_guard guard(g_lock);
    const auto at = g_declared.find(&commands);
    if (at == g_declared.end()) return std::nullopt;
    return at->second;
}

void DeclareKeysWriteIntents() {
    SetKeysWriteHook([](DeviceCommands& commands, const AssignmentStore& outgoing,
                        std::span<const int> profiles) -> std::shared_ptr<void> {
        KeyboardSetup change;
        change.macros.emplace();
        for (const MacroRecord& m : outgoing.macros)
            change.macros->push_back(FromMacroRecord(m));
        for (int p : profiles)
            for (KeyIndex index : SetupKeys())
                change.profiles[static_cast<std::size_t>(p)].keys[index] =
                    outgoing.image.record(RecordNumber(p, index));
        return std::make_shared<WriteIntent>(commands, std::move(change));
    });
}

} // namespace ombrel
