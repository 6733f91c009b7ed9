#include "MainCommands.h"

#include "COmbrelDlg.h"
#include "CPngButton.h"
#include "DeviceTask.h"
#include "LightingPanelFrame.h"
#include "MainMessages.h"
#include "UserPrompts.h"

#include "device/LinkResult.h"
#include "keyboard/KeyTable.h"
#include "keys/KeyboardWriter.h"
#include "profiles/ProfileStore.h"
#include "text/LanguageTexts.h"
#include "text/SafeFormat.h"

#include <QDir>
#include <QMenu>
#include <QUrl>

#include <cstdio>

namespace ombrel {

namespace {

QString Text(const char* key, int languageIndex) {
    return QString::fromStdString(lookupText(key, languageIndex));
}

// A text of the language file with a file path in it.
QString TextWithPath(const char* key, int languageIndex, const QString& path) {
    return QString::fromStdString(FormatTextString(lookupText(key, languageIndex), path.toStdString()));
}

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

QString MainCommands::storePath() const {
    return QString::fromStdString(StorePath(m_window.context().paths.userDir));
}

bool MainCommands::ApplyChanges() {
    DeviceLink* link = m_window.link();
    m_window.startApplyIndicator();
    bool ok = true;
    if (m_window.applyPending() && link) {
        KeyStores& stores = m_window.stores();
        const std::string path = storePath().toStdString();
        ok = DeviceTask::run(m_window.dispatcher(), &m_window, [&] {
                 std::lock_guard lock(stores.workingStore.lock);
                 const int saved = SaveStore(stores.workingStore, path, false);
                 const int written = ApplyToKeyboard(stores, link->commands(), link->state(), m_window.screen(), 0);
                 return saved == 1 && written == LINK_OK ? 1 : 0;
             }) == 1;
        // A failed save or write keeps Apply enabled, so the user can try again.
        if (ok) m_window.SetApplyPending(false);
    }
    m_window.stopApplyIndicator();
    return ok;
}

void MainCommands::ResetAll() {
    const int language = m_window.languageIndex();
    if (UserPrompts::ask(&m_window, Text("MAIN_PROMPT_DEFAULT", language), QString(),
                         QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    {
        auto& working = m_window.stores().workingStore;
        std::lock_guard lock(working.lock);
        const int layer = m_window.activeLayer();
        const int bank = m_window.bank();
        for (const KeyButton& k : KeyButtonTable())
            working.image.setRecord(RecordNumber(layer, KeyIndexOf(k.code)), KeyRecord{});
        for (int i = 0; i < kGKeyCount; ++i)
            working.image.setRecord(RecordNumber(layer, GKeyIndex(i, bank)), KeyRecord{});
    }
    m_window.RefreshKeyMarks();
    m_window.SetApplyPending(true);
    // The report rate shows its first choice (the lighting reset, once the panel exists, resets the keyboard's).
    for (int i = 0; i < 4; ++i)
        if (CPngButton* rate = m_window.lightingPanel().reportRateButton(i)) rate->SetChecked(i == 0);
    ApplyChanges();
}

void MainCommands::ImportProfiles() {
    const QString path = UserPrompts::openFileName(&m_window, QString(), QString::fromLatin1(kProfileFileFilter));
    if (path.isEmpty()) return;
    const int language = m_window.languageIndex();
    std::vector<ContentProblem> problems;
    if (ValidateFile(path.toStdString(), m_window.screen(), nullptr, &problems) <= 0) {
        UserPrompts::information(&m_window, Text("MAIN_PROMPT_INPORT", language));
        return;
    }
    // Restoring replaces all three profiles: the user says so first, knowing what is wrong with a damaged file.
    const QString question = problems.empty() ? TextWithPath("MAIN_PROMPT_RESTORE_ASK", language, path)
                                              : TextWithPath("MAIN_PROMPT_RESTORE_DAMAGED", language, path) +
                                                    QStringLiteral("\n\n") + ProblemLines(problems);
    if (UserPrompts::ask(&m_window, question, QString(), QMessageBox::Yes | QMessageBox::No, QMessageBox::No) !=
        QMessageBox::Yes)
        return;
    DeviceLink* link = m_window.link();
    KeyStores& stores = m_window.stores();
    const std::string store = storePath().toStdString();
    m_window.startApplyIndicator();
    const int result = DeviceTask::run(m_window.dispatcher(), &m_window, [&] {
        std::lock_guard lock(stores.workingStore.lock);
        // Loading replaces the store whole, or leaves it untouched when the file cannot be used after all.
        if (LoadStore(stores.workingStore, path.toStdString()) != 1) return -1;
        SaveStore(stores.workingStore, store, false);
        if (!link) return 0;
        return ApplyToKeyboard(stores, link->commands(), link->state(), m_window.screen(), 1) == LINK_OK ? 1 : 0;
    });
    m_window.stopApplyIndicator();
    if (result < 0) {
        UserPrompts::information(&m_window, Text("MAIN_PROMPT_INPORT", language));
        return;
    }
    m_window.RefreshKeyMarks();
    // What the keyboard did not take stays pending, so Apply can write it later.
    m_window.SetApplyPending(result != 1);
    if (result == 1) UserPrompts::information(&m_window, TextWithPath("MAIN_PROMPT_RESTORE_DONE", language, path));
}

void MainCommands::ExportProfiles() {
    const QString path = UserPrompts::saveFileName(&m_window, QString(), QString::fromLatin1(kProfileFileFilter),
                                                   QString::fromLatin1(kProfileFileSuffix), QStringLiteral("*.obp"));
    if (path.isEmpty()) return;
    const int language = m_window.languageIndex();
    std::string why;
    if (ExportStore(m_window.stores().workingStore, path.toStdString(), true, &why) != 1) {
        UserPrompts::information(&m_window, Text("MAIN_PROMPT_EXPORT", language) + QStringLiteral("\n\n") +
                                                QString::fromStdString(why));
        return;
    }
    UserPrompts::information(&m_window, TextWithPath("MAIN_PROMPT_EXPORT_DONE", language, path));
}

bool MainCommands::ConfirmUnappliedChanges() {
    if (!m_window.applyPending()) return true;
    const auto answer =
        UserPrompts::ask(&m_window, Text("MAIN_PROMPT_UNAPPLIED", m_window.languageIndex()), QString(),
                         QMessageBox::Apply | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Cancel);
    if (answer == QMessageBox::Discard) return true;
    // A failed Apply keeps the window open with Apply lit, so nothing is lost.
    return answer == QMessageBox::Apply && ApplyChanges();
}

void MainCommands::OpenHelp() {
    const QString page =
        QDir(QString::fromStdString(m_window.context().paths.helpDir)).filePath(QStringLiteral("index.html"));
    UserPrompts::openUrl(QUrl::fromLocalFile(page));
}

void MainCommands::OpenVendorLink(const QString& target) {
    if (!target.isEmpty()) UserPrompts::openUrl(QUrl::fromUserInput(target));
}

void MainCommands::ShowBackupMenu(const QPoint& globalPos) {
    QMenu menu(&m_window);
    const int language = m_window.languageIndex();
    for (const auto& [id, key] : {std::pair{kCmdRestore, "MENU_1"}, std::pair{kCmdBackup, "MENU_2"}}) {
        QAction* action = menu.addAction(Text(key, language));
        action->setData(id);
    }
    if (QAction* chosen = UserPrompts::popupMenu(&menu, globalPos)) m_window.OnCommand(chosen->data().toInt());
}

void MainCommands::OpenFirmwareDialog() {
    // The firmware dialog is not part of this version; the command is accepted and does nothing.
    std::fprintf(stderr, "ombrel: the firmware update dialog is not available in this version\n");
}

} // namespace ombrel
