#include "BackupCommands.h"

#include "CommandBar.h"
#include "DeviceTask.h"
#include "UserPrompts.h"
#include "WindowContext.h"

#include "device/LinkResult.h"
#include "keys/KeyboardWriter.h"
#include "profiles/ProfileStore.h"

namespace ombrel {

BackupCommands::BackupCommands(WindowContext& context, CommandBar& progress, QObject* parent)
    : QObject(parent), m_context(context), m_progress(progress) {
    setObjectName(QStringLiteral("backupCommands"));
}

void BackupCommands::restore() {
    QWidget* window = m_context.window();
    const QString path = UserPrompts::openFileName(window, QString(), QString::fromLatin1(kProfileFileFilter));
    if (path.isEmpty()) return;
    if (ValidateFile(path.toStdString(), m_context.screen()) <= 0) {
        UserPrompts::information(window, m_context.text("MAIN_PROMPT_INPORT"));
        return;
    }
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
}

void BackupCommands::backup() {
    const QString path =
        UserPrompts::saveFileName(m_context.window(), QString(), QString::fromLatin1(kProfileFileFilter),
                                  QString::fromLatin1(kProfileFileSuffix), QStringLiteral("*.obp"));
    if (path.isEmpty()) return;
    if (ExportStore(m_context.stores().workingStore, path.toStdString(), true) != 1)
        UserPrompts::information(m_context.window(), m_context.text("MAIN_PROMPT_EXPORT"));
}

} // namespace ombrel
