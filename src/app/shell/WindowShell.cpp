#include "WindowShell.h"

#include "AboutDialog.h"
#include "MainMessages.h"
#include "TrayIcon.h"
#include "WindowContext.h"

#include <QCoreApplication>
#include <QDir>
#include <QMenu>

namespace ombrel {

WindowShell::WindowShell(WindowContext& context, bool trayAvailable, QString vendorLink, QObject* parent)
    : QObject(parent), m_context(context), m_trayAvailable(trayAvailable), m_vendorLink(std::move(vendorLink)) {
    setObjectName(QStringLiteral("windowShell"));
    connect(&context, &WindowContext::languageChanged, this, &WindowShell::applyTexts);
    m_tray = new TrayIcon(m_context.skinFolder(), this);
    connect(m_tray, &TrayIcon::openRequested, this, &WindowShell::openRequested);
    connect(m_tray, &TrayIcon::aboutRequested, this, &WindowShell::openAbout);
    connect(m_tray, &TrayIcon::exitRequested, this, &WindowShell::exitRequested);
    m_tray->setMenuCallback([this](QMenu* menu) {
        const std::pair<int, const char*> rows[] = {
            {kCmdTrayOpen, "MENU_11"}, {kCmdTrayAbout, "MENU_22"}, {kCmdTrayExit, "MENU_33"}};
        for (QAction* action : menu->actions())
            for (const auto& [id, key] : rows)
                if (action->data().toInt() == id) action->setText(m_context.text(key));
    });
}

AboutDialog* WindowShell::aboutDialog() const {
    return m_about.data();
}

void WindowShell::createTray() {
    m_tray->create(m_context.text("KEYBOARD_TRAY_DESC"), m_trayAvailable);
}

void WindowShell::removeTray() {
    m_tray->remove();
}

void WindowShell::openAbout() {
    const QString icon = QDir(m_context.skinFolder()).filePath(QStringLiteral("Ombrel.png"));
    const bool opened = !m_about;
    m_about = AboutDialog::open(icon, m_vendorLink, m_context.languageIndex());
    if (opened && m_about) connect(m_about, &AboutDialog::helpRequested, this, &WindowShell::helpRequested);
}

void WindowShell::closeAbout() {
    if (AboutDialog* about = m_about.data()) about->reject();
}

void WindowShell::applyTexts() {
    m_tray->setTip(m_context.text("KEYBOARD_TRAY_DESC"));
    if (m_about) {
        m_about->applyTexts(m_context.languageIndex());
    }
}

} // namespace ombrel
