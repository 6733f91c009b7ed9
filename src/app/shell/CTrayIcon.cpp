#include "CTrayIcon.h"

#include "MainMessages.h"

#include <QDir>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>

namespace ombrel {

namespace {

constexpr int kMaxTipLength = 127;
// The numbers of the pictures Tray<number>.png.
constexpr int kIconAbsent = 128;
constexpr int kIconPresent = 141;
constexpr int kIconActivity = 142;

QIcon IconPicture(const QString& folder, int iconId) {
    return QIcon(QDir(folder).filePath(QStringLiteral("Tray%1.png").arg(iconId)));
}

} // namespace

CTrayIcon::CTrayIcon(QString skinFolder, QObject* parent) : QObject(parent), m_skinFolder(std::move(skinFolder)) {
    m_menu = new QMenu();
    const std::pair<int, void (CTrayIcon::*)()> rows[] = {{kCmdTrayOpen, &CTrayIcon::openRequested},
                                                          {kCmdTrayAbout, &CTrayIcon::aboutRequested},
                                                          {kCmdTrayExit, &CTrayIcon::exitRequested}};
    for (const auto& [id, signal] : rows) {
        QAction* action = m_menu->addAction(QString::number(id));
        action->setData(id);
        connect(action, &QAction::triggered, this, signal);
    }
    QFont bold = m_menu->actions().constFirst()->font();
    bold.setBold(true);
    m_menu->actions().constFirst()->setFont(bold);
    m_menu->setDefaultAction(m_menu->actions().constFirst());
    connect(m_menu, &QMenu::aboutToShow, this, [this] {
        if (m_menuCallback) m_menuCallback(m_menu);
    });
}

void CTrayIcon::SetTip(const QString& tip) {
    m_tip = tip.left(kMaxTipLength);
    if (m_icon) m_icon->setToolTip(m_tip);
}

CTrayIcon::~CTrayIcon() {
    Remove();
    delete m_menu;
}

bool CTrayIcon::Create(const QString& tip, bool visible) {
    m_tip = tip.left(kMaxTipLength);
    m_current = kIconAbsent;
    if (!visible) return false;
    m_icon = new QSystemTrayIcon(IconPicture(m_skinFolder, m_current), this);
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
    emit openRequested();
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

void CTrayIcon::SetState(TrayState state) {
    switch (state) {
    case TrayState::Activity:
        SetIcon(kIconActivity);
        return;
    case TrayState::KeyboardAbsent:
        m_remembered = kIconAbsent;
        break;
    case TrayState::KeyboardPresent:
        m_remembered = kIconPresent;
        break;
    case TrayState::ActivityEnded:
        break;
    }
    SetIcon(m_remembered);
}

} // namespace ombrel
