#pragma once
// The keyboard follows the application in front. Activations come from the X server (X11ActiveWindow) or from the
// desktop over the bus (ApplicationActivated); the rules come from the user's rules file, read again whenever it
// changes. A switch is the one a click on a profile button makes, so the window, the bus and the tray all show it;
// while the window has the key dialog open, unapplied edits or a write under way, it waits until that is settled.

#include "apprules/ProfileFollower.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <memory>

namespace ombrel {

class MainWindow;
class X11ActiveWindow;

class ApplicationFollower : public QObject {
    Q_OBJECT
public:
    // Follows with the rules of `rulesPath`; with `followX11` the X server's active window too, while there are
    // rules. Reads the rules at once.
    ApplicationFollower(MainWindow& window, QString rulesPath, bool followX11, QObject* parent = nullptr);
    ~ApplicationFollower() override;

    // `front` came to the front (on this thread).
    void activated(const apprules::ApplicationIdentity& front);
    // Reads the rules file again; a damaged file keeps the rules read before, so a half-saved edit switches nothing.
    void reloadRules();

    const apprules::ApplicationRules& rules() const { return m_follower.rules(); }
    bool followsX11() const { return m_x11 != nullptr; }
    int activations() const { return m_activations; }
    int switches() const { return m_switches; }
    // The switch the window holds back, if any.
    bool waiting() const { return m_follower.due(); }

    // How long the last switch on an X11 activation took: from the moment its event was read until the switch was
    // asked for (the follower's own part), until the keyboard had taken the profile report, the same from the X
    // server's time of the change (whole milliseconds), and until the window had shown the new profile (its map and
    // lighting read again); -1 when not measured.
    struct SwitchTiming {
        qint64 decidedUs = -1;
        qint64 sinceReadUs = -1;
        qint64 sinceServerMs = -1;
        qint64 shownUs = -1;
    };
    SwitchTiming lastSwitchTiming() const { return m_timing; }

private:
    // Carries out a due activation, or keeps it for later.
    void follow();
    bool heldBack() const;
    void watchRulesFile();
    void updateX11();
    void measureSwitch(bool shown);

    MainWindow& m_window;
    QString m_rulesPath;
    bool m_followX11;
    apprules::ProfileFollower m_follower;
    QFileSystemWatcher m_watcher;
    QTimer m_reload; // one read for a burst of changes (the safe writer creates, writes and renames)
    QTimer m_retry;  // asks the window again while it holds a switch back
    std::unique_ptr<X11ActiveWindow> m_x11;
    int m_activations = 0;
    int m_switches = 0;
    SwitchTiming m_timing;
    bool m_switching = false; // between the follower's call of the switch and its return
};

} // namespace ombrel
