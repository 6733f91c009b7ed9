#include "BackupActions.h"

#include "CommandBar.h"
#include "DeviceTask.h"
#include "FileFilters.h"
#include "KeyboardFileBackup.h"
#include "UserPrompts.h"
#include "WindowContext.h"

#include "device/LinkResult.h"
#include "profiles/ProfileStore.h"
#include "transfer/KeyboardWriter.h"

#include <QStringList>

namespace ombrel {

namespace {

// The first few problems of a damaged file, one a line, for a question about it.
QString ProblemLines(const std::vector<ContentProblem>& problems) {
    constexpr std::size_t kShown = 8;
    QStringList lines;
    for (std::size_t i = 0; i < problems.size() && i < kShown; ++i)
        lines << QString::fromStdString(problems[i].describe());
    if (problems.size() > kShown) lines << QStringLiteral("...");
    return lines.join(QLatin1Char('\n'));
}

} // namespace

BackupActions::BackupActions(WindowContext& context, CommandBar& progress, QObject* parent)
    : QObject(parent), m_context(context), m_progress(progress) {
    setObjectName(QStringLiteral("backupActions"));
}

void BackupActions::restore() {
    QWidget* window = m_context.window();
    const QString path = UserPrompts::openFileName(window, QString(), BackupFileFilters());
    if (path.isEmpty()) return;
    if (IsKeyboardFilePath(path.toStdString())) {
        restoreKeyboardFile(path);
        return;
    }
    std::vector<ContentProblem> problems;
    if (ValidateFile(path.toStdString(), m_context.screen(), nullptr, &problems) <= 0) {
        UserPrompts::information(window, m_context.text("MAIN_PROMPT_INPORT"));
        return;
    }
    // Restoring replaces all three profiles: the user says so first, knowing what is wrong with a damaged file.
    const QString question = problems.empty() ? m_context.text("MAIN_PROMPT_RESTORE_ASK", path)
                                              : m_context.text("MAIN_PROMPT_RESTORE_DAMAGED", path) +
                                                    QStringLiteral("\n\n") + ProblemLines(problems);
    if (UserPrompts::ask(window, question, QString(), QMessageBox::Yes | QMessageBox::No, QMessageBox::No) !=
        QMessageBox::Yes)
        return;
    DeviceLink* link = m_context.link();
    KeyStores& stores = m_context.stores();
    ScreenPort& screen = m_context.screen();
    const std::string store = StorePath(m_context.paths().userDir);
    m_progress.startApplyIndicator();
    const int result = DeviceTask::run(m_context.dispatcher(), window, [&] {
        std::lock_guard lock(stores.workingStore.lock);
        // Loading replaces the store whole, or leaves it untouched when the file cannot be used after all.
        if (LoadStore(stores.workingStore, path.toStdString()) != 1) return -1;
        SaveStore(stores.workingStore, store, false);
        if (!link) return 0;
        return ApplyToKeyboard(stores, link->commands(), link->state(), screen, 1) == LINK_OK ? 1 : 0;
    });
    m_progress.stopApplyIndicator();
    if (result < 0) {
        UserPrompts::information(window, m_context.text("MAIN_PROMPT_INPORT"));
        return;
    }
    emit storeChanged();
    // What the keyboard did not take stays pending, so Apply can write it later.
    m_context.pending().set(result != 1);
    if (result == 1) UserPrompts::information(window, m_context.text("MAIN_PROMPT_RESTORE_DONE", path));
}

void BackupActions::backup() {
    const QString path =
        UserPrompts::saveFileName(m_context.window(), QString(), BackupFileFilters(),
                                  QString::fromLatin1(kProfileFileSuffix), UserPrompts::proposedBackupName());
    if (path.isEmpty()) return;
    if (IsKeyboardFilePath(path.toStdString())) {
        backUpKeyboardFile(path);
        return;
    }
    std::string why;
    if (ExportStore(m_context.stores().workingStore, path.toStdString(), true, &why) != 1) {
        UserPrompts::information(m_context.window(), m_context.text("MAIN_PROMPT_EXPORT") + QStringLiteral("\n\n") +
                                                         QString::fromStdString(why));
        return;
    }
    // A profile file is what other programs share; what it cannot hold is said, with where it is kept.
    UserPrompts::information(m_context.window(), m_context.text("MAIN_PROMPT_EXPORT_DONE", path) +
                                                     QStringLiteral("\n\n") + m_context.text("BACKUP_OBP_LEAVES_OUT"));
}

void BackupActions::backUpKeyboardFile(const QString& path) {
    DeviceLink* link = m_context.link();
    std::string why = "no keyboard";
    const int result =
        link ? DeviceTask::run(m_context.dispatcher(), m_context.window(),
                               [&] { return BackUpKeyboardFile(*link, m_context.paths(), path.toStdString(), &why); })
             : static_cast<int>(LINK_NO_REPLY);
    if (result != LINK_OK) {
        UserPrompts::information(m_context.window(), m_context.text("MAIN_PROMPT_EXPORT") + QStringLiteral("\n\n") +
                                                         QString::fromStdString(why));
        return;
    }
    UserPrompts::information(m_context.window(), m_context.text("KEYBOARD_BACKUP_DONE", path));
}

void BackupActions::restoreKeyboardFile(const QString& path) {
    QWidget* window = m_context.window();
    DeviceLink* link = m_context.link();
    if (!link) return;
    if (UserPrompts::ask(window, m_context.text("KEYBOARD_RESTORE_ASK", path), QString(),
                         QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    std::string why;
    m_progress.startApplyIndicator();
    const int result = DeviceTask::run(m_context.dispatcher(), window, [&] {
        return RestoreKeyboardFile(*link, m_context.paths(), path.toStdString(), &why);
    });
    m_progress.stopApplyIndicator();
    if (result != LINK_OK) {
        UserPrompts::information(window, m_context.text("KEYBOARD_RESTORE_FAILED") + QStringLiteral("\n\n") +
                                             QString::fromStdString(why));
        return;
    }
    emit keyboardRewritten();
    UserPrompts::information(window, m_context.text("MAIN_PROMPT_RESTORE_DONE", path));
}

} // namespace ombrel
