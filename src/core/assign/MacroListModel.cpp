#include "assign/MacroListModel.h"

#include <algorithm>
#include <mutex>
#include <utility>

namespace ombrel {

namespace {

// Simple case folding for the scripts macro names are usually written in (Latin, Greek, Cyrillic).
char16_t foldCase(char16_t c) {
    if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3AB) ||
        (c >= 0x410 && c <= 0x42F))
        return static_cast<char16_t>(c + 0x20);
    if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 0x50);
    return c;
}

bool beginsWith(std::u16string_view text, std::u16string_view prefix) {
    if (prefix.size() > text.size()) return false;
    return std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char16_t a, char16_t b) { return foldCase(a) == foldCase(b); });
}

std::u16string decimal(int n) {
    std::u16string s;
    for (char c : std::to_string(n))
        s.push_back(static_cast<char16_t>(c));
    return s;
}

} // namespace

MacroListModel::MacroListModel(std::u16string newNamePrefix) : m_prefix(std::move(newNamePrefix)) {}

void MacroListModel::load(const AssignmentStore& working) {
    {
        std::lock_guard guard(working.lock);
        m_macros = working.macros;
    }
    for (MacroRecord& m : m_macros)
        m.setIsNew(false);
    m_current = m_macros.empty() ? -1 : 0;
    m_selectedStep = -1;
    m_modified = false;
}

void MacroListModel::select(int i) {
    if (i < -1 || i >= count()) return;
    m_current = i;
    m_selectedStep = -1;
}

MacroRecord* MacroListModel::currentMacro() {
    return m_current >= 0 && m_current < count() ? &m_macros[static_cast<std::size_t>(m_current)] : nullptr;
}

const MacroRecord* MacroListModel::currentMacro() const {
    return m_current >= 0 && m_current < count() ? &m_macros[static_cast<std::size_t>(m_current)] : nullptr;
}

bool MacroListModel::nameTaken(std::u16string_view name, int except) const {
    for (int i = 0; i < count(); ++i)
        if (i != except && beginsWith(m_macros[static_cast<std::size_t>(i)].name(), name)) return true;
    return false;
}

std::u16string MacroListModel::generatedName(int except) {
    std::u16string name;
    do {
        name = m_prefix + decimal(++m_nameCounter);
    } while (nameTaken(StoredMacroName(name), except));
    return name;
}

std::uint16_t MacroListModel::lowestFreeId() const {
    for (std::uint16_t id = 1; id <= kMaxMacros; ++id) {
        const bool used =
            std::any_of(m_macros.begin(), m_macros.end(), [id](const MacroRecord& m) { return m.macroId() == id; });
        if (!used) return id;
    }
    return 0; // cannot happen: the list holds at most 100 macros
}

void MacroListModel::append(std::u16string_view name) {
    MacroRecord m;
    m.setName(name);
    m.setCycles(kMinMacroCycles);
    m.setIsNew(true);
    m.setMacroId(lowestFreeId());
    m_macros.push_back(m);
    m_current = count() - 1;
    m_selectedStep = -1;
    m_modified = true;
}

MacroListModel::AddResult MacroListModel::add() {
    if (count() >= kMaxMacros) return AddResult::TooMany;
    if (m_macros.empty()) m_nameCounter = 0;
    append(generatedName(-1));
    return AddResult::Added;
}

bool MacroListModel::rename(std::u16string_view typed) {
    const std::u16string_view name = StoredMacroName(typed);
    if (m_macros.empty()) {
        // Generated names start again from 1 on an empty list, as Add does.
        if (name.empty()) m_nameCounter = 0;
        append(name.empty() ? generatedName(-1) : std::u16string(name));
        return true;
    }
    MacroRecord* m = currentMacro();
    if (!m) return false;
    if (name.empty() || nameTaken(name, m_current))
        m->setName(generatedName(m_current));
    else
        m->setName(name);
    m_modified = true;
    return true;
}

MacroListModel::DeleteResult MacroListModel::deleteCurrent(const AssignmentStore& working,
                                                           const std::function<bool()>& confirmInUse) {
    const MacroRecord* m = currentMacro();
    if (!m) return DeleteResult::Nothing;
    if (!m->isNew()) {
        // Every key counts, G1 of the first profile (record 256) included: deleting a macro that key plays
        // without asking would silently give the key its factory function back at the next commit.
        bool inUse = false;
        {
            std::lock_guard guard(working.lock);
            for (int n = 0; n < kKeyRecordCount && !inUse; ++n) {
                const KeyRecord r = working.image.record(n);
                inUse = r.type == KF_MACRO && r.value == m->macroId();
            }
        }
        if (inUse && !(confirmInUse && confirmInUse())) return DeleteResult::Kept;
    }
    m_macros.erase(m_macros.begin() + m_current);
    m_current = m_macros.empty() ? -1 : std::max(0, m_current - 1);
    m_selectedStep = -1;
    m_modified = true;
    return DeleteResult::Deleted;
}

int MacroListModel::setCycles(long long typed) {
    const int cycles = static_cast<int>(std::clamp<long long>(typed, kMinMacroCycles, kMaxMacroCycles));
    if (MacroRecord* m = currentMacro()) m->setCycles(static_cast<std::uint8_t>(cycles));
    m_modified = true;
    return cycles;
}

int MacroListModel::stepCount() const {
    const MacroRecord* m = currentMacro();
    return m ? m->stepCount() : 0;
}

MacroAction MacroListModel::step(int row) const {
    const MacroRecord* m = currentMacro();
    return m && row >= 0 && row < m->stepCount() ? m->action(row) : MacroAction{};
}

void MacroListModel::selectStep(int row) {
    m_selectedStep = row >= 0 && row < stepCount() ? row : -1;
}

void MacroListModel::insertStep(int row, const MacroAction& action) {
    MacroRecord& m = *currentMacro();
    const int n = m.stepCount();
    for (int i = n; i > row; --i)
        m.setAction(i, m.action(i - 1));
    m.setAction(row, action);
    m.setActionCount(static_cast<std::uint16_t>(n + 1));
}

void MacroListModel::eraseStep(int row) {
    MacroRecord& m = *currentMacro();
    const int n = m.stepCount();
    for (int i = row; i + 1 < n; ++i)
        m.setAction(i, m.action(i + 1));
    m.setAction(n - 1, MacroAction{});
    m.setActionCount(static_cast<std::uint16_t>(n - 1));
}

bool MacroListModel::addStep(std::uint32_t delayMs, KeyCode key, std::uint16_t state) {
    MacroRecord* m = currentMacro();
    if (!m || m->stepCount() >= kMaxMacroActions) return false;
    if (!recordDelays) delayMs = kFixedRecordedDelayMs;
    // The keyboard keeps pauses in steps of 10 ms: the list shows what it will play, not what was timed.
    delayMs -= delayMs % kDelayStepMs;
    const int row = m_selectedStep >= 0 ? m_selectedStep + 1 : m->stepCount();
    MacroAction action{0, key, state};
    if (row > 0) {
        MacroAction before = m->action(row - 1);
        action.delayMs = before.delayMs;
        before.delayMs = delayMs;
        m->setAction(row - 1, before);
    }
    insertStep(row, action);
    m_selectedStep = row;
    m_modified = true;
    return true;
}

void MacroListModel::deleteStep() {
    if (m_selectedStep < 0 || m_selectedStep >= stepCount()) return;
    eraseStep(m_selectedStep);
    m_selectedStep = -1;
    m_modified = true;
}

void MacroListModel::clearSteps() {
    MacroRecord* m = currentMacro();
    if (!m || m->stepCount() == 0) return;
    for (int i = 0; i < m->stepCount(); ++i)
        m->setAction(i, MacroAction{});
    m->setActionCount(0);
    m_selectedStep = -1;
    m_modified = true;
}

void MacroListModel::moveStep(StepMove move) {
    const int n = stepCount();
    if (m_selectedStep < 0 || m_selectedStep >= n) return;
    int to = m_selectedStep;
    switch (move) {
    case StepMove::Top:
        to = 0;
        break;
    case StepMove::Up:
        to = std::max(0, to - 1);
        break;
    case StepMove::Down:
        to = std::min(n - 1, to + 1);
        break;
    case StepMove::Bottom:
        to = n - 1;
        break;
    }
    const MacroAction moving = step(m_selectedStep);
    eraseStep(m_selectedStep);
    insertStep(to, moving);
    m_selectedStep = to;
    m_modified = true;
}

bool MacroListModel::editStep(int row, const std::function<bool(MacroAction&)>& edit) {
    MacroRecord* m = currentMacro();
    if (!m || row < 0 || row >= m->stepCount()) return false;
    MacroAction a = m->action(row);
    if (!edit(a)) return false;
    m->setAction(row, a);
    m_modified = true;
    return true;
}

MacroListModel::DelayEdit MacroListModel::setStepDelay(int row, unsigned long long typedMs) {
    const bool clamped = typedMs > kMaxTypedDelayMs;
    const auto ms = static_cast<std::uint32_t>(clamped ? kMaxTypedDelayMs : typedMs);
    const bool edited = editStep(row, [ms](MacroAction& a) {
        a.delayMs = ms - ms % kDelayStepMs;
        return true;
    });
    if (!edited) return DelayEdit::NoStep;
    return clamped ? DelayEdit::Clamped : DelayEdit::Taken;
}

bool MacroListModel::setStepKey(int row, KeyCode key) {
    return editStep(row, [key](MacroAction& a) { return std::exchange(a.keyCode, key) != key; });
}

bool MacroListModel::setStepState(int row, std::uint16_t state) {
    return editStep(row, [state](MacroAction& a) { return std::exchange(a.state, state) != state; });
}

int MacroListModel::commit(AssignmentStore& working) {
    std::lock_guard guard(working.lock);
    int changed = 0;
    for (int n = 0; n < kKeyRecordCount; ++n) {
        KeyRecord r = working.image.record(n);
        if (r.type != KF_MACRO) continue;
        if (r.value != 0) {
            const auto listed = std::find_if(m_macros.begin(), m_macros.end(),
                                             [&r](const MacroRecord& m) { return m.macroId() == r.value; });
            if (listed != m_macros.end() && !listed->isNew()) continue;
            r.type = KF_DEFAULT;
        } else {
            if (m_macros.empty()) continue;
            r.value = m_macros.front().macroId();
        }
        working.image.setRecord(n, r);
        ++changed;
    }
    for (MacroRecord& m : m_macros)
        m.setIsNew(false);
    working.macros = m_macros;
    return changed;
}

} // namespace ombrel
