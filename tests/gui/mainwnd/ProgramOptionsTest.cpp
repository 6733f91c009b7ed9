// The program's command line: its own options, the start switches left to the platform, and arguments it does not
// know, which a start must survive.
#include "ProgramOptions.h"

#include <QTest>

using namespace ombrel;

class ProgramOptionsTest : public QObject {
    Q_OBJECT

private slots:
    void argumentsAreReadOrIgnored_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("ignored");
        QTest::addColumn<bool>("emulator");
        QTest::addColumn<bool>("failed");
        QTest::newRow("switches only") << QStringList{"/START", "--kill"} << QStringList{} << false << false;
        QTest::newRow("toolkit and launcher arguments")
            << QStringList{"-platform", "xcb", "/Start", "file:///tmp/x"}
            << QStringList{"-platform", "xcb", "file:///tmp/x"} << false << false;
        QTest::newRow("unknown next to an option")
            << QStringList{"--emulator", "--bogus"} << QStringList{"--bogus"} << true << false;
        QTest::newRow("option that needs another")
            << QStringList{"--emulator-unplugged", "stray"} << QStringList{"stray"} << false << true;
    }

    void argumentsAreReadOrIgnored() {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, ignored);
        QFETCH(bool, emulator);
        QFETCH(bool, failed);
        const ProgramOptions options = ParseProgramOptions(arguments);
        QCOMPARE(options.ignored, ignored);
        QCOMPARE(options.emulator, emulator);
        QCOMPARE(!options.error.isEmpty(), failed);
    }
};

QTEST_MAIN(ProgramOptionsTest)
#include "ProgramOptionsTest.moc"
