#include "CaptionBar.h"

#include "ColorStatic.h"
#include "HelpLauncher.h"
#include "MainMessages.h"
#include "SkinButton.h"
#include "SkinPlacement.h"
#include "SkinScale.h"
#include "SkinStyle.h"
#include "UserPrompts.h"
#include "WindowContext.h"

#include "platform/IniFile.h"
#include "platform/SessionAutostart.h"
#include "text/LanguageChoice.h"
#include "text/LanguageTexts.h"

#include <QActionGroup>
#include <QCursor>
#include <QDir>
#include <QMenu>
#include <QUrl>

namespace ombrel {

CaptionBar::CaptionBar(WindowContext& context, QObject* parent)
    : QObject(parent), m_context(context), m_help(new HelpLauncher(context, this)) {
    setObjectName(QStringLiteral("captionBar"));
    connect(&context, &WindowContext::languageChanged, this, &CaptionBar::applyTexts);
    // A skin made for a vendor may name its web page; the program's own skin names none, and the link then opens
    // the About box, which tells the version and the build.
    m_vendorLink = QString::fromStdString(ReadIniString(m_context.paths().mainIni, "SCREEN", "Link", ""));
    make(Button::Menu, "CONTROL_MENU", false);
    make(Button::Help, "CONTROL_HELP", false);
    make(Button::Minimize, "CONTROL_MINIMIZE", false);
    make(Button::Close, "CONTROL_CLOSE", false);
    make(Button::Link, "SORVIK_LINK", true);
    SkinButton* version = make(Button::Version, "SORVIK_VER", false);
    StyleVersionButton(version);
    version->setText(QStringLiteral("v" OMBREL_VERSION));
    version->setEnabled(false);

    m_tagline = new ColorStatic(m_context.window());
    m_tagline->setObjectName(QStringLiteral("CONTROL_TaglineStatic"));
    placeControl(m_tagline, m_context.layoutFile(), QStringLiteral("BUTTONINFO"), m_tagline->objectName());
    m_tagline->setTextColor(palette::kTextDim.ref());
    QFont taglineFont = m_tagline->font();
    taglineFont.setFamily(SkinFontFace());
    taglineFont.setPixelSize(ScaleSkinPixels(13));
    m_tagline->setFont(taglineFont);

    connect(button(Button::Help), &SkinButton::clicked, this, &CaptionBar::openHelp);
    connect(button(Button::Link), &SkinButton::clicked, this, &CaptionBar::openLink);
    connect(button(Button::Minimize), &SkinButton::clicked, this, &CaptionBar::minimizeRequested);
    connect(button(Button::Close), &SkinButton::clicked, this, &CaptionBar::closeRequested);
    connect(button(Button::Menu), &SkinButton::clicked, this, [this] {
        // From the keyboard the menu opens below its button, from the mouse at the pointer.
        SkinButton* menu = button(Button::Menu);
        showBackupMenu(menu->hasFocus() && !menu->underMouse() ? menu->mapToGlobal(QPoint(0, menu->height()))
                                                               : QCursor::pos());
    });
}

SkinButton* CaptionBar::make(Button which, const char* skinKey, bool styled) {
    SkinButton* b = m_context.addButton(QString::fromLatin1(skinKey));
    if (styled) StyleTextButton(b);
    m_buttons[which] = b;
    return b;
}

SkinButton* CaptionBar::button(Button which) const {
    const auto it = m_buttons.find(which);
    return it == m_buttons.end() ? nullptr : it->second;
}

void CaptionBar::applyTexts() {
    struct Texts {
        Button which;
        const char* tooltip;
        const char* name;
        const char* description;
    };
    const Texts texts[] = {{Button::Menu, "MAIN_MENU_PROMPT", "ACC_MENU", "MAIN_MENU_PROMPT"},
                           {Button::Help, "MAIN_HELP_PROMPT", "MAIN_HELP_PROMPT", "ACC_HELP_DESC"},
                           {Button::Minimize, "MAIN_MINIMIZE_PROMPT", "MAIN_MINIMIZE_PROMPT", "ACC_MINIMIZE_DESC"},
                           {Button::Close, "MAIN_CLOSE_PROMPT", "MAIN_CLOSE_PROMPT", "ACC_CLOSE_DESC"}};
    for (const auto& [which, tooltip, name, description] : texts) {
        SkinButton* b = button(which);
        b->setInstantToolTip(m_context.text(tooltip));
        b->setAccessibleName(m_context.text(name));
        b->setAccessibleDescription(m_context.text(description));
    }
    m_tagline->setText(m_context.text("MAIN_TAGLINE"));
    SkinButton* link = button(Button::Link);
    if (m_vendorLink.isEmpty()) {
        link->setText(m_context.text("LANG_ABOUT_TITLE"));
        link->setAccessibleDescription(m_context.text("ACC_ABOUT_DESC"));
    } else {
        // The link shows its target's host.
        const QString host = QUrl(m_vendorLink).host();
        link->setText(host.isEmpty() ? m_vendorLink : host);
        link->setAccessibleDescription(m_vendorLink);
    }
    link->setInstantToolTip(link->accessibleDescription());
    SkinButton* version = button(Button::Version);
    version->setAccessibleName(version->text());
    version->setAccessibleDescription(m_context.text("ACC_VERSION_DESC"));
}

void CaptionBar::openHelp() {
    m_help->open();
}

void CaptionBar::openLink() {
    if (m_vendorLink.isEmpty())
        emit aboutRequested();
    else
        UserPrompts::openUrl(QUrl::fromUserInput(m_vendorLink));
}

void CaptionBar::showBackupMenu(const QPoint& globalPos) {
    QMenu menu(m_context.window());
    QAction* restore = menu.addAction(m_context.text("MENU_1"));
    QAction* backup = menu.addAction(m_context.text("MENU_2"));
    QAction* firmware = menu.addAction(m_context.text("MENU_4"));
    restore->setData(kCmdRestore);
    backup->setData(kCmdBackup);
    firmware->setData(kCmdFirmware);
    QAction* history = menu.addAction(m_context.text("MENU_HISTORY"));
    history->setData(kCmdHistory);
    QAction* applicationRules = menu.addAction(m_context.text("MENU_APP_RULES"));
    applicationRules->setData(kCmdApplicationRules);
    QAction* discard = menu.addAction(m_context.text("MENU_DISCARD"));
    discard->setData(kCmdDiscard);
    discard->setEnabled(m_context.pending().pending());
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
    else if (chosen == history)
        emit historyRequested();
    else if (chosen == applicationRules)
        emit applicationRulesRequested();
    else if (chosen == discard)
        emit discardRequested();
    else if (chosen == sessionStart)
        emit sessionStartChosen(!ReadAutostartEntry(m_context.paths().autostartFile).enabled);
    else if (command >= kCmdLanguageFirst && command < kCmdLanguageFirst + static_cast<int>(kLanguageTable.size()))
        emit languageChosen(command - kCmdLanguageFirst);
}

} // namespace ombrel
