// The program's command line: its own options, the start switches left to the platform, Qt's options passed on,
// and arguments nobody knows, which are an error rather than silently dropped.
#include "ProgramOptions.h"
#include "ScreenTest.h"

#include <QTest>

using namespace ombrel;

class ProgramOptionsTest : public QObject {
    Q_OBJECT

private slots:
    void argumentsAreReadPassedOnOrRefused_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("qtArguments");
        QTest::addColumn<QString>("platform");
        QTest::addColumn<bool>("emulator");
        QTest::addColumn<QString>("error"); // a part of the message; empty = no error
        QTest::newRow("switches only") << QStringList{"/START", "--kill"} << QStringList{} << QString() << false
                                       << QString();
        QTest::newRow("toolkit options with their values")
            << QStringList{"-platform", "offscreen", "/Start", "--style", "fusion", "-reverse", "--emulator"}
            << QStringList{"-platform", "offscreen", "--style", "fusion", "-reverse"} << QStringLiteral("offscreen")
            << true << QString();
        QTest::newRow("unknown next to an option") << QStringList{"--emulator", "--bogus"} << QStringList{} << QString()
                                                   << true << QStringLiteral("unknown argument '--bogus'");
        QTest::newRow("launcher's file argument") << QStringList{"file:///tmp/x"} << QStringList{} << QString() << false
                                                  << QStringLiteral("unknown argument 'file:///tmp/x'");
        QTest::newRow("toolkit option without its value")
            << QStringList{"--emulator", "-display"} << QStringList{"-display"} << QString() << true
            << QStringLiteral("-display needs a value");
        QTest::newRow("screenshot without a name") << QStringList{"--screenshot="} << QStringList{} << QString()
                                                   << false << QStringLiteral("--screenshot needs a file name");
        QTest::newRow("screenshot of an unknown dialog")
            << QStringList{"--screenshot=a.png", "--screenshot-of=menu"} << QStringList{} << QString() << false
            << QStringLiteral("--screenshot-of takes one of: main, profiles, firmware, key, about");
        QTest::newRow("option that needs another") << QStringList{"--emulator-unplugged"} << QStringList{} << QString()
                                                   << false << QStringLiteral("--emulator-unplugged needs --emulator");
        // The hot-plug soak watches the window through it while a real (uhid) keyboard comes and goes.
        QTest::newRow("test control with the real keyboard")
            << QStringList{"--test-control=/tmp/fifo"} << QStringList{} << QString() << false << QString();
        QTest::newRow("force with kill") << QStringList{"/Kill", "--force"} << QStringList{} << QString() << false
                                         << QString();
        QTest::newRow("force alone") << QStringList{"--force"} << QStringList{} << QString() << false
                                     << QStringLiteral("--force goes with /Kill only");
    }

    void argumentsAreReadPassedOnOrRefused() {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, qtArguments);
        QFETCH(QString, platform);
        QFETCH(bool, emulator);
        QFETCH(QString, error);
        const ProgramOptions options = ParseProgramOptions(arguments);
        QCOMPARE(options.qtArguments, qtArguments);
        QCOMPARE(options.platform, platform);
        QCOMPARE(options.emulator, emulator);
        if (error.isEmpty())
            QVERIFY2(options.error.isEmpty(), qPrintable(options.error));
        else
            QVERIFY2(options.error.contains(error), qPrintable(options.error));
    }
};

OMBREL_SCREEN_TEST_MAIN(ProgramOptionsTest)
#include "ProgramOptionsTest.moc"
