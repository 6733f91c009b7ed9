#include "assign/CompositeKeyChoice.h"

#include "assign/MacroListModel.h"
#include "keys/AssignmentStore.h"
#include "keys/FunctionLists.h"
#include "keys/KeyImage.h"
#include "keys/MediaTable.h"

#include <mutex>

namespace ombrel {

namespace {

constexpr KeyCode kLeftSuper = 0x15B;
constexpr KeyCode kRightSuper = 0x15C;
constexpr KeyCode kMenu = 0x15D;

int mouseRowOf(KeyCode code) {
    const auto& rows = MouseFunctionList();
    for (std::size_t r = 0; r < rows.size(); ++r)
        if (rows[r].code == code) return static_cast<int>(r);
    return -1;
}

int rowOrZero(std::uint32_t value, std::size_t rows) {
    return value < rows ? static_cast<int>(value) : 0;
}

} // namespace

CompositeTab TabOfType(std::uint16_t type) {
    switch (type) {
    case KF_MACRO:
        return CompositeTab::Macro;
    case KF_MEDIA:
        return CompositeTab::Media;
    case KF_FUNCTION:
        return CompositeTab::Function;
    default:
        return CompositeTab::SingleKey;
    }
}

CompositeKeyChoice::CompositeKeyChoice(KeyIndex keyIndex, bool macroOnly, const KeyRecord& record)
    : m_keyIndex(keyIndex), m_macroOnly(macroOnly), m_originalType(record.type), m_recordValue(record.value),
      m_type(macroOnly ? static_cast<std::uint16_t>(KF_MACRO) : record.type), m_tab(TabOfType(m_type)) {
    switch (m_type) {
    case KF_KEY:
        // Only a key assignment's value is a key code; other types' values (string offsets, rows) are not.
        m_capturedKey = static_cast<KeyCode>(record.value);
        if (const int row = mouseRowOf(m_capturedKey); row >= 0) {
            m_mouse = true;
            m_mouseRow = row;
        }
        break;
    case KF_MEDIA:
        m_mediaRow = rowOrZero(record.value, MediaTable().size());
        break;
    case KF_FUNCTION:
        m_functionRow = rowOrZero(record.value, FunctionKeyList().size());
        break;
    default:
        break;
    }
}

bool CompositeKeyChoice::isGKey() const {
    return m_keyIndex >= kFirstGKeyIndex && m_keyIndex < kFirstGKeyIndex + kGKeySlots;
}

void CompositeKeyChoice::setType(std::uint16_t type) {
    if (m_type == type) return;
    m_type = type;
    m_modified = true;
}

void CompositeKeyChoice::showSingleKeyTab() {
    if (!m_macroOnly) m_tab = CompositeTab::SingleKey;
}

void CompositeKeyChoice::showMacroTab() {
    m_tab = CompositeTab::Macro;
    setType(KF_MACRO);
}

void CompositeKeyChoice::showMediaTab() {
    if (!m_macroOnly) m_tab = CompositeTab::Media;
}

void CompositeKeyChoice::showFunctionTab() {
    if (!m_macroOnly) m_tab = CompositeTab::Function;
}

void CompositeKeyChoice::clear() {
    if (m_macroOnly) return;
    m_tab = CompositeTab::SingleKey;
    setType(KF_DEFAULT);
    // The key box is emptied, so a later choice of the keyboard must not bring the old key back.
    if (m_capturedKey != 0 || m_mouse) m_modified = true;
    m_capturedKey = 0;
    m_mouse = false;
}

void CompositeKeyChoice::disable() {
    if (m_macroOnly) return;
    m_tab = CompositeTab::SingleKey;
    setType(KF_DISABLED);
    m_mouse = false;
}

void CompositeKeyChoice::chooseKeyboard() {
    if (m_macroOnly) return;
    m_tab = CompositeTab::SingleKey;
    if (m_mouse) m_modified = true;
    m_mouse = false;
    setType(KF_KEY);
}

void CompositeKeyChoice::chooseMouse() {
    if (m_macroOnly) return;
    m_tab = CompositeTab::SingleKey;
    if (!m_mouse) m_modified = true;
    m_mouse = true;
    setType(KF_KEY);
}

void CompositeKeyChoice::setMouseRow(int row) {
    if (row < 0 || row >= static_cast<int>(MouseFunctionList().size()) || row == m_mouseRow) return;
    m_mouseRow = row;
    m_modified = true;
}

void CompositeKeyChoice::setMediaRow(int row) {
    if (m_macroOnly || row < 0 || row >= static_cast<int>(MediaTable().size())) return;
    if (m_type == KF_MEDIA && row == m_mediaRow) return;
    m_tab = CompositeTab::Media;
    m_mediaRow = row;
    m_type = KF_MEDIA;
    m_modified = true;
}

void CompositeKeyChoice::setFunctionRow(int row) {
    if (m_macroOnly || row < 0 || row >= static_cast<int>(FunctionKeyList().size())) return;
    if (m_type == KF_FUNCTION && row == m_functionRow) return;
    m_tab = CompositeTab::Function;
    m_functionRow = row;
    m_type = KF_FUNCTION;
    m_modified = true;
}

CompositeKeyChoice::KeyResult CompositeKeyChoice::keyEvent(const KeyEvent& event) {
    if (event.key == 0 || IsMediaKey(event.key)) return KeyResult::PassOn;
    const HeldKeys::Kind kind = m_held.classify(event);
    if (m_macroOnly || tab() != CompositeTab::SingleKey) return KeyResult::Swallowed;
    if (kind != HeldKeys::Kind::FirstPress && kind != HeldKeys::Kind::ReleaseWithoutPress) return KeyResult::Swallowed;
    const bool desktopKey = event.key == kLeftSuper || event.key == kRightSuper || event.key == kMenu;
    if (m_mouse && !desktopKey) return KeyResult::Swallowed;
    m_mouse = false;
    m_capturedKey = event.key;
    m_type = KF_KEY;
    m_modified = true;
    return KeyResult::Captured;
}

KeyRecord CompositeKeyChoice::build(const MacroListModel& macros) const {
    KeyRecord r;
    r.type = m_type;
    r.extra = isGKey() ? GKeyTag(m_keyIndex - kFirstGKeyIndex) : 0;
    switch (m_type) {
    case KF_KEY:
        if (m_mouse) {
            r.value = MouseFunctionList()[static_cast<std::size_t>(m_mouseRow)].code;
        } else if (m_capturedKey == 0 || KeyIndexOf(m_capturedKey) == m_keyIndex) {
            r.type = KF_DEFAULT; // no key, or the key itself: its factory function, not a mapping onto itself
        } else {
            r.value = m_capturedKey;
        }
        break;
    case KF_MACRO:
        if (macros.count() == 0) {
            r.type = KF_DEFAULT;
        } else {
            const MacroRecord& m = macros.macro(macros.current() >= 0 ? macros.current() : 0);
            r.value = m.macroId();
            r.extra = m.cycles();
        }
        break;
    case KF_MEDIA:
        r.value = static_cast<std::uint32_t>(m_mediaRow);
        break;
    case KF_FUNCTION:
        r.value = static_cast<std::uint32_t>(m_functionRow);
        break;
    default:
        break; // the factory function and the types the dialog cannot build: value 0
    }
    return r;
}

int CompositeKeyChoice::initialMacroRow(const MacroListModel& macros) const {
    if (macros.count() == 0) return -1;
    if (m_originalType == KF_MACRO)
        for (int i = 0; i < macros.count(); ++i)
            if (macros.macro(i).macroId() == (m_recordValue & 0xFFFF)) return i;
    return 0;
}

bool CompositeKeyChoice::keepsString() const {
    return HasString(m_originalType) && m_type == m_originalType;
}

void StoreAssignment(AssignmentStore& working, int layer, KeyIndex keyIndex, KeyRecord record, bool keepString) {
    const int n = RecordNumber(layer, keyIndex);
    record.mark = 0;
    record.reserved = 0;
    std::lock_guard guard(working.lock);
    if (!keepString) working.strings.clear(n);
    working.image.setRecord(n, record);
}

bool ToggleKeyMark(AssignmentStore& working, int layer, KeyIndex keyIndex) {
    const int n = RecordNumber(layer, keyIndex);
    std::lock_guard guard(working.lock);
    KeyRecord r = working.image.record(n);
    r.mark = r.mark ? 0 : 1;
    working.image.setRecord(n, r);
    return r.mark != 0;
}

} // namespace ombrel
