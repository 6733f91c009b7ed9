#include "CTrayIcon.h"

#include "MainMessages.h"

#include "device/PresenceWatcher.h"

#include <QDir>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>

namespace ombrel {

namespace {

constexpr int kMaxTipLength = 127;

QIcon IconPicture(const QString& folder, int iconId) {
    return QIcon(QDir(folder).filePath(QStringLiteral("Tray%1.png").arg(iconId)));
}

} // namespace

CTrayIcon::CTrayIcon(QString skinFolder, QObject* parent) : QObject(parent), m_skinFolder(std::move(skinFolder)) {
    m_menu = new QMenu();
    for (int id : {kCmdTrayOpen, kCmdTrayAbout, kCmdTrayExit}) {
        QAction* action = m_menu->addAction(QString::number(id));
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id] { emit command(id); });
    }
    QFont bold = m_menu->actions().constFirst()->font();
    bold.setBold(true);
    m_menu->actions().constFirst()->setFont(bold);
    m_menu->setDefaultAction(m_menu->actions().constFirst());
    connect(m_menu, &QMenu::aboutToShow, this, [this] {
        if (m_menuCallback) m_menuCallback(m_menu);
    });
}

CTrayIcon::~CTrayIcon() {
    Remove();
    delete m_menu;
}

bool CTrayIcon::Create(const QString& tip, int iconId, bool visible) {
    m_tip = tip.left(kMaxTipLength);
    m_current = iconId;
    if (!visible) return false;
    m_icon = new QSystemTrayIcon(IconPicture(m_skinFolder, iconId), this);
    m_icon->setToolTip(m_tip);
    m_icon->setContextMenu(m_menu);
    connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick) OnDoubleClick();
    });
    m_icon->show();
    m_enabled = true;
    return true;
}

void CTrayIcon::OnDoubleClick() {
    emit command(kCmdTrayOpen);
}

void CTrayIcon::Remove() {
    if (!m_enabled) return;
    m_icon->hide();
    m_icon->setContextMenu(nullptr);
    delete m_icon;
    m_icon = nullptr;
    m_enabled = false;
}

void CTrayIcon::SetIcon(int iconId) {
    if (iconId == m_current) return;
    m_current = iconId;
    if (m_enabled) m_icon->setIcon(IconPicture(m_skinFolder, iconId));
}

void CTrayIcon::SetState(int mode, int iconId) {
    if (mode == 1) {
        SetIcon(kTrayIconActivity);
        return;
    }
    if (iconId != 0) m_remembered = iconId;
    SetIcon(m_remembered);
}

} // namespace ombrel
