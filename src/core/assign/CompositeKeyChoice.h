#pragma once
// What the key assignment dialog decides, without its widgets: which kind of assignment is being built (tab), the
// key captured or the row chosen in each list, and the key record that Apply stores. The dialog shows this state
// and forwards clicks and key events to it.

#include "assign/KeyEvent.h"
#include "keys/KeyFunction.h"
#include "keys/KeyRecord.h"

#include <cstdint>

namespace ombrel {

struct AssignmentStore;
class MacroListModel;

enum class CompositeTab { SingleKey, Macro, Media, Function };

// The tab an assignment type is edited on: macro, media and function assignments have their own; the factory
// function, key assignments and the types the dialog cannot build (disabled, program, text, stop macro) open on
// the single-key tab.
CompositeTab TabOfType(std::uint16_t type);

class CompositeKeyChoice {
public:
    // Opens on `keyIndex` (key indices 256..273 are the G keys, 265..273 those of bank B) with `record` as the
    // key has it now. In macro-only mode (the ninth G key) only macros can be assigned.
    CompositeKeyChoice(KeyIndex keyIndex, bool macroOnly, const KeyRecord& record);

    KeyIndex keyIndex() const { return m_keyIndex; }
    bool macroOnly() const { return m_macroOnly; }
    bool isGKey() const;
    // The assignment chosen, and the tab shown: showing a tab chooses nothing until a row or key is picked there.
    std::uint16_t selectedType() const { return m_type; }
    CompositeTab tab() const { return m_tab; }
    // The value the record had when the dialog opened.
    std::uint32_t recordValue() const { return m_recordValue; }

    // Single-key tab: the key box (keyboard) or the mouse list.
    bool mouseChosen() const { return m_mouse; }
    KeyCode capturedKey() const { return m_capturedKey; }
    int mouseRow() const { return m_mouseRow; }
    // The chosen row of the media and function lists; -1 while another kind of assignment is chosen.
    int mediaRow() const { return m_type == KF_MEDIA ? m_mediaRow : -1; }
    int functionRow() const { return m_type == KF_FUNCTION ? m_functionRow : -1; }

    // Whether something changed since opening or the last Apply (the dialog's Apply button).
    bool modified() const { return m_modified; }
    void clearModified() { m_modified = false; }

    // The tab buttons. In macro-only mode the other tabs are not offered and these change nothing. Only the
    // macro tab chooses at once (its list always has a macro selected).
    void showSingleKeyTab();
    void showMacroTab();
    void showMediaTab();
    void showFunctionTab();
    // Back to the factory function: the single-key tab with an empty key box and the keyboard chosen.
    void clear();
    // The key does nothing (shown on the single-key tab).
    void disable();
    // The two radio buttons of the single-key tab.
    void chooseKeyboard();
    void chooseMouse();
    // Rows of the three lists; out-of-range rows are ignored. A media or function row chooses that assignment.
    void setMouseRow(int row);
    void setMediaRow(int row);
    void setFunctionRow(int row);

    // A key event while the single-key tab is shown. Keys without a key code and the media keys pass on to the
    // desktop; every other event is kept from it. A key is captured on its first press (auto-repeat captures
    // once), or on a release that came without a press. Ordinary keys are captured while the keyboard is chosen;
    // Super and Menu, which the desktop would otherwise act on, whatever is chosen (the keyboard then is).
    enum class KeyResult { PassOn, Swallowed, Captured };
    KeyResult keyEvent(const KeyEvent& event);
    // A key already down when capture began (the Tab that moved the focus to the key box): its release is not
    // taken as a key whose press the desktop kept.
    void assumeHeld(KeyCode key) { m_held.classify({key, true}); }
    // Capture starts afresh: keys seen before, whose releases went elsewhere, are forgotten.
    void forgetHeldKeys() { m_held.clear(); }

    // The record Apply stores, with `macros` the dialog's macro list: a key assigned to itself, no key captured
    // or a macro assignment without macros store the factory function; a macro assignment with macros but none
    // selected plays the first one. G keys keep their G-key tag, except a macro assignment, which carries the
    // macro's cycle count instead. Types the dialog cannot build are stored again with value 0.
    KeyRecord build(const MacroListModel& macros) const;
    // The macro the macro list selects when the macro tab is first shown: the one the key plays, else the first
    // (-1 on an empty list).
    int initialMacroRow(const MacroListModel& macros) const;
    // Whether Apply keeps the key's program path or text: only when the key keeps the program or text
    // assignment it had (nobody chose another one).
    bool keepsString() const;

private:
    void setType(std::uint16_t type);

    KeyIndex m_keyIndex;
    bool m_macroOnly;
    std::uint16_t m_originalType;
    std::uint32_t m_recordValue;
    std::uint16_t m_type;
    CompositeTab m_tab;
    bool m_mouse = false;
    KeyCode m_capturedKey = 0;
    int m_mouseRow = 0;
    int m_mediaRow = 0;
    int m_functionRow = 0;
    bool m_modified = false;
    HeldKeys m_held;
};

// Stores a record built by the dialog for `keyIndex` in `layer` of `working`, under its lock: the mark is cleared
// and the key's string slot emptied unless `keepString`.
void StoreAssignment(AssignmentStore& working, int layer, KeyIndex keyIndex, KeyRecord record, bool keepString);

// The keyboard map's multi-select mode: marks an unmarked key and unmarks a marked one, under the store's lock.
// Returns whether the key is marked now.
bool ToggleKeyMark(AssignmentStore& working, int layer, KeyIndex keyIndex);

} // namespace ombrel
