#pragma once
// The macros of the composite dialog while it is open, without the widgets: the list of macro copies with the
// current one and its steps, and every edit the macro tab makes. The dialog shows what this holds and asks the
// user where an edit needs an answer; only `commit` moves the copies into `workingStore`.

#include "keys/AssignmentStore.h"
#include "keys/MacroRecord.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ombrel {

inline constexpr std::uint32_t kMaxTypedDelayMs = 40000;
inline constexpr std::uint32_t kDelayStepMs = 10;
inline constexpr std::uint32_t kFixedRecordedDelayMs = 50;

class MacroListModel {
public:
    // `newNamePrefix`: the language's text of "MACRO_NEW_PREFIX", which generated names start with.
    explicit MacroListModel(std::u16string newNamePrefix);

    // Copies of the store's macros, marked as not new; the first becomes current. Takes the store's lock.
    void load(const AssignmentStore& working);

    int count() const { return static_cast<int>(m_macros.size()); }
    const MacroRecord& macro(int i) const { return m_macros.at(static_cast<std::size_t>(i)); }
    // The macro whose steps are shown; -1 when there is none.
    int current() const { return m_current; }
    void select(int i);

    bool modified() const { return m_modified; }
    void clearModified() { m_modified = false; }

    // A new macro at the end of the list, made current: a generated name, 1 cycle, the lowest free id.
    enum class AddResult { Added, TooMany };
    AddResult add();

    // The current macro takes `typed` as its name (at most 249 characters); an empty text, or one another macro's
    // name begins with (letter case aside), gives a generated name instead. On an empty list the text creates a
    // macro as Add does. Nothing happens when the list has macros but none is current (returns false).
    bool rename(std::u16string_view typed);

    // Deletes the current macro. A macro that keys of `working` use is only deleted when `confirmInUse` answers
    // yes; macros added in this dialog are deleted at once. The previous macro (or the first) becomes current.
    enum class DeleteResult { Nothing, Kept, Deleted };
    DeleteResult deleteCurrent(const AssignmentStore& working, const std::function<bool()>& confirmInUse);

    // The cycle count from the cycle box: below 1 gives 1, above 255 gives 255. Returns the value taken.
    int setCycles(long long typed);

    // Steps of the current macro (none when there is no current macro).
    int stepCount() const;
    MacroAction step(int row) const;
    int selectedStep() const { return m_selectedStep; }
    void selectStep(int row);

    // Recorded pauses as measured (true) or all 50 ms (false).
    bool recordDelays = false;

    // Adds a recorded step right after the selected one (at the end when none is selected) and selects it. Pauses
    // belong to the step before: the step before takes `delayMs` as its pause and the new step the pause it had;
    // the first step of an empty list pauses 0. Returns false, adding nothing, when the macro has 4000 steps or
    // there is no current macro.
    bool addStep(std::uint32_t delayMs, KeyCode key, std::uint16_t state);
    void deleteStep();
    void clearSteps();
    enum class StepMove { Top, Up, Down, Bottom };
    // Moves the selected step, which stays selected and keeps its pause.
    void moveStep(StepMove move);

    // A typed pause: above 40000 ms it becomes 40000 (Clamped: the dialog says so), then it is rounded down to a
    // multiple of 10 ms.
    enum class DelayEdit { Taken, Clamped, NoStep };
    DelayEdit setStepDelay(int row, unsigned long long typedMs);
    // A chosen key or state; returns true when it differs from the step's and was taken.
    bool setStepKey(int row, KeyCode key);
    bool setStepState(int row, std::uint16_t state);

    // Moves the macros into `working` (under its lock): keys that play a macro that is no longer listed, or whose
    // id a new macro has taken, return to their factory function; keys playing macro id 0 get the first listed
    // macro. The store's macros become copies of the list, none marked new. Returns the number of key records
    // changed (each one is a change to apply).
    int commit(AssignmentStore& working);

private:
    MacroRecord* currentMacro();
    const MacroRecord* currentMacro() const;
    // True when a macro other than `except` has a name that begins with `name`, letter case aside.
    bool nameTaken(std::u16string_view name, int except) const;
    std::u16string generatedName(int except);
    std::uint16_t lowestFreeId() const;
    void append(std::u16string_view name);
    void insertStep(int row, const MacroAction& action);
    // Applies `edit` to step `row` of the current macro; false when there is no such step or `edit` says it
    // changed nothing.
    bool editStep(int row, const std::function<bool(MacroAction&)>& edit);
    void eraseStep(int row);

    std::u16string m_prefix;
    std::vector<MacroRecord> m_macros;
    int m_current = -1;
    int m_selectedStep = -1;
    int m_nameCounter = 0;
    bool m_modified = false;
};

} // namespace ombrel
