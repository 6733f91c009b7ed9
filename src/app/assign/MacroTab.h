#pragma once
// The macro tab of the key assignment dialog: the macro list with its name box, Add and Delete, the play count,
// the step list with its in-cell editors and its buttons, and recording from the real keyboard. What it holds
// and every rule of an edit live in MacroListModel and MacroRecorder; this class shows them and asks the user
// where an edit needs an answer.

#include "KeyAssignmentPictures.h"

#include "assign/MacroListModel.h"
#include "assign/MacroRecorder.h"

#include <QObject>

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

class QCheckBox;
class QComboBox;
class QKeyEvent;
class QSpinBox;
class QWidget;

namespace ombrel {

class SkinButton;
class CheckableList;
class ColorStatic;
class SettingsStore;
struct AssignmentStore;

class MacroTab : public QObject {
    Q_OBJECT
public:
    MacroTab(QWidget* dialog, const QString& layoutFile, const KeyAssignmentPictures& pictures, SettingsStore& settings,
             const AssignmentStore& working);
    ~MacroTab() override;

    // Copies of the store's macros, none current yet.
    void load(int languageIndex);
    // Makes macro `row` current and shows its steps (-1: none).
    void selectMacro(int row);
    const MacroListModel& model() const { return m_model; }
    MacroListModel& model() { return m_model; }
    bool modified() const { return m_model.modified(); }
    void clearModified() { m_model.clearModified(); }

    void setVisible(bool visible);
    void applyTexts(int languageIndex);

    bool recording() const { return m_recorder.recording(); }
    void startRecording(std::optional<std::uint64_t> startTimestampMs);
    void stopRecording();
    // A key event while recording; true when it is kept from the desktop.
    bool keyEvent(const KeyEvent& event);

    // A new macro named `name` (a generated name when taken) that plays `steps`, made current; false, said to the
    // user, when the list is full.
    bool addMacroOf(std::u16string_view name, const std::vector<MacroAction>& steps);
    // Stops recording and moves the macros into `working`; returns the number of key records changed.
    int commit(AssignmentStore& working);

    // Test access to the controls.
    QComboBox* macroList() const { return m_list; }
    CheckableList* stepList() const { return m_steps; }
    QSpinBox* cyclesBox() const { return m_cycles; }
    SkinButton* button(const char* skinKey) const;

signals:
    // Something was edited (the dialog's Apply follows `modified()`).
    void edited();
    // Recording started or stopped: the dialog takes the keyboard while it runs.
    void recordingChanged(bool recording);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString text(const char* key) const;
    void showMacros();
    void showSteps();
    void showStep(int row);
    void insertStepRow(int row);
    void selectStepRow(int row);
    void updateButtons();
    void changed();

    void onMacroChosen(int index);
    void onNameEdited();
    void onAdd();
    // A new macro at the end of the list, or the user told that the list is full.
    bool addMacro();
    void onDeleteMacro();
    void onCycles(int value);
    void onMoveStep(MacroListModel::StepMove move);
    void onDeleteStep();
    void onClearSteps();
    void onRecord();
    void onRecordDelays(bool on);
    int beginCellEdit(CheckableList* list, int& extraStyles);
    int endCellEdit(bool commit, bool changed);
    void onCellChoice();
    QString recordDelaysKey() const;

    QWidget* m_dialog;
    SettingsStore& m_settings;
    const AssignmentStore& m_working;
    MacroListModel m_model;
    MacroRecorder m_recorder;
    int m_languageIndex = 0;
    std::optional<std::uint64_t> m_lastClickTimestamp; // of the click on Record, on the key events' clock
    bool m_fullReported = false;

    ColorStatic* m_nameCaption;
    QComboBox* m_list;
    SkinButton* m_add;
    SkinButton* m_delete;
    ColorStatic* m_cyclesCaption;
    QSpinBox* m_cycles;
    CheckableList* m_steps;
    SkinButton* m_record;
    SkinButton* m_deleteStep;
    SkinButton* m_clearSteps;
    SkinButton* m_top;
    SkinButton* m_up;
    SkinButton* m_down;
    SkinButton* m_bottom;
    QCheckBox* m_recordDelays;
    ColorStatic* m_recordDelaysCaption;
    QComboBox* m_cellChoice = nullptr; // the drop-down over a key or action cell while it is edited
    int m_cellRow = -1;
    int m_cellColumn = -1;
};

} // namespace ombrel
