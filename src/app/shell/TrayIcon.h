#pragma once
// The program's icon in the tray. Its picture tells whether the keyboard is attached (128 absent, 141 attached,
// 142 while the keyboard reports an activity); its menu offers Open (the default, in bold), About and Exit. A
// double click opens the window, a single click does nothing. The state is kept even where the desktop has no
// tray, so the program behaves the same with or without one.

#include "device/ScreenPort.h"

#include <QObject>
#include <QString>

#include <functional>

class QMenu;
class QSystemTrayIcon;

namespace ombrel {

class TrayIcon : public QObject {
    Q_OBJECT
public:
    // `skinFolder` holds the pictures Tray128.png, Tray141.png and Tray142.png.
    TrayIcon(QString skinFolder, QObject* parent = nullptr);
    ~TrayIcon() override;

    // Adds the icon with its tooltip (cut to 127 characters), the keyboard shown as absent. With `visible` false
    // (no tray) it is only kept, not shown. Returns whether it is shown.
    bool create(const QString& tip, bool visible);
    void remove();
    // Changes the picture; nothing happens when it is already shown.
    void setIconId(int iconId);
    // A new tooltip, as when the language changes.
    void setTip(const QString& tip);
    // A second line under the tooltip: the keyboard's active profile, which can change without the window open.
    void setDetail(const QString& detail);
    // What the icon shows on hover: the tooltip and its second line, cut to 127 characters.
    QString shownTip() const;
    // The keyboard's presence is shown and remembered; an activity shows its own picture until it ends.
    void setState(TrayState state);
    // Called with the menu just before it is shown, to set its texts.
    void setMenuCallback(std::function<void(QMenu*)> callback) { m_menuCallback = std::move(callback); }

    int currentIcon() const { return m_current; }
    int rememberedIcon() const { return m_remembered; }
    bool enabled() const { return m_enabled; }
    QString tip() const { return m_tip; }
    QMenu* menu() const { return m_menu; }
    QSystemTrayIcon* trayIcon() const { return m_icon; }

    // A double click opens the window, as the menu's Open does.
    void onDoubleClick();

signals:
    void openRequested();
    void aboutRequested();
    void exitRequested();

private:
    QString m_skinFolder;
    QSystemTrayIcon* m_icon = nullptr;
    QMenu* m_menu = nullptr;
    std::function<void(QMenu*)> m_menuCallback;
    int m_current = 128;
    int m_remembered = 128;
    bool m_enabled = false;
    QString m_tip;
    QString m_detail;
};

} // namespace ombrel
