#include "TestControl.h"

#include "ApplicationFollower.h"
#include "X11ActiveWindow.h"

#include "KeyAssignmentDialog.h"
#include "KeyAssignmentPart.h"
#include "LightingPanel.h"
#include "MacroTab.h"
#include "MainWindow.h"
#include "ProfileBar.h"
#include "SkinButton.h"
#include "TrayIcon.h"
#include "WindowContext.h"
#include "WindowShell.h"

#include "DeviceTask.h"
#include "KeyboardFileBackup.h"

#include "VevIrozEmu.h"
#include "lighting/LightingSession.h"
#include "text/WholeNumber.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSaveFile>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ombrel {

TestControl::TestControl(MainWindow& window, const ServiceLibrary& library, const ApplicationFollower* follower,
                         QObject* parent)
    : QObject(parent), m_window(window), m_library(library), m_follower(follower) {}

TestControl::~TestControl() {
    delete m_notifier;
    if (m_fd >= 0) ::close(m_fd);
}

bool TestControl::listen(const QString& fifoPath, QString* error) {
    const QByteArray path = fifoPath.toLocal8Bit();
    if (::mkfifo(path.constData(), 0600) != 0 && errno != EEXIST) {
        if (error)
            *error = QStringLiteral("cannot create %1: %2").arg(fifoPath, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    // Opened for writing too, so the FIFO never reports end-of-file between two writers.
    m_fd = ::open(path.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0) {
        if (error)
            *error = QStringLiteral("cannot open %1: %2").arg(fifoPath, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] { readAvailable(); });
    return true;
}

void TestControl::readAvailable() {
    char buffer[512];
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n <= 0) break;
        m_pending.append(buffer, static_cast<int>(n));
    }
    for (int end = m_pending.indexOf('\n'); end >= 0; end = m_pending.indexOf('\n')) {
        const QString line = QString::fromUtf8(m_pending.left(end)).trimmed();
        m_pending.remove(0, end + 1);
        if (!line.isEmpty() && !execute(line))
            std::fprintf(stderr, "ombrel: test control: cannot do \"%s\"\n", qPrintable(line));
    }
}

bool TestControl::execute(const QString& line) {
    const QString command = line.section(QLatin1Char(' '), 0, 0);
    const QString argument = line.section(QLatin1Char(' '), 1);
    auto call = [this](const char* name) {
        auto fn = reinterpret_cast<int32_t (*)()>(m_library.symbol(name));
        return fn && fn() == 1;
    };
    if (command == QLatin1String("plug")) return call("EmuPlug");
    if (command == QLatin1String("unplug")) return call("EmuUnplug");
    if (command == QLatin1String("bank")) return call("EmuPressBankKey");
    if (command == QLatin1String("consumer")) {
        const auto code = ParseWholeNumber(argument.toStdString());
        auto fn = reinterpret_cast<decltype(&EmuSendConsumer)>(m_library.symbol("EmuSendConsumer"));
        return code && *code <= 0xFFFF && fn && fn(static_cast<uint16_t>(*code)) == 1;
    }
    if (command == QLatin1String("edit")) { // an unapplied edit, as after changing a key without Apply
        m_window.profileBar().setEditsPending(true);
        return true;
    }
    if (command == QLatin1String("running") && !argument.isEmpty()) { // what the rules page offers to pick from
        QString text;
        for (const apprules::RunningApplication& app : ListRunningApplications()) {
            const apprules::ApplicationIdentity& id = app.identity;
            text += QStringLiteral("app %1 %2 %3 %4 %5\n")
                        .arg(QString::fromStdString(id.windowClass), QString::fromStdString(id.windowInstance),
                             QString::fromStdString(id.processName), QString::fromStdString(id.desktopId),
                             QString::fromStdString(app.title));
        }
        QSaveFile file(argument);
        if (!file.open(QIODevice::WriteOnly)) return false;
        file.write(text.toUtf8());
        return file.commit();
    }
    if (command == QLatin1String("restore") && !argument.isEmpty()) { // the window's Restore of a keyboard file
        QTimer::singleShot(0, &m_window, [this, path = argument.toStdString()] {
            DeviceLink* link = m_window.link();
            if (!link) return;
            std::string why;
            DeviceTask::run(m_window.dispatcher(), &m_window,
                            [&] { return RestoreKeyboardFile(*link, m_window.context().paths(), path, &why); });
        });
        return true;
    }
    if (command == QLatin1String("dump") && !argument.isEmpty()) {
        QSaveFile file(argument);
        if (!file.open(QIODevice::WriteOnly)) return false;
        file.write(describe().toUtf8());
        return file.commit();
    }
    return false;
}

QString TestControl::describe() const {
    auto& window = const_cast<MainWindow&>(m_window);
    QString out;
    out += QStringLiteral("visible %1\n").arg(window.isVisible() && !window.isMinimized() ? 1 : 0);
    out += QStringLiteral("ready %1\n").arg(window.windowReady() ? 1 : 0);
    out += QStringLiteral("unplugged %1\n").arg(window.showsKeyboardGone() ? 1 : 0);
    out += QStringLiteral("tray %1\n").arg(window.shell().tray().currentIcon());
    out += QStringLiteral("apply %1\n").arg(window.context().pending().pending() ? 1 : 0);
    out += QStringLiteral("bank %1\n").arg(window.link() ? window.link()->state().bank() : 0);
    out += QStringLiteral("arrivals %1\n").arg(window.link() ? window.link()->state().arrivals.load() : 0u);
    out += QStringLiteral("departures %1\n").arg(window.link() ? window.link()->state().departures.load() : 0u);
    int shownProfile = 0;
    for (int p = 0; p < 3; ++p)
        if (window.profileBar().profileButton(p)->hasCheckedLook()) shownProfile = p + 1;
    out += QStringLiteral("profile %1\n").arg(shownProfile);
    const auto* note = window.findChild<QLabel*>(QStringLiteral("pendingNote"));
    out += QStringLiteral("note %1\n").arg(note && !note->isHidden() ? note->text() : QString());
    const auto* box = qobject_cast<const QMessageBox*>(QApplication::activeModalWidget());
    out += QStringLiteral("question %1\n").arg(box ? box->text().left(60) : QString());
    int toplevels = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) ++toplevels;
    out += QStringLiteral("toplevels %1\n").arg(toplevels);
    // Where the window manager keeps the window, and which control has the keyboard.
    const QRect frame = window.frameGeometry();
    out += QStringLiteral("frame %1 %2 %3 %4\n").arg(frame.x()).arg(frame.y()).arg(frame.width()).arg(frame.height());
    const QWidget* focus = QApplication::focusWidget();
    out += QStringLiteral("focus %1\n").arg(focus ? focus->objectName() : QString());
    const QWidget* waiting = window.findChild<QWidget*>(QStringLiteral("pendingNote"));
    out += QStringLiteral("changes-waiting %1\n").arg(waiting && waiting->isVisible() ? 1 : 0);
    if (auto count = reinterpret_cast<decltype(&EmuReportCount)>(m_library.symbol("EmuReportCount")))
        out += QStringLiteral("reports %1\n").arg(count());
    QString trayTip = window.shell().tray().shownTip();
    trayTip.replace(QLatin1Char('\n'), QLatin1String(" | "));
    out += QStringLiteral("tray-tip %1\n").arg(trayTip);
    if (m_follower)
        out += QStringLiteral("follow %1 %2 %3 %4 %5\n")
                   .arg(m_follower->rules().rules.size())
                   .arg(m_follower->followsX11() ? 1 : 0)
                   .arg(m_follower->activations())
                   .arg(m_follower->switches())
                   .arg(m_follower->waiting() ? 1 : 0);
    if (m_follower)
        out += QStringLiteral("follow-latency %1 %2 %3 %4\n")
                   .arg(m_follower->lastSwitchTiming().decidedUs)
                   .arg(m_follower->lastSwitchTiming().sinceReadUs)
                   .arg(m_follower->lastSwitchTiming().sinceServerMs)
                   .arg(m_follower->lastSwitchTiming().shownUs);
    auto describeButtons = [&out](const char* kind, const QWidget& in) {
        for (const SkinButton* button : in.findChildren<SkinButton*>()) {
            if (button->window() != &in) continue; // a button of a dialog of this window
            const QPoint origin = button->mapToGlobal(QPoint(0, 0));
            QString tip = button->instantToolTip();
            tip.replace(QLatin1Char('\n'), QLatin1Char(' '));
            out += QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9\n")
                       .arg(QLatin1String(kind), button->objectName())
                       .arg(button->hasCheckedLook() ? 1 : 0)
                       .arg(button->isEnabled() ? 1 : 0)
                       .arg(origin.x())
                       .arg(origin.y())
                       .arg(button->width())
                       .arg(button->height())
                       .arg(tip);
        }
    };
    describeButtons("button", window);
    // The key assignment dialog: whether it is open, what its key box and step list hold, and its buttons.
    const KeyAssignmentDialog* dialog = window.keyAssignment().dialog();
    const bool open = dialog && dialog->isVisible();
    out += QStringLiteral("composite %1\n").arg(open ? 1 : 0);
    if (open) {
        out += QStringLiteral("keybox %1\n").arg(dialog->keyBox()->text());
        out += QStringLiteral("steps %1\n").arg(dialog->macroTab().model().stepCount());
        out += QStringLiteral("recording %1\n").arg(dialog->macroTab().recording() ? 1 : 0);
        out += QStringLiteral("capturing %1\n").arg(dialog->capturing() ? 1 : 0);
        describeButtons("dbutton", *dialog);
    }
    // The lighting panel: on or off, the effect it shows and where its controls are.
    const LightingPanel& lighting = window.lightingPanel();
    out += QStringLiteral("lighting %1\n").arg(lighting.panelOn() ? 1 : 0);
    out += QStringLiteral("effect %1\n")
               .arg(lighting.session() ? EffectNumber(lighting.session()->state().fields.effect) : 0u);
    for (const QWidget* control : lighting.controls()) {
        const QPoint origin = control->mapToGlobal(QPoint(0, 0));
        out += QStringLiteral("control %1 %2 %3 %4 %5 %6\n")
                   .arg(control->objectName())
                   .arg(control->isVisible() ? 1 : 0)
                   .arg(origin.x())
                   .arg(origin.y())
                   .arg(control->width())
                   .arg(control->height());
    }
    return out;
}

} // namespace ombrel
