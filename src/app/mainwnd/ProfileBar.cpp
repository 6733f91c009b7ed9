#include "ProfileBar.h"

#include "CPngButton.h"
#include "DeviceTask.h"
#include "ProfileName.h"
#include "SkinStyle.h"
#include "UserPrompts.h"
#include "WindowContext.h"

#include "device/ActiveProfile.h"
#include "device/LinkResult.h"
#include "keys/KeyboardBackup.h"
#include "platform/PerUserFolder.h"
#include "profiles/ProfileStore.h"
#include "text/LanguageTexts.h"

namespace ombrel {

ProfileBar::ProfileBar(WindowContext& context, QObject* parent) : QObject(parent), m_context(context) {
    setObjectName(QStringLiteral("profileBar"));
    auto make = [&](const QString& key) {
        CPngButton* b = m_context.addButton(key);
        StyleTextButton(b);
        return b;
    };
    for (int i = 0; i < 3; ++i) {
        m_profiles[i] = make(QStringLiteral("FUNC_PROFILE%1").arg(i + 1));
        connect(m_profiles[i], &CPngButton::clicked, this, [this, i] { selectProfile(i); });
    }
    m_name = make(QStringLiteral("FUNC_PROFILES"));
    // The button names the active profile and opens nothing, so it is off.
    m_name->setEnabled(false);
}

CPngButton* ProfileBar::profileButton(int index) const {
    return index >= 0 && index < 3 ? m_profiles[index] : nullptr;
}

void ProfileBar::applyTexts() {
    for (int i = 0; i < 3; ++i)
        m_profiles[i]->setText(m_context.text("PROFILE_" + std::to_string(i + 1)));
}

bool ProfileBar::reloadFromKeyboard(bool keepApply) {
    DeviceLink* link = m_context.link();
    if (!link) return false;
    const AppPaths& paths = m_context.paths();
    EnsurePerUserFolder(paths);
    const std::string path = StorePath(paths.userDir);
    const int language = m_context.languageIndex();
    const TextLookup text = [language](std::string_view key) { return lookupText(key, language); };
    auto& working = m_context.stores().workingStore;

    const int read = DeviceTask::run(m_context.dispatcher(), m_context.window(), [&] {
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
    emit storeChanged();
    if (!keepApply) m_context.pending().set(false);
    return read == 1;
}

bool ProfileBar::switchProfile(int index) {
    DeviceLink* link = m_context.link();
    if (!link) return false;
    if (index >= kProfileCount) index = 0;
    if (m_context.pending().pending() && !m_questionPending) {
        m_questionPending = true;
        const auto answer = UserPrompts::ask(m_context.window(), m_context.text("PROFILE_SELECT_PROMPT"), QString(),
                                             QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer == QMessageBox::Yes) {
            emit applyRequested();
        } else {
            // The edits are discarded: the store goes back to what the store file holds.
            m_context.pending().set(false);
            if (GetActiveProfile(link->commands(), link->state()) >= 0) {
                auto& working = m_context.stores().workingStore;
                std::lock_guard lock(working.lock);
                LoadStore(working, StorePath(m_context.paths().userDir));
            }
        }
        m_questionPending = false;
    }
    // A profile the keyboard did not take is not shown as active.
    const bool switched = SetActiveProfile(link->commands(), link->state(), index) == LINK_OK;
    emit storeChanged();
    showProfileName();
    return switched;
}

void ProfileBar::selectProfile(int index) {
    DeviceLink* link = m_context.link();
    if (!link) return;
    if (GetActiveProfile(link->commands(), link->state()) == index) return;
    if (!switchProfile(index)) return;
    for (int i = 0; i < 3; ++i)
        m_profiles[i]->SetChecked(i == index);
    emit profileSelected(index);
}

void ProfileBar::showActiveProfile() {
    DeviceLink* link = m_context.link();
    if (!link) return;
    const int active = GetActiveProfile(link->commands(), link->state());
    // An unknown profile (the keyboard did not answer) changes nothing.
    if (active >= 0 && active < 3)
        for (int i = 0; i < 3; ++i)
            m_profiles[i]->SetChecked(i == active);
    showProfileName();
}

void ProfileBar::showProfileName() {
    DeviceLink* link = m_context.link();
    if (!link) return;
    const QString name =
        ProfileName(m_context.paths(), GetActiveProfile(link->commands(), link->state()), m_context.languageIndex());
    m_name->setText(name);
    m_name->SetTooltip(m_context.text("PROFILE_TIP") + name);
}

} // namespace ombrel
