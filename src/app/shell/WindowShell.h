#pragma once
// What the main window shows outside itself: the tray icon with its menu, and the About window. The tray's Open
// and Exit and the About window's F1 come back as signals.

#include <QObject>
#include <QPointer>
#include <QString>

namespace ombrel {

class AboutDialog;
class TrayIcon;
class WindowContext;

class WindowShell : public QObject {
    Q_OBJECT
public:
    // `trayAvailable`: whether the desktop shows tray icons. `vendorLink` is the link the About window shows.
    WindowShell(WindowContext& context, bool trayAvailable, QString vendorLink, QObject* parent);

    bool trayAvailable() const { return m_trayAvailable; }
    TrayIcon& tray() { return *m_tray; }
    AboutDialog* aboutDialog() const;

    // Adds the tray icon, the keyboard shown as absent until the presence worker says otherwise.
    void createTray();
    void removeTray();
    void openAbout();
    void closeAbout();
    void applyTexts();

signals:
    void openRequested();
    void exitRequested();
    void helpRequested();

private:
    WindowContext& m_context;
    bool m_trayAvailable;
    QString m_vendorLink;
    TrayIcon* m_tray = nullptr;
    QPointer<AboutDialog> m_about;
};

} // namespace ombrel
