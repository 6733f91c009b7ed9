// Back up and Restore with the whole keyboard as a readable file: lighting and key colours come along, a file with
// a problem is refused with its place and changes nothing, and a profile-file backup says what it leaves out.
#include "MainWindowHarness.h"
#include "ScreenTest.h"

#include "FileFilters.h"
#include "MainMessages.h"
#include "UserPrompts.h"

#include "device/LinkResult.h"

#include <QFile>
#include <QTest>

#include <array>

using namespace ombrel;
using namespace ombrel::test;

namespace {

void setBrightness(MainWindow& w, int profile, std::uint8_t level) {
    DeviceCommands& commands = w.context().link()->commands();
    QCOMPARE(commands.Bracketed([&] { return commands.WriteLighting(std::span(&level, 1), 1, profile * 42 + 1); }),
             int(LINK_OK));
}

void menu(MainWindow& w, int command) {
    UserPrompts::setNextMenuChoice(command);
    w.captionBar().showBackupMenu(QPoint());
}

QString readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class KeyboardFileBackupTest : public QObject {
    Q_OBJECT
private slots:
    void init() { UserPrompts::reset(); }

    void backUpAndRestoreOfferBothKindsAndAllFilesOnce() {
        const QStringList filters = BackupFileFilters().split(QStringLiteral(";;"));
        QCOMPARE(filters.size(), 3);
        QVERIFY2(filters[0].contains(QStringLiteral("*.obp")) && filters[1].contains(QStringLiteral("*.toml")) &&
                     filters[2].contains(QStringLiteral("(*)")),
                 qPrintable(filters.join(QLatin1Char('|'))));
    }

    void aWholeKeyboardBackupBringsTheLightingBack() {
        MainWindowHarness h;
        MainWindow& w = h.start();
        setBrightness(w, 2, 1);
        const auto backedUp = h.keyboardLighting(2);
        const QString path = h.dir() + QStringLiteral("/keyboard.toml");
        UserPrompts::setNextFileName(path);
        menu(w, kCmdBackup);
        const QString text = readAll(path);
        QVERIFY2(text.contains(QStringLiteral("[profile.3.lighting]")) &&
                     text.contains(QStringLiteral("\"Caps Lock\"")),
                 qPrintable(text.left(400)));

        setBrightness(w, 2, 4);
        QVERIFY(h.keyboardLighting(2) != backedUp);
        UserPrompts::setNextFileName(path);
        UserPrompts::setNextAnswer(QMessageBox::Yes);
        menu(w, kCmdRestore);
        QVERIFY(h.keyboardLighting(2) == backedUp);
        // The done message and the question say what such a file holds: the lighting and key colours too.
        const QStringList shown = UserPrompts::shownMessages();
        QCOMPARE(shown.size(), 3);
        for (const QString& message : {shown[0], shown[1]})
            QVERIFY2(message.contains(QStringLiteral("lighting and key colours")), qPrintable(message));
    }

    void aBadFileIsRefusedWithItsPlaceAndChangesNothing() {
        MainWindowHarness h;
        MainWindow& w = h.start();
        const auto before = h.keyboardLighting(0);
        const QString path = h.dir() + QStringLiteral("/bad.toml");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("format = 1\n[profile.1.lighting]\nbrightness = 1\nspeeed = 2\n");
        file.close();
        UserPrompts::setNextFileName(path);
        UserPrompts::setNextAnswer(QMessageBox::Yes);
        menu(w, kCmdRestore);
        QVERIFY2(UserPrompts::shownMessages()
                     .join(QLatin1Char('\n'))
                     .contains(QStringLiteral("4:1: unknown entry 'speeed'")),
                 qPrintable(UserPrompts::shownMessages().join(QLatin1Char('\n'))));
        // Not sent to look for a profile file instead.
        QVERIFY(!UserPrompts::shownMessages().last().contains(QStringLiteral(".obp")));
        QVERIFY(h.keyboardLighting(0) == before);
    }

    void aProfileFileBackupSaysWhatItLeavesOut() {
        MainWindowHarness h;
        MainWindow& w = h.start();
        UserPrompts::setNextFileName(h.dir() + QStringLiteral("/profiles.obp"));
        menu(w, kCmdBackup);
        QVERIFY(QFile::exists(h.dir() + QStringLiteral("/profiles.obp")));
        QVERIFY2(
            UserPrompts::shownMessages().last().contains(QStringLiteral("lighting and the key colours are left out")),
            qPrintable(UserPrompts::shownMessages().join(QLatin1Char('\n'))));
    }
};

OMBREL_SCREEN_TEST_MAIN(KeyboardFileBackupTest)
#include "KeyboardFileBackupTest.moc"
