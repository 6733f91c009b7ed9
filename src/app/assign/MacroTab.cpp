#include "MacroTab.h"
#include "LegacyKeys.h"

#include "CheckableList.h"
#include "ColorStatic.h"
#include "SkinButton.h"
#include "SkinPlacement.h"
#include "SkinScale.h"
#include "UiText.h"
#include "UserPrompts.h"

#include "keys/AssignmentStore.h"
#include "platform/SettingsStore.h"
#include "text/KeyText.h"
#include "text/LanguageTexts.h"
#include "text/SafeFormat.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSpinBox>

namespace ombrel {

namespace {

constexpr int kColumnWidth = 63;
constexpr std::uint16_t kPickerPositions = 106; // positions of the key picker list
constexpr int kNoCellEdit = 0;                  // CheckableList: the owner handles the edit itself
constexpr std::uint32_t kCaptionColour = 0xE4E4E4;
const QString kSection = QStringLiteral("BUTTONINFO");

QString ArrowOf(std::uint16_t state) {
    return state == MACRO_PRESS ? QStringLiteral("\u2193") : QStringLiteral("  \u2191");
}

ColorStatic* Caption(QWidget* parent, const QString& layoutFile, const char* key) {
    auto* c = new ColorStatic(parent);
    c->setObjectName(QString::fromLatin1(key));
    c->setTextColor(kCaptionColour);
    placeControl(c, layoutFile, kSection, QString::fromLatin1(key));
    return c;
}

} // namespace

MacroTab::MacroTab(QWidget* dialog, const QString& layoutFile, const KeyAssignmentPictures& pictures,
                   SettingsStore& settings, const AssignmentStore& working)
    : QObject(dialog), m_dialog(dialog), m_settings(settings), m_working(working), m_model(u"") {
    const PictureSet& set = pictures.macro;
    m_nameCaption = Caption(dialog, layoutFile, skinkey::kMacroNameCaption);
    m_list = new QComboBox(dialog);
    m_list->setObjectName(QStringLiteral("FUNC_MACRO_LIST"));
    m_list->setEditable(true);
    m_list->setInsertPolicy(QComboBox::NoInsert);
    m_list->lineEdit()->setMaxLength(kMaxMacroNameLength);
    placeControl(m_list, layoutFile, kSection, QStringLiteral("FUNC_MACRO_LIST"));
    m_add = MakeSkinButton(dialog, layoutFile, "FUNC_MACRO_ADD", set);
    m_delete = MakeSkinButton(dialog, layoutFile, "FUNC_MACRO_DELETE", set);
    m_cyclesCaption = Caption(dialog, layoutFile, "FUNC_MACRO_CYCLES_PROMPT");
    m_cycles = new QSpinBox(dialog);
    m_cycles->setObjectName(QStringLiteral("FUNC_MACRO_CYCLES"));
    m_cycles->setRange(kMinMacroCycles, kMaxMacroCycles);
    m_cycles->setButtonSymbols(QAbstractSpinBox::NoButtons); // typed, or stepped with the arrow keys and the wheel
    placeControl(m_cycles, layoutFile, kSection, QStringLiteral("FUNC_MACRO_CYCLES"));
    m_steps = new CheckableList(dialog);
    m_steps->setObjectName(QStringLiteral("FUNC_MACRO_LIST2"));
    m_steps->setCheckMode(CheckableList::kNoChecks);
    m_steps->setSortable(false);
    m_steps->setEditable(true);
    m_steps->setOwner(dialog);
    for (int c = 0; c < 3; ++c)
        m_steps->insertColumn(c, QString(), Qt::AlignLeft, kColumnWidth);
    QFont small = m_steps->font();
    small.setPointSizeF(ScaleSkinFont(8));
    m_steps->setFont(small);
    placeControl(m_steps, layoutFile, kSection, QStringLiteral("FUNC_MACRO_LIST2"));
    m_record = MakeSkinButton(dialog, layoutFile, "FUNC_MACRO_RECORD", set);
    m_record->setAccessibleKind(AccessibleKind::Toggle); // checked while recording
    m_record->installEventFilter(this);
    m_deleteStep = MakeSkinButton(dialog, layoutFile, "FUNC_MACRO_DELETE2", set);
    m_clearSteps = MakeSkinButton(dialog, layoutFile, "FUNC_MACRO_CLEAR", set);
    m_top = MakeSkinButton(dialog, layoutFile, "FUNC_MACRO_UP_TOP", set);
    m_up = MakeSkinButton(dialog, layoutFile, "FUNC_MACRO_UP", set);
    m_down = MakeSkinButton(dialog, layoutFile, "FUNC_MACRO_DOWN", set);
    m_bottom = MakeSkinButton(dialog, layoutFile, "FUNC_MACRO_DOWN_BOTTOM", set);
    m_recordDelays = new QCheckBox(dialog);
    m_recordDelays->setObjectName(QStringLiteral("FUNC_MACRO_RECORD_DELAY"));
    placeControl(m_recordDelays, layoutFile, kSection, QStringLiteral("FUNC_MACRO_RECORD_DELAY"));
    m_recordDelaysCaption = Caption(dialog, layoutFile, "FUNC_MACRO_RECORD_DELAY2");
    m_recordDelaysCaption->setBuddy(m_recordDelays);

    connect(m_list, &QComboBox::activated, this, &MacroTab::onMacroChosen);
    connect(m_list->lineEdit(), &QLineEdit::editingFinished, this, &MacroTab::onNameEdited);
    connect(m_add, &SkinButton::clicked, this, &MacroTab::onAdd);
    connect(m_delete, &SkinButton::clicked, this, &MacroTab::onDeleteMacro);
    connect(m_cycles, &QSpinBox::valueChanged, this, &MacroTab::onCycles);
    connect(m_record, &SkinButton::clicked, this, &MacroTab::onRecord);
    connect(m_deleteStep, &SkinButton::clicked, this, &MacroTab::onDeleteStep);
    connect(m_clearSteps, &SkinButton::clicked, this, &MacroTab::onClearSteps);
    connect(m_top, &SkinButton::clicked, this, [this] { onMoveStep(MacroListModel::StepMove::Top); });
    connect(m_up, &SkinButton::clicked, this, [this] { onMoveStep(MacroListModel::StepMove::Up); });
    connect(m_down, &SkinButton::clicked, this, [this] { onMoveStep(MacroListModel::StepMove::Down); });
    connect(m_bottom, &SkinButton::clicked, this, [this] { onMoveStep(MacroListModel::StepMove::Bottom); });
    connect(m_recordDelays, &QCheckBox::toggled, this, &MacroTab::onRecordDelays);
    connect(m_steps, &QTreeWidget::itemSelectionChanged, this, [this] {
        m_model.selectStep(m_steps->selectedRow());
        updateButtons();
    });
    m_steps->setBeginEditHandler(
        [this](QWidget*, CheckableList* list, int& extra) { return beginCellEdit(list, extra); });
    m_steps->setEndEditHandler(
        [this](QWidget*, CheckableList*, bool commit, bool changed) { return endCellEdit(commit, changed); });
}

MacroTab::~MacroTab() = default;

QString MacroTab::text(const char* key) const {
    return UiText(key, m_languageIndex);
}

SkinButton* MacroTab::button(const char* skinKey) const {
    return m_dialog->findChild<SkinButton*>(QString::fromLatin1(skinKey));
}

QString MacroTab::recordDelaysKey() const {
    // The setting is named by the text of its check box in the language in use.
    return text("MACRO_ACTION_RECORD_DELAY");
}

void MacroTab::selectMacro(int row) {
    m_model.select(row);
    showMacros();
}

void MacroTab::load(int languageIndex) {
    stopRecording();
    m_languageIndex = languageIndex;
    m_model = MacroListModel(text("MACRO_NEW_PREFIX").toStdU16String());
    m_model.load(m_working);
    m_model.select(-1);
    const QString key = recordDelaysKey();
    const bool delays = m_settings.getProfileString(key.toStdString(), "0") == "1";
    m_settings.writeProfileString(key.toStdString(), delays ? "1" : "0");
    m_model.recordDelays = delays;
    {
        const QSignalBlocker block(m_recordDelays);
        m_recordDelays->setChecked(delays);
    }
    m_fullReported = false;
    showMacros();
}

void MacroTab::setVisible(bool visible) {
    if (!visible) stopRecording();
    for (QWidget* w : std::initializer_list<QWidget*>{m_nameCaption, m_list, m_add, m_delete, m_cyclesCaption, m_cycles,
                                                      m_steps, m_record, m_deleteStep, m_clearSteps, m_top, m_up,
                                                      m_down, m_bottom, m_recordDelays, m_recordDelaysCaption})
        w->setVisible(visible);
}

void MacroTab::applyTexts(int languageIndex) {
    m_languageIndex = languageIndex;
    m_nameCaption->setText(text("MACRO_NAME_SETTING"));
    m_cyclesCaption->setText(text("MACRO_CYCLES"));
    m_recordDelaysCaption->setText(text("RECORD_DELAY"));
    m_record->setText(text(recording() ? "MACRO_ACTION_STOP_RECORD" : "A_RECORD"));
    // The step buttons show their pictures; their names are their tooltips.
    const std::pair<SkinButton*, const char*> named[] = {{m_top, "A_TOP"},          {m_up, "A_UP"},
                                                         {m_down, "A_DOWN"},        {m_bottom, "A_BOTTOM"},
                                                         {m_clearSteps, "A_CLEAR"}, {m_deleteStep, "A_DELETE"}};
    for (const auto& [b, key] : named) {
        b->setInstantToolTip(text(key));
        b->setAccessibleName(text(key));
    }
    for (const auto& [b, key] :
         {std::pair<SkinButton*, const char*>{m_add, "ACC_MACRO_ADD"}, {m_delete, "ACC_MACRO_DELETE"}}) {
        b->setInstantToolTip(text(key));
        b->setAccessibleName(text(key));
    }
    // The macro list, the play count and the steps are named by the captions beside them.
    const auto untilColon = [](QString s) { return s.endsWith(QLatin1Char(':')) ? s.chopped(1) : s; };
    m_list->setAccessibleName(untilColon(m_nameCaption->text()));
    m_list->lineEdit()->setAccessibleName(m_list->accessibleName());
    m_list->view()->setAccessibleName(m_list->accessibleName());
    m_cycles->setAccessibleName(untilColon(m_cyclesCaption->text()));
    m_steps->setAccessibleName(text("ACC_MACRO_STEPS"));
    m_steps->headerItem()->setText(0, text(textkey::kMacroKeysHeading));
    m_steps->headerItem()->setText(1, text(textkey::kMacroActionHeading));
    m_steps->headerItem()->setText(2, text("MACRO_DELAY_MS"));
    m_steps->headerItem()->setToolTip(2, text("MACRO_DELAY_STEP_TIP"));
    for (int row = 0; row < m_steps->rowCount(); ++row)
        showStep(row);
}

// ---- showing the model ----

void MacroTab::showMacros() {
    {
        const QSignalBlocker block(m_list);
        m_list->clear();
        for (int i = 0; i < m_model.count(); ++i)
            m_list->addItem(QString::fromStdU16String(m_model.macro(i).name()));
        m_list->setCurrentIndex(m_model.current());
        if (m_model.current() < 0) m_list->setEditText(QString());
    }
    showSteps();
}

void MacroTab::showSteps() {
    m_steps->endEdit(false);
    const QSignalBlocker block(m_steps);
    m_steps->removeAllRows();
    for (int row = 0; row < m_model.stepCount(); ++row) {
        m_steps->insertRow(row, QString());
        showStep(row);
    }
    if (m_model.current() >= 0) {
        const QSignalBlocker blockCycles(m_cycles);
        m_cycles->setValue(m_model.macro(m_model.current()).cycles());
    }
    selectStepRow(m_model.selectedStep());
    updateButtons();
}

void MacroTab::showStep(int row) {
    const MacroAction a = m_model.step(row);
    m_steps->setCellText(row, 0, QString::fromStdString(KeyText(a.keyCode, m_languageIndex)));
    m_steps->setCellText(row, 1, ArrowOf(a.state));
    m_steps->setCellText(row, 2, QString::number(a.delayMs));
    // Key and action are drawn in the grey of text that is edited in place, not typed.
    if (QTreeWidgetItem* item = m_steps->topLevelItem(row)) {
        const QBrush grey = m_steps->palette().brush(QPalette::Disabled, QPalette::Text);
        item->setForeground(0, grey);
        item->setForeground(1, grey);
    }
}

void MacroTab::insertStepRow(int row) {
    const QSignalBlocker block(m_steps);
    m_steps->insertRow(row, QString());
    showStep(row);
    if (row > 0) showStep(row - 1); // it took the new step's pause
    selectStepRow(row);
}

void MacroTab::selectStepRow(int row) {
    const QSignalBlocker block(m_steps);
    if (row < 0 || row >= m_steps->rowCount()) {
        m_steps->clearSelection();
        return;
    }
    m_steps->selectOnly(row);
    m_steps->scrollToItem(m_steps->topLevelItem(row));
}

void MacroTab::updateButtons() {
    const bool macro = m_model.current() >= 0;
    for (SkinButton* b : {m_record, m_deleteStep, m_clearSteps, m_top, m_up, m_down, m_bottom})
        b->setEnabled(macro);
    m_cycles->setEnabled(macro);
    const bool idle = !recording();
    m_add->setEnabled(idle);
    m_delete->setEnabled(idle && macro);
    m_list->setEnabled(idle);
}

void MacroTab::changed() {
    emit edited();
}

// ---- macro list ----

void MacroTab::onMacroChosen(int index) {
    if (index == m_model.current()) return;
    m_model.select(index);
    showSteps();
}

void MacroTab::onNameEdited() {
    // A name takes effect when typing ends (Enter or leaving the box), not at every keystroke: the rule that a
    // name may not begin another macro's name would otherwise replace a name while it is being typed.
    const QString typed = m_list->currentText();
    if (m_model.current() >= 0 && typed.toStdU16String() == m_model.macro(m_model.current()).name()) return;
    if (m_model.count() == 0 && typed.isEmpty()) return;
    if (!m_model.rename(typed.toStdU16String())) return;
    showMacros();
    changed();
}

void MacroTab::onAdd() {
    if (!addMacro()) return;
    showMacros();
    changed();
}

bool MacroTab::addMacro() {
    if (m_model.add() != MacroListModel::AddResult::TooMany) return true;
    UserPrompts::information(m_dialog,
                             QString::fromStdString(FormatTextInt(text("MACRO_ERR_MAX").toStdString(), kMaxMacros)));
    return false;
}

bool MacroTab::addMacroOf(std::u16string_view name, const std::vector<MacroAction>& steps) {
    if (!addMacro()) return false;
    m_model.rename(name);
    // The fixed pause between steps, whatever Record would measure.
    const bool measured = m_model.recordDelays;
    m_model.recordDelays = false;
    for (const MacroAction& step : steps)
        m_model.addStep(step.delayMs, step.keyCode, step.state);
    m_model.recordDelays = measured;
    showMacros();
    changed();
    return true;
}

void MacroTab::onDeleteMacro() {
    const auto result = m_model.deleteCurrent(m_working, [this] {
        return UserPrompts::ask(m_dialog, text("MACRO_DELETE_CONFIRM_OF_KEYS"), QString(),
                                QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
    });
    if (result != MacroListModel::DeleteResult::Deleted) return;
    showMacros();
    changed();
}

void MacroTab::onCycles(int value) {
    if (m_model.current() < 0) return;
    m_model.setCycles(value);
    changed();
}

// ---- steps ----

void MacroTab::onMoveStep(MacroListModel::StepMove move) {
    if (m_model.selectedStep() < 0) return;
    m_model.moveStep(move);
    showSteps();
    m_steps->setFocus();
    changed();
}

void MacroTab::onDeleteStep() {
    if (m_model.selectedStep() < 0) return;
    m_model.deleteStep();
    showSteps();
    changed();
}

void MacroTab::onClearSteps() {
    if (m_model.stepCount() == 0) return;
    if (UserPrompts::ask(m_dialog, text("MACRO_ACTION_CLEAR_CONFIRM"), QString(), QMessageBox::Yes | QMessageBox::No,
                         QMessageBox::No) != QMessageBox::Yes)
        return;
    m_model.clearSteps();
    showSteps();
    changed();
}

int MacroTab::beginCellEdit(CheckableList* list, int& extraStyles) {
    const int row = list->editingRow();
    const int column = list->editingColumn();
    if (column == 2) {
        stopRecording();
        extraStyles |= CheckableList::kEditNumber;
        return 1; // the list's own editor, digits only
    }
    if (column != 0 && column != 1) {
        UserPrompts::information(m_dialog, text("MACRO_ACTION_ERR_MODIFY"));
        return kNoCellEdit;
    }
    if (!m_cellChoice) {
        m_cellChoice = new QComboBox(m_steps->viewport());
        m_cellChoice->setFocusPolicy(Qt::StrongFocus);
        m_cellChoice->setObjectName(QStringLiteral("stepCellChoice"));
        connect(m_cellChoice, &QComboBox::activated, this, [this](int) { onCellChoice(); });
    }
    m_cellRow = row;
    m_cellColumn = column;
    const MacroAction a = m_model.step(row);
    m_cellChoice->clear();
    if (column == 0) {
        for (std::uint16_t pos = 0; pos < kPickerPositions; ++pos)
            m_cellChoice->addItem(QString::fromStdString(PickerText(pos, m_languageIndex)));
        m_cellChoice->setCurrentIndex(PickerPosOfKey(a.keyCode) < kPickerPositions ? PickerPosOfKey(a.keyCode) : -1);
    } else {
        m_cellChoice->addItem(ArrowOf(MACRO_PRESS));
        m_cellChoice->addItem(ArrowOf(MACRO_RELEASE));
        m_cellChoice->setCurrentIndex(a.state == MACRO_PRESS ? 0 : 1);
    }
    m_cellChoice->setGeometry(m_steps->cellRect(row, column).adjusted(0, 0, column == 0 ? 80 : 20, 0));
    m_cellChoice->show();
    m_cellChoice->setFocus();
    return kNoCellEdit;
}

void MacroTab::onCellChoice() {
    if (!m_cellChoice || m_cellRow < 0) return;
    const int choice = m_cellChoice->currentIndex();
    const int row = m_cellRow;
    const bool changedStep =
        choice >= 0 && (m_cellColumn == 0 ? m_model.setStepKey(row, KeyOfPickerPos(static_cast<std::uint16_t>(choice)))
                                          : m_model.setStepState(row, choice == 0 ? MACRO_PRESS : MACRO_RELEASE));
    m_steps->endEdit(true);
    if (!changedStep) return;
    showStep(row);
    changed();
}

int MacroTab::endCellEdit(bool commit, bool changedText) {
    if (m_cellChoice && m_cellRow >= 0) {
        m_cellChoice->hide();
        m_cellRow = -1;
    }
    if (m_steps->editingColumn() != 2 || !commit || !changedText || !m_steps->cellEditor()) return 1;
    const int row = m_steps->editingRow();
    bool ok = false;
    const unsigned long long typed = m_steps->cellEditor()->text().toULongLong(&ok);
    // Digits only, but a number too long for any type is still a pause above the limit.
    const auto result = m_model.setStepDelay(row, ok ? typed : ~0ULL);
    if (result == MacroListModel::DelayEdit::Clamped)
        UserPrompts::information(m_dialog, QString::fromStdString(FormatTextInt(
                                               text("MACRO_ACTION_ERR_DELAY_MAX").toStdString(), kMaxTypedDelayMs)));
    m_steps->cellEditor()->setText(QString::number(m_model.step(row).delayMs));
    if (result != MacroListModel::DelayEdit::NoStep) changed();
    return 1;
}

// ---- recording ----

bool MacroTab::eventFilter(QObject* watched, QEvent* event) {
    // Pauses are measured on the clock of the key events; the click that starts recording gives its start on the
    // same clock.
    if (watched == m_record && (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::KeyPress ||
                                event->type() == QEvent::KeyRelease))
        m_lastClickTimestamp = static_cast<QInputEvent*>(event)->timestamp();
    return false;
}

void MacroTab::onRecord() {
    if (recording())
        stopRecording();
    else
        startRecording(m_lastClickTimestamp);
}

void MacroTab::startRecording(std::optional<std::uint64_t> startTimestampMs) {
    if (recording() || m_model.current() < 0) return;
    m_steps->endEdit(true);
    m_recorder.start(startTimestampMs);
    m_fullReported = false;
    m_record->setText(text("MACRO_ACTION_STOP_RECORD"));
    m_record->setCheckedLook(true);
    updateButtons();
    emit recordingChanged(true);
}

void MacroTab::stopRecording() {
    if (!recording()) return;
    m_recorder.stop();
    m_record->setText(text("MACRO_ACTION_RECORD"));
    m_record->setCheckedLook(false);
    updateButtons();
    emit recordingChanged(false);
}

bool MacroTab::keyEvent(const KeyEvent& event) {
    const int before = m_model.stepCount();
    switch (m_recorder.feed(event, m_model)) {
    case MacroRecorder::Result::PassOn:
        return false;
    case MacroRecorder::Result::Swallowed:
        return true;
    case MacroRecorder::Result::Recorded:
        for (int row = m_model.selectedStep() - (m_model.stepCount() - before) + 1; row <= m_model.selectedStep();
             ++row)
            insertStepRow(row);
        changed();
        return true;
    case MacroRecorder::Result::Dropped:
        // A full macro ends the recording and says why, once, instead of dropping keys without a word.
        if (!m_fullReported && m_model.stepCount() >= kMaxMacroActions - 1) {
            m_fullReported = true;
            stopRecording();
            UserPrompts::information(m_dialog, text("MACRO_ACTION_ERR_KEYS_PROMPT2"));
        }
        return true;
    }
    return true;
}

void MacroTab::onRecordDelays(bool on) {
    m_model.recordDelays = on;
    m_settings.writeProfileString(recordDelaysKey().toStdString(), on ? "1" : "0");
}

int MacroTab::commit(AssignmentStore& working) {
    stopRecording();
    m_steps->endEdit(true);
    return m_model.commit(working);
}

} // namespace ombrel
