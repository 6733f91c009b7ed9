#include "ProfileBar.h"

#include "DeviceTask.h"
#include "ProfileManagerDialog.h"
#include "PromptQuestions.h"
#include "SkinButton.h"
#include "SkinPlacement.h"
#include "SkinStyle.h"
#include "WindowContext.h"

#include "device/ActiveProfile.h"
#include "text/LanguageTexts.h"

#include <QApplication>

namespace ombrel {

namespace {

const QString kSection = QStringLiteral("BUTTONINFO");

} // namespace

ProfileBar::ProfileBar(WindowContext& context, QObject* parent) : QObject(parent), m_context(context) {
    setObjectName(QStringLiteral("profileBar"));
    connect(&context, &WindowContext::languageChanged, this, &ProfileBar::applyTexts);
    const QPixmap* n = m_context.statePicture(QStringLiteral("main_normal.jpg"));
    const QPixmap* o = m_context.statePicture(QStringLiteral("main_over.jpg"));
    const QPixmap* d = m_context.statePicture(QStringLiteral("main_down.jpg"));
    const QPixmap* x = m_context.statePicture(QStringLiteral("main_disable.jpg"));
    auto make = [&](const QString& key) {
        auto* b = new SkinButton(m_context.window());
        b->setObjectName(key);
        placeSkinButton(b, m_context.layoutFile(), kSection, key, n, o, d, n, x);
        StyleTextButton(b);
        return b;
    };
    for (int i = 0; i < 3; ++i) {
        m_profiles[i] = make(QStringLiteral("FUNC_PROFILE%1").arg(i + 1));
        m_profiles[i]->setAccessibleKind(AccessibleKind::Choice); // the checked one is the active profile
        connect(m_profiles[i], &SkinButton::clicked, this, [this, i] { selectProfile(i); });
    }
    m_name = make(QStringLiteral("FUNC_PROFILES"));
    connect(m_name, &SkinButton::clicked, this, &ProfileBar::openProfileManager);
}

ProfileBar::~ProfileBar() = default;

ProfileSwitcher* ProfileBar::switcher() {
    DeviceLink* link = m_context.link();
    if (!link) return nullptr;
    if (!m_switcher) {
        // The language can change while the program runs: every text is looked up in the current one.
        const TextLookup text = [this](std::string_view key) { return lookupText(key, m_context.languageIndex()); };
        m_switcher = std::make_unique<ProfileSwitcher>(link->commands(), link->state(), m_context.stores().workingStore,
                                                       m_context.paths(), text, *this);
    }
    return m_switcher.get();
}

SkinButton* ProfileBar::profileButton(int index) const {
    return index >= 0 && index < 3 ? m_profiles[index] : nullptr;
}

void ProfileBar::applyTexts() {
    for (int i = 0; i < 3; ++i) {
        m_profiles[i]->setText(m_context.text("PROFILE_" + std::to_string(i + 1)));
        m_profiles[i]->setAccessibleDescription(m_context.text("ACC_PROFILE_DESC"));
    }
    m_name->setAccessibleDescription(m_context.text("ACC_PROFILES_DESC"));
    showProfileName();
}

bool ProfileBar::reloadFromKeyboard(bool keepApply) {
    ProfileSwitcher* s = switcher();
    return s && s->ReloadFromKeyboard(keepApply);
}

bool ProfileBar::switchProfile(int index) {
    ProfileSwitcher* s = switcher();
    return s && s->SwitchProfile(index);
}

bool ProfileBar::switchProfileForLighting(int index) {
    m_editsQuestion = "LIGHT_SWITCH_UNAPPLIED";
    const bool switched = switchProfile(index);
    m_editsQuestion = "PROFILE_SWITCH_UNAPPLIED";
    return switched;
}

void ProfileBar::selectProfile(int index) {
    DeviceLink* link = m_context.link();
    if (!link) return;
    if (GetActiveProfile(link->commands(), link->state()) == index) return;
    if (switchProfile(index)) emit profileSelected(index);
}

void ProfileBar::showActiveProfile() {
    DeviceLink* link = m_context.link();
    if (!link) return;
    const int active = GetActiveProfile(link->commands(), link->state());
    // An unknown profile (the keyboard did not answer) changes nothing.
    if (active >= 0 && active < 3)
        for (int i = 0; i < 3; ++i)
            m_profiles[i]->setCheckedLook(i == active);
    showProfileName();
}

void ProfileBar::showProfileName() {
    if (ProfileSwitcher* s = switcher()) s->RefreshProfileName();
}

void ProfileBar::openProfileManager() {
    ProfileSwitcher* s = switcher();
    DeviceLink* link = m_context.link();
    if (!s || !link || m_manager) return;
    ProfileManagerDialog dialog(QString::fromStdString(m_context.paths().profileIni), m_context.paths(),
                                m_context.settings(), *s, GetActiveProfile(link->commands(), link->state()),
                                m_context.languageIndex(), m_context.window());
    connect(&dialog, &ProfileManagerDialog::helpRequested, this, &ProfileBar::helpRequested);
    m_manager = &dialog;
    dialog.exec();
    m_manager = nullptr;
}

void ProfileBar::closeProfileManager() {
    if (ProfileManagerDialog* manager = m_manager.data()) manager->reject();
}

// ---- ProfileHost ----

bool ProfileBar::keyDialogOpen() const {
    return m_context.keyDialogOpen();
}

bool ProfileBar::editsPending() const {
    return m_context.pending().pending();
}

void ProfileBar::setEditsPending(bool pending) {
    m_context.pending().set(pending);
}

void ProfileBar::applyEdits() {
    emit applyRequested();
}

bool ProfileBar::askYesNo(const std::string& text) {
    // Over the profile manager when the question comes from there.
    QWidget* parent = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : m_context.window();
    return PromptQuestions(parent).askYesNo(text);
}

ProfileHost::EditsAnswer ProfileBar::askAboutEdits(const std::string&) {
    // The same three answers as when the program ends, with Cancel first in line so Enter loses nothing.
    QWidget* parent = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : m_context.window();
    const auto answer =
        UserPrompts::ask(parent, m_context.text(m_editsQuestion), QString(),
                         QMessageBox::Apply | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Cancel);
    switch (answer) {
    case QMessageBox::Apply:
    case QMessageBox::Yes:
        return EditsAnswer::Apply;
    case QMessageBox::Discard:
    case QMessageBox::No:
        return EditsAnswer::Discard;
    default:
        return EditsAnswer::Cancel;
    }
}

void ProfileBar::tell(const std::string& text) {
    QWidget* parent = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : m_context.window();
    PromptQuestions(parent).tell(text);
}

void ProfileBar::refreshKeyMarks() {
    emit storeChanged();
}

void ProfileBar::showProfileName(const std::string& name, const std::string& tooltip) {
    m_name->setText(QString::fromStdString(name));
    m_name->setInstantToolTip(QString::fromStdString(tooltip));
    m_name->setAccessibleName(name.empty() ? m_context.text("PROFILE_DLG_CAPTION") : m_name->text());
    emit profileNameShown(name.empty() ? QString() : QString::fromStdString(tooltip));
}

void ProfileBar::activeProfileChanged(int index) {
    for (int i = 0; i < 3; ++i)
        m_profiles[i]->setCheckedLook(i == index);
    emit profileTaken(index);
}

int ProfileBar::runDeviceWork(const std::function<int()>& work) {
    return DeviceTask::run(m_context.dispatcher(), m_context.window(), work);
}

} // namespace ombrel
