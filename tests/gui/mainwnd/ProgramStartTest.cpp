// How the program starts or refuses to: no display (a plain message and status 1 instead of Qt's abort), a bad
// command line, a screenshot it cannot save; and the display check itself for each platform Qt may try.
#include "DisplayProbe.h"
#include "ScreenTest.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

using namespace ombrel;

namespace {

struct Run {
    int exitCode = -1;
    QString stdErr;
};

Run RunProgram(const QStringList& arguments, const QMap<QString, QString>& environment, const QString& home) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home + QStringLiteral("/run"));
    for (auto it = environment.begin(); it != environment.end(); ++it)
        env.insert(it.key(), it.value());
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(OMBREL_TEST_PROGRAM), arguments);
    if (!process.waitForFinished(60000)) return {};
    Run run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.stdErr = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

} // namespace

class ProgramStartTest : public QObject {
    Q_OBJECT

private slots:
    void refusesWithAReasonInsteadOfAborting_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("platform");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("said");
        QTest::newRow("no display at all")
            << QStringList{"--emulator"} << QString() << QString() << QStringLiteral("no display found");
        QTest::newRow("a display nobody answers") << QStringList{"--emulator"} << QString() << QStringLiteral(":4093")
                                                  << QStringLiteral(":4093 cannot be reached");
        QTest::newRow("unknown argument") << QStringList{"--emulator", "--colour=red"} << QStringLiteral("offscreen")
                                          << QString() << QStringLiteral("unknown argument '--colour=red'");
        QTest::newRow("screenshot into a missing folder")
            << QStringList{"--emulator", "--screenshot=@/missing/shot.png"} << QStringLiteral("offscreen") << QString()
            << QStringLiteral("cannot save the screenshot");
    }

    void refusesWithAReasonInsteadOfAborting() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, platform);
        QFETCH(QString, display);
        QFETCH(QString, said);
        QTemporaryDir home;
        for (QString& argument : arguments)
            argument.replace(QLatin1Char('@'), home.path());
        QMap<QString, QString> env;
        if (!platform.isEmpty()) env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
        if (!display.isEmpty()) env.insert(QStringLiteral("DISPLAY"), display);
        const Run run = RunProgram(arguments, env, home.path());
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.stdErr.contains(said), qPrintable(run.stdErr));
        QVERIFY(!QFile::exists(home.filePath(QStringLiteral("missing"))));
    }

    void displayCheckFollowsThePlatformsQtTries() {
        QTemporaryDir runtime;
        // A listening socket stands for a running Wayland compositor.
        const QByteArray socketPath = QFile::encodeName(runtime.filePath(QStringLiteral("wayland-1")));
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, socketPath.constData(), sizeof address.sun_path - 1);
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

        const auto xAnswers = [](const std::string& display) { return display == ":0"; };
        const struct {
            const char* name;
            std::string platform, display, wayland;
            std::string said; // empty: Qt can start
        } cases[] = {
            {"nothing set", "", "", "", "$DISPLAY is not set"},
            {"X answers", "", ":0", "", ""},
            {"X does not answer", "", ":5", "", "the display :5 cannot be reached"},
            {"X with options", "xcb:nograb", ":0", "", ""},
            {"offscreen needs no session", "offscreen", "", "", ""},
            {"Wayland session", "", "", "wayland-1", ""},
            {"Wayland asked, compositor gone", "wayland", "", "wayland-9", "wayland-9 cannot be found"},
            {"Wayland gone, X next in the list", "wayland;xcb", ":0", "wayland-9", ""},
        };
        for (const auto& c : cases) {
            DisplayEnvironment env;
            env.platform = c.platform;
            env.display = c.display;
            env.waylandDisplay = c.wayland;
            env.runtimeDir = runtime.path().toStdString();
            const std::string reason = NoDisplayReason(env, xAnswers);
            if (c.said.empty())
                QVERIFY2(reason.empty(), c.name);
            else
                QVERIFY2(reason.find(c.said) != std::string::npos, (std::string(c.name) + ": " + reason).c_str());
        }
        ::close(fd);
    }
};

OMBREL_SCREEN_TEST_MAIN(ProgramStartTest)
#include "ProgramStartTest.moc"
