#include "TrayIcon.h"

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

TrayIcon::TrayIcon(QString skinFolder, QObject* parent) : QObject(parent), m_skinFolder(std::move(skinFolder)) {
    m_menu = new QMenu();
    const std::pair<int, void (TrayIcon::*)()> rows[] = {{kCmdTrayOpen, &TrayIcon::openRequested},
                                                         {kCmdTrayAbout, &TrayIcon::aboutRequested},
                                                         {kCmdTrayExit, &TrayIcon::exitRequested}};
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

void TrayIcon::setTip(const QString& tip) {
    m_tip = tip.left(kMaxTipLength);
    if (m_icon) m_icon->setToolTip(shownTip());
}

void TrayIcon::setDetail(const QString& detail) {
    m_detail = detail;
    if (m_icon) m_icon->setToolTip(shownTip());
}

QString TrayIcon::shownTip() const {
    return (m_detail.isEmpty() ? m_tip : m_tip + QLatin1Char('\n') + m_detail).left(kMaxTipLength);
}

TrayIcon::~TrayIcon() {
    remove();
    delete m_menu;
}

bool TrayIcon::create(const QString& tip, bool visible) {
    m_tip = tip.left(kMaxTipLength);
    m_current = kIconAbsent;
    if (!visible) return false;
    m_icon = new QSystemTrayIcon(IconPicture(m_skinFolder, m_current), this);
    m_icon->setToolTip(shownTip());
    m_icon->setContextMenu(m_menu);
    connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick) onDoubleClick();
    });
    m_icon->show();
    m_enabled = true;
    return true;
}

void TrayIcon::onDoubleClick() {
    emit openRequested();
}

void TrayIcon::remove() {
    if (!m_enabled) return;
    m_icon->hide();
    m_icon->setContextMenu(nullptr);
    delete m_icon;
    m_icon = nullptr;
    m_enabled = false;
}

void TrayIcon::setIconId(int iconId) {
    if (iconId == m_current) return;
    m_current = iconId;
    if (m_enabled) m_icon->setIcon(IconPicture(m_skinFolder, iconId));
}

void TrayIcon::setState(TrayState state) {
    switch (state) {
    case TrayState::Activity:
        setIconId(kIconActivity);
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
    setIconId(m_remembered);
}

} // namespace ombrel
