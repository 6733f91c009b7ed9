#include "HistoryDialog.h"

#include "DeviceTask.h"
#include "UserPrompts.h"
#include "WindowContext.h"

#include "cli/CliSetupNames.h"
#include "device/LinkResult.h"
#include "keyboardfile/KeyCodeNames.h"
#include "keyboardfile/SetupApply.h"
#include "keyboardfile/WriteHistory.h"
#include "profiles/ProfileStore.h"
#include "text/FileBytes.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace ombrel {

namespace {

constexpr int kNumberRole = Qt::UserRole;
constexpr int kDetailsRole = Qt::UserRole + 1;

std::optional<WriteHistory> processHistory() {
    const auto settings = ProcessHistory();
    if (!settings) return std::nullopt;
    return WriteHistory(settings->folder);
}

std::optional<KeyboardSetup> readSnapshot(const std::string& path) {
    return ReadKeyboardFile(ReadFileBytes(path).bytes, KeyCodeNames()).setup;
}

} // namespace

HistoryDialog::HistoryDialog(WindowContext& context, QWidget* parent) : QDialog(parent), m_context(context) {
    setObjectName(QStringLiteral("historyDialog"));
    setWindowTitle(m_context.text("HISTORY_TITLE"));
    auto* layout = new QVBoxLayout(this);
    m_explain = new QLabel(m_context.text("HISTORY_EXPLAIN"), this);
    m_explain->setWordWrap(true);
    layout->addWidget(m_explain);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("historyList"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({m_context.text("HISTORY_HEAD_WHEN"), m_context.text("HISTORY_HEAD_WRITER"),
                             m_context.text("HISTORY_HEAD_CHANGES")});
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_list->setAccessibleName(m_context.text("HISTORY_TITLE"));
    layout->addWidget(m_list, 2);

    m_details = new QPlainTextEdit(this);
    m_details->setReadOnly(true);
    m_details->setAccessibleName(m_context.text("HISTORY_HEAD_CHANGES"));
    layout->addWidget(m_details, 1);

    auto* buttons = new QDialogButtonBox(this);
    m_restore = buttons->addButton(m_context.text("HISTORY_RESTORE"), QDialogButtonBox::ActionRole);
    m_restore->setObjectName(QStringLiteral("historyRestore"));
    QPushButton* close = buttons->addButton(m_context.text("HISTORY_CLOSE"), QDialogButtonBox::RejectRole);
    close->setDefault(true);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_restore, &QPushButton::clicked, this, &HistoryDialog::restoreSelected);
    connect(m_list, &QTreeWidget::currentItemChanged, this, &HistoryDialog::showDetails);
    resize(760, 480);
    fill();
}

void HistoryDialog::fill() {
    m_list->clear();
    const auto history = processHistory();
    const auto all = history ? history->list() : std::vector<HistorySnapshot>();
    // The changes in the words of ombrelctl's history list (key names, not codes), in the window's language.
    const cli::CliTexts texts = cli::LoadCliTexts(m_context.languageIndex());
    const cli::CliSetupNames names(texts);
    const ChangeWords words = LoadChangeWords(texts.text);
    // What each write changed is what lies between its snapshot and the next; the newest write changed what lies
    // between its snapshot and the keyboard now.
    std::optional<KeyboardSetup> now;
    if (DeviceLink* link = m_context.link(); link && !all.empty()) {
        NullScreen quiet;
        SetupPlaces places{link->commands(), link->state(), quiet, {}, "", m_context.paths().userColorPrefix};
        KeyboardSetup read;
        if (DeviceTask::run(m_context.dispatcher(), window(), [&] { return ReadKeyboardSetup(places, read); }) ==
            LINK_OK)
            now = std::move(read);
    }
    for (std::size_t i = 0; i < all.size(); ++i) {
        const HistorySnapshot& s = all[i];
        const auto before = readSnapshot(s.path);
        const auto after = i + 1 < all.size() ? readSnapshot(all[i + 1].path) : now;
        QStringList lines;
        if (before && after)
            for (const std::string& line : CompareSetups(*before, *after, names, words).lines)
                lines << QString::fromStdString(line);
        QString summary = lines.isEmpty() ? m_context.text("HISTORY_NO_CHANGE") : lines.first();
        if (lines.size() > 1) summary += QStringLiteral(" (+%1)").arg(lines.size() - 1);
        if (s.interrupted) summary = m_context.text("HISTORY_INTERRUPTED") + QLatin1Char(' ') + summary;
        auto* item = new QTreeWidgetItem({QString::fromStdString(s.time), QString::fromStdString(s.writer), summary});
        item->setData(0, kNumberRole, s.number);
        item->setData(0, kDetailsRole, lines.join(QLatin1Char('\n')));
        m_list->insertTopLevelItem(0, item); // newest first
    }
    const bool empty = all.empty();
    m_restore->setEnabled(!empty && m_context.link());
    if (empty) m_details->setPlainText(m_context.text("HISTORY_EMPTY"));
    if (!empty) m_list->setCurrentItem(m_list->topLevelItem(0));
}

void HistoryDialog::showDetails() {
    const QTreeWidgetItem* item = m_list->currentItem();
    m_details->setPlainText(item ? item->data(0, kDetailsRole).toString() : QString());
}

bool HistoryDialog::restoreSelected() {
    const QTreeWidgetItem* item = m_list->currentItem();
    DeviceLink* link = m_context.link();
    const auto history = processHistory();
    if (!item || !link || !history) return false;
    const auto snapshot = history->find(item->data(0, kNumberRole).toInt());
    if (!snapshot) return false;
    const QString when = QString::fromStdString(snapshot->time);
    if (UserPrompts::ask(this, m_context.text("HISTORY_RESTORE_ASK", when), QString(),
                         QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return false;
    const KeyboardFileRead read = ReadKeyboardFile(ReadFileBytes(snapshot->path).bytes, KeyCodeNames());
    std::string why;
    const int result = DeviceTask::run(m_context.dispatcher(), this, [&] {
        NullScreen quiet;
        SetupPlaces places{link->commands(),
                           link->state(),
                           quiet,
                           {},
                           StorePath(m_context.paths().userDir),
                           m_context.paths().userColorPrefix};
        ApplyPlan plan;
        if (const int r = PlanSetupApply(places, read, KeyCodeNames(), plan, &why); r != LINK_OK) return r;
        if (!plan.problems.empty()) {
            why = DescribeProblem(plan.problems.front());
            return static_cast<int>(LINK_BAD_ARGUMENT);
        }
        return plan.difference.empty() ? static_cast<int>(LINK_OK) : CarryOutApply(places, plan, &why);
    });
    if (result != LINK_OK) {
        const QString reason = QString::fromStdString(why.empty() ? LinkResultDescription(result) : why);
        UserPrompts::information(this, m_context.text("HISTORY_RESTORE_FAILED", reason));
        fill();
        return false;
    }
    if (snapshot->interrupted) WriteHistory(history->folder()).finish(snapshot->number);
    emit restored();
    UserPrompts::information(this, m_context.text("HISTORY_RESTORE_DONE", when));
    fill();
    return true;
}

} // namespace ombrel
