#include "ProfileSync.h"

#include "COmbrelDlg.h"
#include "CPngButton.h"
#include "DeviceTask.h"
#include "MainMessages.h"
#include "UserPrompts.h"

#include "device/ActiveProfile.h"
#include "keys/KeyboardBackup.h"
#include "platform/PerUserFolder.h"
#include "profiles/ProfileStore.h"
#include "text/LanguageTexts.h"

#include <QFileInfo>

namespace ombrel {

namespace {

QString Text(const char* key, int languageIndex) {
    return QString::fromStdString(lookupText(key, languageIndex));
}

} // namespace

bool ProfileSync::ReloadFromKeyboard(bool keepApply) {
    DeviceLink* link = m_window.link();
    if (!link) return false;
    const AppPaths& paths = m_window.context().paths;
    EnsurePerUserFolder(paths);
    const std::string path = StorePath(paths.userDir);
    const int language = m_window.languageIndex();
    const TextLookup text = [language](std::string_view key) { return lookupText(key, language); };
    auto& working = m_window.stores().workingStore;

    const int read = DeviceTask::run(m_window.dispatcher(), &m_window, [&] {
        const int p = GetActiveProfile(link->commands(), link->state());
        const bool fromKeyboard = p >= 0 && ReadKeyboardToFile(link->commands(), link->state(), path, text) == 1;
        std::lock_guard lock(working.lock);
        // A file that cannot be loaded leaves the store as it was, so the default image below replaces it whole.
        if (fromKeyboard && LoadStore(working, path) == 1) return 1;
        ClearStrings(working);
        ClearMacros(working);
        ClearImage(working);
        CreateDefault(working, std::string(), 0, DefaultTarget::Store);
        return 0;
    });
    m_window.RefreshKeyMarks();
    if (!keepApply) m_window.SetApplyPending(false);
    return read == 1;
}

bool ProfileSync::SwitchProfile(int index) {
    DeviceLink* link = m_window.link();
    if (!link) return false;
    if (index >= kProfileCount) index = 0;
    if (m_window.applyPending() && !m_questionPending) {
        m_questionPending = true;
        const auto answer = UserPrompts::ask(&m_window, Text("PROFILE_SELECT_PROMPT", m_window.languageIndex()),
                                             QString(), QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer == QMessageBox::Yes) {
            m_window.OnCommand(kIdApply);
        } else {
            // The edits are discarded: the store goes back to what the store file holds.
            m_window.SetApplyPending(false);
            if (GetActiveProfile(link->commands(), link->state()) >= 0) {
                auto& working = m_window.stores().workingStore;
                std::lock_guard lock(working.lock);
                LoadStore(working, StorePath(m_window.context().paths.userDir));
            }
        }
        m_questionPending = false;
    }
    // A profile the keyboard did not take is not shown as active.
    const bool switched = SetActiveProfile(link->commands(), link->state(), index) == 1;
    m_window.RefreshKeyMarks();
    RefreshProfileName();
    return switched;
}

void ProfileSync::RefreshProfileName() {
    DeviceLink* link = m_window.link();
    CPngButton* button = m_window.functionButton(kIdProfileList);
    if (!link || !button) return;
    const int language = m_window.languageIndex();
    const int p = GetActiveProfile(link->commands(), link->state());
    const QString name =
        p >= 0 ? QFileInfo(QString::fromStdString(StorePath(m_window.context().paths.userDir, p))).completeBaseName()
               : Text("DEFAULT_PROFILE_NAME", language);
    button->setText(name);
    button->SetTooltip(Text("PROFILE_TIP", language) + name);
}

void ProfileSync::SelectProfile(int k) {
    DeviceLink* link = m_window.link();
    if (!link) return;
    if (GetActiveProfile(link->commands(), link->state()) == k) return;
    if (!SwitchProfile(k)) return;
    m_window.map().MarkProfileButtons(k);
    m_window.SetMultiSelect(false);
}

} // namespace ombrel
