#include "CaptionBar.h"

#include "CPngButton.h"
#include "MainMessages.h"
#include "SkinStyle.h"
#include "UserPrompts.h"
#include "WindowContext.h"

#include "platform/SessionAutostart.h"
#include "text/IniFile.h"
#include "text/LanguageChoice.h"
#include "text/LanguageTexts.h"

#include <QActionGroup>
#include <QDir>
#include <QMenu>
#include <QUrl>

namespace ombrel {

namespace {

constexpr char kDefaultLink[] = "https://ombrel.invalid/support";

} // namespace

CaptionBar::CaptionBar(WindowContext& context, QObject* parent) : QObject(parent), m_context(context) {
    setObjectName(QStringLiteral("captionBar"));
    m_vendorLink = QString::fromStdString(ReadIniString(m_context.paths().mainIni, "SCREEN", "Link", kDefaultLink));
    const QUrl url(m_vendorLink);
    // The link shows its target's host.
    make(Button::VendorLink, "SORVIK_LINK", true)->setText(url.host().isEmpty() ? m_vendorLink : url.host());
    make(Button::Help, "CONTROL_HELP", false);
    make(Button::Close, "CONTROL_CLOSE", false);
    make(Button::Minimize, "CONTROL_MINIMIZE", false);
    make(Button::Menu, "CONTROL_MENU", false);
    CPngButton* version = make(Button::Version, "SORVIK_VER", false);
    StyleVersionButton(version);
    version->setText(QStringLiteral("v" OMBREL_VERSION));
    version->setEnabled(false);
    make(Button::WebSite, "CONTROL_Network", false)->SetTooltip(m_vendorLink);
    // The program has no social-media pages to offer, so their buttons stay off.
    make(Button::Social1, "CONTROL_Facebook", false)->setEnabled(false);
    make(Button::Social2, "CONTROL_twitter", false)->setEnabled(false);

    connect(button(Button::Help), &CPngButton::clicked, this, &CaptionBar::openHelp);
    connect(button(Button::VendorLink), &CPngButton::clicked, this, &CaptionBar::openVendorLink);
    connect(button(Button::WebSite), &CPngButton::clicked, this, &CaptionBar::openVendorLink);
    connect(button(Button::Minimize), &CPngButton::clicked, this, &CaptionBar::minimizeRequested);
    connect(button(Button::Close), &CPngButton::clicked, this, &CaptionBar::closeRequested);
    connect(button(Button::Menu), &CPngButton::clicked, this, [this] { showBackupMenu(QCursor::pos()); });
}

CPngButton* CaptionBar::make(Button which, const char* skinKey, bool styled) {
    CPngButton* b = m_context.addButton(QString::fromLatin1(skinKey));
    if (styled) StyleTextButton(b);
    m_buttons[which] = b;
    return b;
}

CPngButton* CaptionBar::button(Button which) const {
    const auto it = m_buttons.find(which);
    return it == m_buttons.end() ? nullptr : it->second;
}

void CaptionBar::applyTexts() {
    const std::pair<Button, const char*> tips[] = {{Button::Minimize, "MAIN_MINIMIZE_PROMPT"},
                                                   {Button::Menu, "MAIN_MENU_PROMPT"},
                                                   {Button::Close, "MAIN_CLOSE_PROMPT"},
                                                   {Button::Help, "MAIN_HELP_PROMPT"}};
    for (const auto& [which, key] : tips)
        button(which)->SetTooltip(m_context.text(key));
}

void CaptionBar::openHelp() {
    const QString page = QDir(QString::fromStdString(m_context.paths().helpDir)).filePath(QStringLiteral("index.html"));
    UserPrompts::openUrl(QUrl::fromLocalFile(page));
}

void CaptionBar::openVendorLink() {
    if (!m_vendorLink.isEmpty()) UserPrompts::openUrl(QUrl::fromUserInput(m_vendorLink));
}

void CaptionBar::showBackupMenu(const QPoint& globalPos) {
    QMenu menu(m_context.window());
    QAction* restore = menu.addAction(m_context.text("MENU_1"));
    QAction* backup = menu.addAction(m_context.text("MENU_2"));
    QAction* firmware = menu.addAction(m_context.text("MENU_4"));
    restore->setData(kCmdRestore);
    backup->setData(kCmdBackup);
    firmware->setData(kCmdFirmware);
    menu.addSeparator();

    // Each language by its own name, so a reader of any of them finds theirs.
    QMenu* languages = menu.addMenu(m_context.text("MENU_LANGUAGE"));
    auto* languageGroup = new QActionGroup(languages);
    for (int i = 0; i < static_cast<int>(kLanguageTable.size()); ++i) {
        const std::string_view name = LanguageOwnName(i);
        QAction* language = languages->addAction(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
        language->setCheckable(true);
        language->setChecked(i == m_context.languageIndex());
        language->setData(kCmdLanguageFirst + i);
        languageGroup->addAction(language);
    }

    QAction* sessionStart = menu.addAction(m_context.text("MENU_AUTOSTART"));
    sessionStart->setCheckable(true);
    sessionStart->setChecked(ReadAutostartEntry(m_context.paths().autostartFile).enabled);
    sessionStart->setData(kCmdSessionStart);

    QAction* chosen = UserPrompts::popupMenu(&menu, globalPos);
    if (!chosen) return;
    const int command = chosen->data().toInt();
    if (chosen == restore)
        emit restoreRequested();
    else if (chosen == backup)
        emit backupRequested();
    else if (chosen == firmware)
        emit firmwareRequested();
    else if (chosen == sessionStart)
        emit sessionStartChosen(!ReadAutostartEntry(m_context.paths().autostartFile).enabled);
    else if (command >= kCmdLanguageFirst && command < kCmdLanguageFirst + static_cast<int>(kLanguageTable.size()))
        emit languageChosen(command - kCmdLanguageFirst);
}

} // namespace ombrel
