#include "ApplicationRulesDialog.h"

#include "UserPrompts.h"
#include "WindowContext.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace ombrel {

using apprules::ApplicationRule;
using apprules::RulesFile;

namespace {

constexpr int kIdRole = Qt::UserRole;

const char* const kProfileKeys[] = {"PROFILE_1", "PROFILE_2", "PROFILE_3"};

bool sameFile(const RulesFile& a, const RulesFile& b) {
    return a.state == b.state && a.rules == b.rules && a.problems == b.problems && a.error == b.error;
}

} // namespace

std::string RuleIdFor(const apprules::ApplicationIdentity& identity) {
    for (const std::string* id :
         {&identity.desktopId, &identity.windowClass, &identity.processName, &identity.windowInstance})
        if (!id->empty()) return *id;
    return {};
}

ApplicationRulesDialog::ApplicationRulesDialog(WindowContext& context, std::string path,
                                               const RunningApplicationsSource& running, QWidget* parent)
    : QDialog(parent), m_context(context), m_path(std::move(path)) {
    setObjectName(QStringLiteral("applicationRulesDialog"));
    setWindowTitle(m_context.text("RULES_TITLE"));
    auto* layout = new QVBoxLayout(this);

    m_explain =
        new QLabel(m_context.text("RULES_EXPLAIN") + QLatin1Char('\n') + m_context.text("RULES_EXPLAIN_IDS"), this);
    m_explain->setWordWrap(true);
    layout->addWidget(m_explain);

    // Shown only for a file that cannot be used: what is wrong, and the way out.
    auto* problemRow = new QHBoxLayout;
    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("rulesProblem"));
    m_problem->setWordWrap(true);
    m_problem->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_problem->setTextFormat(Qt::PlainText);
    m_problem->setStyleSheet(QStringLiteral("color: #ff8a80;")); // a warning red that reads on the dark style
    problemRow->addWidget(m_problem, 1);
    m_replace = new QPushButton(m_context.text("RULES_REPLACE"), this);
    m_replace->setObjectName(QStringLiteral("rulesReplace"));
    m_replace->setAutoDefault(false);
    problemRow->addWidget(m_replace, 0, Qt::AlignTop);
    layout->addLayout(problemRow);

    auto* listRow = new QHBoxLayout;
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("rulesList"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({m_context.text("RULES_HEAD_APPLICATION"), m_context.text("RULES_HEAD_PROFILE")});
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_list->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_list->setAccessibleName(m_context.text("RULES_LIST"));
    m_list->installEventFilter(this);
    listRow->addWidget(m_list, 1);
    auto* side = new QVBoxLayout;
    m_up = new QPushButton(m_context.text("RULES_UP"), this);
    m_down = new QPushButton(m_context.text("RULES_DOWN"), this);
    m_delete = new QPushButton(m_context.text("RULES_DELETE"), this);
    for (QPushButton* b : {m_up, m_down, m_delete}) {
        b->setAutoDefault(false);
        side->addWidget(b);
    }
    m_up->setObjectName(QStringLiteral("rulesUp"));
    m_down->setObjectName(QStringLiteral("rulesDown"));
    m_delete->setObjectName(QStringLiteral("rulesDelete"));
    side->addStretch();
    listRow->addLayout(side);
    layout->addLayout(listRow, 1);

    auto* grid = new QGridLayout;
    auto* applicationLabel = new QLabel(m_context.text("RULES_APPLICATION"), this);
    m_application = new QComboBox(this);
    m_application->setObjectName(QStringLiteral("rulesApplication"));
    m_application->setEditable(true);
    m_application->setInsertPolicy(QComboBox::NoInsert);
    m_application->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_application->lineEdit()->setPlaceholderText(m_context.text("RULES_APPLICATION_HINT"));
    m_application->lineEdit()->setMaxLength(int(apprules::kMaxApplicationLength));
    // Wide enough for the hint in every language, which a combo box's own size leaves out.
    m_application->setMinimumWidth(
        std::min(m_application->fontMetrics().horizontalAdvance(m_context.text("RULES_APPLICATION_HINT")) + 48, 560));
    m_application->setAccessibleName(m_context.text("RULES_APPLICATION"));
    m_application->setAccessibleDescription(m_context.text("RULES_APPLICATION_HINT"));
    m_application->lineEdit()->installEventFilter(this);
    applicationLabel->setBuddy(m_application);
    // Each running application by its title and the id a rule takes; picking one puts the id in the box.
    for (const apprules::RunningApplication& app : running ? running() : std::vector<apprules::RunningApplication>()) {
        const QString id = QString::fromStdString(RuleIdFor(app.identity));
        if (id.isEmpty() || m_application->findData(id) >= 0) continue;
        const QString title = QString::fromStdString(app.title);
        m_application->addItem(title.isEmpty() || title.compare(id, Qt::CaseInsensitive) == 0
                                   ? id
                                   : title + QStringLiteral(" (") + id + u')',
                               id);
    }
    m_application->setCurrentIndex(-1);
    m_application->setEditText(QString());
    auto* profileLabel = new QLabel(m_context.text("RULES_PROFILE_LABEL"), this);
    m_newProfile = makeProfileBox(1, m_context.text("RULES_NEW_PROFILE"));
    m_newProfile->setObjectName(QStringLiteral("rulesNewProfile"));
    profileLabel->setBuddy(m_newProfile);
    m_add = new QPushButton(m_context.text("RULES_ADD"), this);
    m_add->setObjectName(QStringLiteral("rulesAdd"));
    m_add->setAutoDefault(false);
    grid->addWidget(applicationLabel, 0, 0);
    grid->addWidget(m_application, 0, 1);
    grid->addWidget(profileLabel, 0, 2);
    grid->addWidget(m_newProfile, 0, 3);
    grid->addWidget(m_add, 0, 4);
    auto* defaultLabel = new QLabel(m_context.text("RULES_DEFAULT"), this);
    m_default = makeProfileBox(1, m_context.text("RULES_DEFAULT"));
    m_default->setObjectName(QStringLiteral("rulesDefault"));
    defaultLabel->setBuddy(m_default);
    grid->addWidget(defaultLabel, 1, 0);
    grid->addWidget(m_default, 1, 3);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);

    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(m_context.text("BUTTON_OK"), QDialogButtonBox::AcceptRole);
    m_cancel = buttons->addButton(m_context.text("BUTTON_CANCEL"), QDialogButtonBox::RejectRole);
    m_ok->setObjectName(QStringLiteral("rulesOk"));
    m_ok->setDefault(true);
    m_ok->setAccessibleDescription(m_context.text("ACC_DIALOG_OK_DESC"));
    m_cancel->setAccessibleDescription(m_context.text("ACC_DIALOG_CANCEL_DESC"));
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &ApplicationRulesDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_add, &QPushButton::clicked, this, &ApplicationRulesDialog::addApplication);
    connect(m_up, &QPushButton::clicked, this, [this] { moveSelected(-1); });
    connect(m_down, &QPushButton::clicked, this, [this] { moveSelected(1); });
    connect(m_delete, &QPushButton::clicked, this, &ApplicationRulesDialog::deleteSelected);
    connect(m_replace, &QPushButton::clicked, this, &ApplicationRulesDialog::replaceDamagedFile);
    // However an entry is picked (popup, arrow keys), the box then holds its id, not its title.
    connect(m_application, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) m_application->setEditText(m_application->itemData(index).toString());
    });
    connect(m_application, &QComboBox::activated, this,
            [this](int index) { m_application->setEditText(m_application->itemData(index).toString()); });
    connect(m_application, &QComboBox::editTextChanged, this, &ApplicationRulesDialog::updateButtons);
    connect(m_list, &QTreeWidget::currentItemChanged, this, &ApplicationRulesDialog::updateButtons);
    connect(m_default, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_rules.defaultProfile = index + 1; });

    m_loaded = apprules::LoadApplicationRules(m_path);
    m_rules = m_loaded.rules;
    m_editable = m_loaded.state == RulesFile::State::Missing || m_loaded.state == RulesFile::State::Read;
    showFileState();
    fill(m_rules.rules.empty() ? -1 : 0);
    resize(760, 480);
    (m_editable ? static_cast<QWidget*>(m_application) : m_replace)->setFocus();
}

QComboBox* ApplicationRulesDialog::makeProfileBox(int profile, const QString& accessibleName) {
    auto* box = new QComboBox(this);
    for (const char* key : kProfileKeys)
        box->addItem(m_context.text(key));
    box->setCurrentIndex(profile - 1);
    // On Linux a combo box is read out by its value and its label; the description says what the value is for.
    box->setAccessibleName(accessibleName);
    box->setAccessibleDescription(accessibleName);
    return box;
}

QComboBox* ApplicationRulesDialog::profileBoxOf(int row) const {
    QTreeWidgetItem* item = m_list->topLevelItem(row);
    return item ? qobject_cast<QComboBox*>(m_list->itemWidget(item, 1)) : nullptr;
}

void ApplicationRulesDialog::showFileState() {
    const QString path = QString::fromStdString(m_path);
    if (m_loaded.state == RulesFile::State::Damaged && !m_replacing) {
        QString text = m_context.text("RULES_DAMAGED", path);
        for (const apprules::RulesProblem& p : m_loaded.problems)
            text += QLatin1Char('\n') + QString::fromStdString(apprules::DescribeProblem(p));
        m_problem->setText(text);
    } else if (m_loaded.state == RulesFile::State::Unreadable) {
        m_problem->setText(m_context.text("RULES_UNREADABLE", QString::fromStdString(m_loaded.error)));
    }
    m_problem->setVisible(!m_editable);
    m_replace->setVisible(m_loaded.state == RulesFile::State::Damaged && !m_replacing);
    for (QWidget* w : std::initializer_list<QWidget*>{m_list, m_application, m_newProfile, m_default})
        w->setEnabled(m_editable);
    {
        const QSignalBlocker quiet(m_default);
        m_default->setCurrentIndex(m_rules.defaultProfile - 1);
    }
    updateButtons();
}

void ApplicationRulesDialog::fill(int selectRow) {
    m_list->clear();
    QWidget* previous = m_list;
    for (std::size_t i = 0; i < m_rules.rules.size(); ++i) {
        const ApplicationRule& rule = m_rules.rules[i];
        const QString application = QString::fromStdString(rule.application);
        // The cell under the chooser holds the profile's name too: it is what a screen reader reads in the list.
        auto* item = new QTreeWidgetItem(m_list, {application, m_context.text(kProfileKeys[rule.profile - 1])});
        item->setData(0, kIdRole, application);
        QComboBox* box = makeProfileBox(rule.profile, m_context.text("RULES_PROFILE_OF", application));
        box->setEnabled(m_editable);
        m_list->setItemWidget(item, 1, box);
        connect(box, &QComboBox::currentIndexChanged, this, [this, i, item](int index) {
            if (i < m_rules.rules.size()) m_rules.rules[i].profile = index + 1;
            item->setText(1, m_context.text(kProfileKeys[index]));
        });
        // Tab goes from the list through each rule's profile, in the order of the rules.
        setTabOrder(previous, box);
        previous = box;
    }
    for (QWidget* next : std::initializer_list<QWidget*>{m_up, m_down, m_delete, m_application, m_newProfile, m_add,
                                                         m_default, m_ok, m_cancel}) {
        setTabOrder(previous, next);
        previous = next;
    }
    if (selectRow >= 0 && selectRow < m_list->topLevelItemCount())
        m_list->setCurrentItem(m_list->topLevelItem(selectRow));
    updateButtons();
}

int ApplicationRulesDialog::selectedRow() const {
    QTreeWidgetItem* item = m_list->currentItem();
    return item ? m_list->indexOfTopLevelItem(item) : -1;
}

void ApplicationRulesDialog::updateButtons() {
    const int row = selectedRow();
    const int count = static_cast<int>(m_rules.rules.size());
    m_up->setEnabled(m_editable && row > 0);
    m_down->setEnabled(m_editable && row >= 0 && row + 1 < count);
    m_delete->setEnabled(m_editable && row >= 0);
    m_add->setEnabled(m_editable && !m_application->currentText().trimmed().isEmpty());
}

void ApplicationRulesDialog::addApplication() {
    if (!m_editable) return;
    const QString typed = m_application->currentText().trimmed();
    if (typed.isEmpty()) return;
    const std::string application = typed.toStdString();
    if (!apprules::ApplicationProblem(application).empty()) {
        UserPrompts::information(this, m_context.text("RULES_BAD_APPLICATION", typed));
        return;
    }
    const int profile = m_newProfile->currentIndex() + 1;
    int row = 0;
    if (const auto existing = apprules::FindRule(m_rules, application)) {
        m_rules.rules[*existing].profile = profile; // one rule an application, as ombrelctl rules add keeps it
        row = static_cast<int>(*existing);
    } else {
        m_rules.rules.push_back({application, profile});
        row = static_cast<int>(m_rules.rules.size()) - 1;
    }
    fill(row);
    m_application->setCurrentIndex(-1);
    m_application->setEditText(QString());
}

void ApplicationRulesDialog::moveSelected(int step) {
    const int row = selectedRow();
    const int to = row + step;
    if (!m_editable || row < 0 || to < 0 || to >= static_cast<int>(m_rules.rules.size())) return;
    std::swap(m_rules.rules[static_cast<std::size_t>(row)], m_rules.rules[static_cast<std::size_t>(to)]);
    fill(to);
    m_list->setFocus();
}

void ApplicationRulesDialog::deleteSelected() {
    const int row = selectedRow();
    if (!m_editable || row < 0) return;
    m_rules.rules.erase(m_rules.rules.begin() + row);
    fill(std::min(row, static_cast<int>(m_rules.rules.size()) - 1));
    m_list->setFocus();
}

void ApplicationRulesDialog::replaceDamagedFile() {
    if (m_loaded.state != RulesFile::State::Damaged || m_replacing) return;
    if (UserPrompts::ask(this, m_context.text("RULES_REPLACE_ASK"), QString(), QMessageBox::Yes | QMessageBox::No,
                         QMessageBox::No) != QMessageBox::Yes)
        return;
    m_replacing = true;
    m_editable = true;
    m_rules = {};
    showFileState();
    fill(-1);
    m_application->setFocus();
}

bool ApplicationRulesDialog::save() {
    if (!m_editable) return true; // nothing here may be written
    const bool unchanged = m_loaded.state != RulesFile::State::Damaged && m_rules == m_loaded.rules;
    if (unchanged) return true;
    // Another program (ombrelctl, an editor) may have written the file meanwhile: its rules are not replaced unasked.
    if (!sameFile(apprules::LoadApplicationRules(m_path), m_loaded) &&
        UserPrompts::ask(this, m_context.text("RULES_CHANGED_ASK"), QString(), QMessageBox::Yes | QMessageBox::No,
                         QMessageBox::No) != QMessageBox::Yes)
        return false;
    const FileWriteResult written = apprules::SaveApplicationRules(m_path, m_rules);
    if (!written) {
        UserPrompts::information(this, m_context.text("RULES_SAVE_FAILED", QString::fromStdString(written.message)));
        return false;
    }
    m_loaded = apprules::LoadApplicationRules(m_path);
    m_replacing = false;
    emit rulesSaved(m_rules);
    return true;
}

void ApplicationRulesDialog::accept() {
    if (save()) QDialog::accept();
}

bool ApplicationRulesDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (watched == m_list) {
        if (key->key() == Qt::Key_Delete) {
            deleteSelected();
            return true;
        }
        // Ctrl+Up and Ctrl+Down move the rule, as the buttons do.
        if (key->modifiers() & Qt::ControlModifier && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
            moveSelected(key->key() == Qt::Key_Up ? -1 : 1);
            return true;
        }
    } else if (watched == m_application->lineEdit() && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
               !m_application->currentText().trimmed().isEmpty()) {
        // Enter in the box adds what was typed; with the box empty it is the dialog's OK.
        addApplication();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace ombrel
