#include "ApplicationFollower.h"

#include "DeviceTask.h"
#include "MainWindow.h"
#include "ProfileBar.h"
#include "X11ActiveWindow.h"

#include "apprules/ApplicationRulesFile.h"
#include "device/ActiveProfile.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace ombrel {

namespace {

constexpr int kReloadDelayMs = 50;
constexpr int kRetryMs = 250;

} // namespace

ApplicationFollower::ApplicationFollower(MainWindow& window, QString rulesPath, bool followX11, QObject* parent)
    : QObject(parent), m_window(window), m_rulesPath(std::move(rulesPath)), m_followX11(followX11) {
    m_reload.setSingleShot(true);
    m_reload.setInterval(kReloadDelayMs);
    connect(&m_reload, &QTimer::timeout, this, &ApplicationFollower::reloadRules);
    m_retry.setSingleShot(true);
    m_retry.setInterval(kRetryMs);
    connect(&m_retry, &QTimer::timeout, this, &ApplicationFollower::follow);
    // The safe writer replaces the file, which ends a watch on the file itself: the folder is watched.
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] { m_reload.start(); });
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, [this] { m_reload.start(); });
    // Settled: the edits were applied or discarded.
    connect(&window.context().pending(), &PendingChanges::changed, this, [this](bool pending) {
        if (!pending) QMetaObject::invokeMethod(this, &ApplicationFollower::follow, Qt::QueuedConnection);
    });
    // The keyboard is back, or its profile was read again.
    connect(&window, &MainWindow::keyboardChanged, this, &ApplicationFollower::follow, Qt::QueuedConnection);
    connect(&window.profileBar(), &ProfileBar::profileTaken, this, [this] {
        if (m_switching) measureSwitch(false);
    });
    watchRulesFile();
    reloadRules();
}

ApplicationFollower::~ApplicationFollower() = default;

void ApplicationFollower::watchRulesFile() {
    const QString folder = QFileInfo(m_rulesPath).absolutePath();
    // The program's own config folder: made now, so rules written later (by ombrelctl, say) are seen.
    QDir().mkpath(folder);
    if (QFileInfo(folder).isDir()) m_watcher.addPath(folder);
}

void ApplicationFollower::reloadRules() {
    const apprules::RulesFile file = apprules::LoadApplicationRules(m_rulesPath.toStdString());
    switch (file.state) {
    case apprules::RulesFile::State::Missing:
        m_follower.setRules({});
        break;
    case apprules::RulesFile::State::Read:
        m_follower.setRules(file.rules);
        break;
    case apprules::RulesFile::State::Damaged:
        std::fprintf(stderr, "ombrel: %s: %s; the rules read before stay in use\n", qPrintable(m_rulesPath),
                     apprules::DescribeProblem(file.problems.front()).c_str());
        break;
    case apprules::RulesFile::State::Unreadable:
        std::fprintf(stderr, "ombrel: %s; the rules read before stay in use\n", file.error.c_str());
        break;
    }
    // A file created after the start is watched too (for an editor that writes it in place).
    if (QFileInfo::exists(m_rulesPath) && !m_watcher.files().contains(m_rulesPath)) m_watcher.addPath(m_rulesPath);
    updateX11();
}

void ApplicationFollower::updateX11() {
    // Off while there are no rules: nothing is asked of the X server then.
    const bool wanted = m_followX11 && m_follower.rules().active();
    if (wanted && !m_x11) {
        QString why;
        m_x11 = X11ActiveWindow::start([this](const apprules::ApplicationIdentity& front) { activated(front); }, &why);
        if (!m_x11) std::fprintf(stderr, "ombrel: the application in front cannot be followed: %s\n", qPrintable(why));
    } else if (!wanted) {
        m_x11.reset();
    }
}

void ApplicationFollower::activated(const apprules::ApplicationIdentity& front) {
    // The program's own window in front: the keyboard keeps the profile of the application the user came from.
    if (!front.desktopId.empty() && QString::fromStdString(front.desktopId) == QGuiApplication::desktopFileName())
        return;
    ++m_activations;
    m_follower.activated(front);
    follow();
}

bool ApplicationFollower::heldBack() const {
    // What a switch would override or confuse: the key dialog, unapplied edits, a keyboard write under way, and a
    // question or dialog of the program waiting for an answer.
    return m_window.context().keyDialogOpen() || m_window.context().pending().pending() || DeviceTask::running() ||
           m_window.profileBar().profileManager() != nullptr || QApplication::activeModalWidget() != nullptr;
}

void ApplicationFollower::follow() {
    if (!m_follower.due() || m_window.hasEnded()) return;
    DeviceLink* link = m_window.link();
    if (!link) return;
    const bool hold = heldBack();
    // While the window holds the switch back only the cached profile is looked at: a write under way owns the
    // keyboard, and the window's thread must not wait for it.
    const int active = hold ? link->state().cachedProfile.load() : GetActiveProfile(link->commands(), link->state());
    const apprules::FollowStep step = m_follower.next(active, hold);
    switch (step.action) {
    case apprules::FollowStep::Action::Switch:
        ++m_switches;
        m_timing = {};
        if (m_x11)
            m_timing.decidedUs = std::chrono::duration_cast<std::chrono::microseconds>(
                                     std::chrono::steady_clock::now() - m_x11->lastChangeRead())
                                     .count();
        m_switching = true;
        m_window.profileBar().selectProfile(step.profile);
        m_switching = false;
        measureSwitch(true);
        break;
    case apprules::FollowStep::Action::HoldBack:
        m_retry.start();
        break;
    case apprules::FollowStep::Action::NoKeyboard: // asked again when the keyboard is back (keyboardChanged)
    case apprules::FollowStep::Action::Nothing:
        break;
    }
}

void ApplicationFollower::measureSwitch(bool shown) {
    if (!m_x11) return;
    const auto now = std::chrono::steady_clock::now();
    const qint64 sinceRead =
        std::chrono::duration_cast<std::chrono::microseconds>(now - m_x11->lastChangeRead()).count();
    if (shown) {
        m_timing.shownUs = sinceRead;
        return;
    }
    m_timing.sinceReadUs = sinceRead;
    // The X server counts milliseconds of the same monotonic clock, in 32 bits that wrap.
    const auto nowMs =
        std::uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count());
    m_timing.sinceServerMs = qint64(std::uint32_t(nowMs - m_x11->lastChangeServerTime()));
}

} // namespace ombrel
