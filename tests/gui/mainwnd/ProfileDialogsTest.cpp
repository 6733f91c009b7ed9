// The profile manager (from the profile name button) and the firmware dialog (from the window's menu) on the
// emulated keyboard, answered through the UserPrompts hooks.
#include "MainWindowHarness.h"
#include "ScreenTest.h"

#include "CheckableList.h"
#include "ColorStatic.h"
#include "FirmwareUpdateDialog.h"
#include "MainMessages.h"
#include "ProfileBar.h"
#include "ProfileManagerDialog.h"
#include "SkinButton.h"
#include "UserPrompts.h"

#include "platform/IniFile.h"
#include "text/LanguageTexts.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace ombrel;
using namespace ombrel::test;

namespace {

QStringList Column(CheckableList* list, int column) {
    QStringList out;
    for (int i = 0; i < list->rowCount(); ++i)
        out << list->cellText(i, column);
    return out;
}

QString English(const char* key) {
    return QString::fromStdString(lookupText(key, 0));
}

} // namespace

class ProfileDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { UserPrompts::reset(); }

    void profileManagerAddsFilesAndActivatesTheCheckedProfile() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        SkinButton* name = w.profileBar().nameButton();
        QCOMPARE(name->text(), QStringLiteral("Profile 1"));
        const QString added = h.dir() + QStringLiteral("/mine.obp");
        bool ran = false;
        WhenOpen<ProfileManagerDialog>([&](ProfileManagerDialog& dialog) {
            CheckableList* list = dialog.list();
            QCOMPARE(list->headerItem()->text(0), QStringLiteral("Active"));
            QCOMPARE(Column(list, 1), (QStringList{"Profile 1", "Profile 2", "Profile 3"}));
            QVERIFY(list->isRowChecked(0));
            QVERIFY(!dialog.button(ProfileManagerDialog::kIdApply)->isEnabled());

            // New writes a default profile file and lists it; Add file, cancelled, lists nothing.
            UserPrompts::setNextFileName(added);
            QTest::mouseClick(dialog.button(ProfileManagerDialog::kIdAdd), Qt::LeftButton);
            QCOMPARE(QFile(added).size(), 32832);
            QCOMPARE(Column(list, 1).last(), QStringLiteral("mine"));
            QVERIFY(dialog.button(ProfileManagerDialog::kIdApply)->isEnabled());
            UserPrompts::setNextFileName(QString());
            QTest::mouseClick(dialog.button(ProfileManagerDialog::kIdLoad), Qt::LeftButton);
            QCOMPARE(list->rowCount(), 4);
            // Remove takes the file's row off the list and leaves the file.
            list->selectOnly(3);
            QTest::mouseClick(dialog.button(ProfileManagerDialog::kIdDelete), Qt::LeftButton);
            QCOMPARE(list->rowCount(), 3);
            QVERIFY(QFile::exists(added));

            list->topLevelItem(2)->setCheckState(0, Qt::Checked); // the user checks Profile 3
            QVERIFY(!list->isRowChecked(0));
            ran = true;
            QTest::mouseClick(dialog.button(ProfileManagerDialog::kIdOk), Qt::LeftButton);
        });
        QTest::mouseClick(name, Qt::LeftButton);
        QVERIFY(ran);
        QVERIFY(!w.profileBar().profileManager());
        QCOMPARE(h.keyboardActiveProfile(), 2);
        QCOMPARE(name->text(), QStringLiteral("Profile 3"));
        QVERIFY(w.profileBar().profileButton(2)->hasCheckedLook());
        QCOMPARE(QString::fromStdString(ReadIniString(h.paths().appProfileIni, "PROFILES", "PROFILE00", "")),
                 QStringLiteral("3"));
    }

    void profileManagerRenamesExportsAndCancelLeavesNoNewFile() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        const QString fresh = h.dir() + QStringLiteral("/fresh.obp");
        const QString kept = h.dir() + QStringLiteral("/kept.obp");
        QFile keptFile(kept);
        QVERIFY(keptFile.open(QIODevice::WriteOnly));
        keptFile.write("the user's own file");
        keptFile.close();
        const QString exported = h.dir() + QStringLiteral("/exported.obp");

        WhenOpen<ProfileManagerDialog>([&](ProfileManagerDialog& dialog) {
            CheckableList* list = dialog.list();
            // New writes two files, one of them over a file the user agreed to replace.
            UserPrompts::setNextFileName(fresh);
            QTest::mouseClick(dialog.button(ProfileManagerDialog::kIdAdd), Qt::LeftButton);
            UserPrompts::setNextFileName(kept);
            QTest::mouseClick(dialog.button(ProfileManagerDialog::kIdAdd), Qt::LeftButton);
            QVERIFY(QFile::exists(fresh));

            // Rename: a keyboard profile keeps its name and says why; a file is renamed, never over another.
            list->selectOnly(0);
            UserPrompts::shownMessages().clear();
            QTest::mouseClick(dialog.button(ProfileManagerDialog::kIdRename), Qt::LeftButton);
            QCOMPARE(UserPrompts::shownMessages(), QStringList{English("PROFILE_RENAME_ONLY_FILES")});
            list->selectOnly(3);
            UserPrompts::setNextText(QStringLiteral("kept"));
            QTest::mouseClick(dialog.button(ProfileManagerDialog::kIdRename), Qt::LeftButton);
            QVERIFY(UserPrompts::shownMessages().last().startsWith(English("PROFILE_RENAME_FAILED")));
            QVERIFY(QFile::exists(fresh));
            UserPrompts::setNextText(QStringLiteral("Racing"));
            QTest::mouseClick(dialog.button(ProfileManagerDialog::kIdRename), Qt::LeftButton);
            QCOMPARE(Column(list, 1).at(3), QStringLiteral("Racing"));
            QVERIFY(!QFile::exists(fresh));
            QCOMPARE(QFile(h.dir() + QStringLiteral("/Racing.obp")).size(), 32832);

            // Export writes the keyboard's profiles, as the store holds them, to a file.
            UserPrompts::setNextFileName(exported);
            QTest::mouseClick(dialog.button(ProfileManagerDialog::kIdExport), Qt::LeftButton);
            QCOMPARE(UserPrompts::shownMessages().last(), English("PROFILE_EXPORT_DONE"));
            QFile store(QString::fromStdString(h.paths().userDir) + QStringLiteral("/keyboard-profiles.obp"));
            QFile out(exported);
            QVERIFY(store.open(QIODevice::ReadOnly) && out.open(QIODevice::ReadOnly));
            QCOMPARE(out.readAll(), store.readAll());

            // Load into: a profile of a listed file becomes a pending edit of that profile; a file that is not a
            // profile file is refused; the keyboard's own rows have nothing to load.
            QVERIFY(!w.context().pending().pending());
            list->selectOnly(1);
            QTest::mouseClick(dialog.button(ProfileManagerDialog::kIdLoadInto), Qt::LeftButton);
            QCOMPARE(UserPrompts::shownMessages().last(), English("PROFILE_LOAD_INTO_ONLY_FILES"));
            UserPrompts::setNextFileName(exported);
            QTest::mouseClick(dialog.button(ProfileManagerDialog::kIdLoad), Qt::LeftButton);
            list->selectOnly(list->rowCount() - 1);
            UserPrompts::setNextMenuChoice(1);
            QTest::mouseClick(dialog.button(ProfileManagerDialog::kIdLoadInto), Qt::LeftButton);
            QCOMPARE(UserPrompts::lastMenuTexts(), (QStringList{"Profile 1", "Profile 2", "Profile 3"}));
            QCOMPARE(UserPrompts::shownMessages().last(), English("PROFILE_LOAD_INTO_DONE"));
            QVERIFY(w.context().pending().pending());
            const QString junk = h.dir() + QStringLiteral("/junk.obp");
            QFile junkFile(junk);
            QVERIFY(junkFile.open(QIODevice::WriteOnly));
            junkFile.write("not a profile");
            junkFile.close();
            UserPrompts::setNextFileName(junk);
            QTest::mouseClick(dialog.button(ProfileManagerDialog::kIdLoad), Qt::LeftButton);
            list->selectOnly(list->rowCount() - 1);
            UserPrompts::setNextMenuChoice(0);
            QTest::mouseClick(dialog.button(ProfileManagerDialog::kIdLoadInto), Qt::LeftButton);
            QVERIFY(UserPrompts::shownMessages().last().startsWith(English("PROFILE_LOAD_INTO_FAILED")));

            QTest::mouseClick(dialog.button(ProfileManagerDialog::kIdCancel), Qt::LeftButton);
        });
        QTest::mouseClick(w.profileBar().nameButton(), Qt::LeftButton);
        QVERIFY(!w.profileBar().profileManager());
        // Cancel took back the file New wrote (under its new name); the replaced file is the user's and stays.
        QVERIFY(!QFile::exists(h.dir() + QStringLiteral("/Racing.obp")));
        QCOMPARE(QFile(kept).size(), 32832);
        QVERIFY(QFile::exists(exported));
    }

    void firmwareDialogBacksUpBeforeTheBootRequest() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        // An updater that ends at once.
        const QString updater = h.dir() + QStringLiteral("/updater.sh");
        QFile file(updater);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\nexit 0\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        bool ran = false;
        WhenOpen<FirmwareUpdateDialog>([&](FirmwareUpdateDialog& dialog) {
            // Open chooses the updater; cancelling Open clears it again.
            UserPrompts::setNextFileName(updater);
            QTest::mouseClick(dialog.button(FirmwareUpdateDialog::kIdOpen), Qt::LeftButton);
            QCOMPARE(dialog.pathDisplay()->text(), updater);
            UserPrompts::setNextFileName(QString());
            QTest::mouseClick(dialog.button(FirmwareUpdateDialog::kIdOpen), Qt::LeftButton);
            QCOMPARE(dialog.pathDisplay()->text(), QString());

            // Update with no updater: said so, nothing sent.
            UserPrompts::shownMessages().clear();
            QTest::mouseClick(dialog.button(FirmwareUpdateDialog::kIdUpdate), Qt::LeftButton);
            QCOMPARE(UserPrompts::shownMessages(), QStringList{English("UPDATE_ERR_FILE")});
            QVERIFY(!h.emu().bootRequested());

            // Backup to a place that cannot be written: said so.
            UserPrompts::setNextFileName(h.dir() + QStringLiteral("/no/such/folder/b.obp"));
            QTest::mouseClick(dialog.button(FirmwareUpdateDialog::kIdBackup), Qt::LeftButton);
            QVERIFY(UserPrompts::shownMessages().last().startsWith(English("UPDATE_BACKUP_FAIL")));

            // The confirmed update: a backup in the per-user folder, then the boot request and the updater.
            UserPrompts::setNextFileName(updater);
            QTest::mouseClick(dialog.button(FirmwareUpdateDialog::kIdOpen), Qt::LeftButton);
            UserPrompts::setNextAnswer(QMessageBox::Yes);
            ran = true;
            QTest::mouseClick(dialog.button(FirmwareUpdateDialog::kIdUpdate), Qt::LeftButton);
        });
        UserPrompts::setNextMenuChoice(kCmdFirmware);
        Click(w, "CONTROL_MENU");
        QVERIFY(ran);
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(h.emu().bootRequested());
        QVERIFY(UserPrompts::shownMessages().contains(English("UPDATE_CONFIRM")));
        const QStringList backups = QDir(QString::fromStdString(h.paths().userDir))
                                        .entryList({QStringLiteral("firmware-backup-*.obp")}, QDir::Files);
        QCOMPARE(backups.size(), 1);
        QVERIFY(UserPrompts::shownMessages().last().contains(backups.first()));

        // The boot loader takes the keyboard away: the window says an update runs, not that it was unplugged.
        const auto noticeText = [&w] {
            const auto* notice = w.findChild<QLabel*>(QStringLiteral("unpluggedText"));
            return notice && w.showsKeyboardGone() ? notice->text() : QString();
        };
        w.showWindow();
        QTRY_VERIFY(w.isVisible());
        h.emu().unplug();
        h.settle();
        QTRY_COMPARE(noticeText(), English("MAIN_UPDATING_FIRMWARE"));
        // Back after the update; a later removal is a plain unplugging again.
        h.emu().plug();
        h.settle();
        QTRY_VERIFY(!w.showsKeyboardGone());
        h.emu().unplug();
        h.settle();
        QTRY_COMPARE(noticeText(), English("MAIN_UNPLUGGED"));
    }
};

OMBREL_SCREEN_TEST_MAIN(ProfileDialogsTest)
#include "ProfileDialogsTest.moc"
