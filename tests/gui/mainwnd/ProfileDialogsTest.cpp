// The profile manager and the firmware dialog on the emulated keyboard, answered through the UserPrompts hooks.
#include "MainWindowHarness.h"

#include "COmbrel_DlgProfile.h"
#include "COmbrel_DlgUpdate.h"
#include "CPngButton.h"
#include "CReportCtrl.h"
#include "ColorStatic.h"
#include "UserPrompts.h"

#include "device/ActiveProfile.h"
#include "firmware/FirmwareUpdate.h"
#include "profiles/ProfileStore.h"
#include "profiles/ProfileSwitcher.h"
#include "text/IniFile.h"
#include "text/LanguageTexts.h"

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QTest>

using namespace ombrel;
using namespace ombrel::test;

namespace {

// The window's side of switching, reduced to what the dialogs reach.
class TestHost : public ProfileHost {
public:
    bool keyDialogOpen() const override { return false; }
    bool editsPending() const override { return pending; }
    void setEditsPending(bool p) override { pending = p; }
    void applyEdits() override { pending = false; }
    bool askYesNo(const std::string& text) override {
        return UserPrompts::ask(nullptr, QString::fromStdString(text), QString(), QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::No) == QMessageBox::Yes;
    }
    void tell(const std::string& text) override { UserPrompts::information(nullptr, QString::fromStdString(text)); }
    void refreshKeyMarks() override {}
    void showProfileName(const std::string& n, const std::string&) override { name = n; }

    bool pending = false;
    std::string name;
};

TextLookup English() {
    return [](std::string_view key) { return lookupText(key, 0); };
}

QStringList Column(CReportCtrl* list, int column) {
    QStringList out;
    for (int i = 0; i < list->GetItemCount(); ++i)
        out << list->GetItemText(i, column);
    return out;
}

void UserChecks(CReportCtrl* list, int row) {
    list->topLevelItem(row)->setCheckState(0, Qt::Checked);
}

} // namespace

class ProfileDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { UserPrompts::reset(); }

    void profileManagerAddsListsAndActivates() {
        MainWindowHarness h;
        COmbrelDlg& w = h.start(true);
        TestHost host;
        DeviceLink& link = *w.link();
        ProfileSwitcher switcher(link.commands(), link.state(), w.stores().workingStore, h.paths(), English(), host);
        COmbrel_DlgProfile dialog(QString::fromStdString(h.paths().profileIni), h.paths(), h.settings(), switcher,
                                  GetActiveProfile(link.commands(), link.state()), 0, &w);
        dialog.show();
        CReportCtrl* list = dialog.list();
        QCOMPARE(list->headerItem()->text(0), QStringLiteral("Active"));
        QCOMPARE(Column(list, 1), (QStringList{"Profile 1", "Profile 2", "Profile 3"}));
        QVERIFY(list->GetCheck(0));
        QVERIFY(!dialog.button(COmbrel_DlgProfile::kIdApply)->isEnabled());

        // New: the proposed name is the per-user folder's "New profile"; the file is a default profile file.
        const QString added = h.dir() + QStringLiteral("/mine.obp");
        UserPrompts::setNextFileName(added);
        QTest::mouseClick(dialog.button(COmbrel_DlgProfile::kIdAdd), Qt::LeftButton);
        QCOMPARE(QFile(added).size(), 32832);
        QCOMPARE(Column(list, 1).last(), QStringLiteral("mine"));
        QVERIFY(dialog.button(COmbrel_DlgProfile::kIdApply)->isEnabled());
        // Add file, cancelled: nothing listed.
        UserPrompts::setNextFileName(QString());
        QTest::mouseClick(dialog.button(COmbrel_DlgProfile::kIdLoad), Qt::LeftButton);
        QCOMPARE(list->GetItemCount(), 4);
        // Remove takes the file's row off the list and leaves the file.
        list->SelectOnly(3);
        QTest::mouseClick(dialog.button(COmbrel_DlgProfile::kIdDelete), Qt::LeftButton);
        QCOMPARE(list->GetItemCount(), 3);
        QVERIFY(QFile::exists(added));

        UserChecks(list, 2);
        QVERIFY(!list->GetCheck(0));
        QTest::mouseClick(dialog.button(COmbrel_DlgProfile::kIdOk), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(h.keyboardActiveProfile(), 2);
        QCOMPARE(host.name, std::string("Profile 3"));
        QCOMPARE(QString::fromStdString(ReadIniString(h.paths().appProfileIni, "PROFILES", "PROFILE00", "")),
                 QStringLiteral("3"));
    }

    void firmwareDialogBacksUpBeforeTheBootRequest() {
        MainWindowHarness h;
        COmbrelDlg& w = h.start(true);
        DeviceLink& link = *w.link();
        FirmwareSetup setup = FirmwareSetup::ForProgram(h.paths());
        std::vector<std::vector<std::string>> started;
        setup.start = [&](const std::vector<std::string>& argv, const std::string&, std::string*) {
            started.push_back(argv);
            return pid_t{4242};
        };
        FirmwareUpdate firmware(&link.commands(), w.stores().workingStore, setup, English());
        COmbrel_DlgUpdate dialog(QString::fromStdString(h.paths().updateIni), h.paths(), firmware, 0, &w);
        dialog.show();

        // Open chooses the updater; cancelling Open clears it again.
        const QString updater = h.dir() + QStringLiteral("/updater.sh");
        QFile file(updater);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        UserPrompts::setNextFileName(updater);
        QTest::mouseClick(dialog.button(COmbrel_DlgUpdate::kIdOpen), Qt::LeftButton);
        QCOMPARE(dialog.pathDisplay()->text(), updater);
        UserPrompts::setNextFileName(QString());
        QTest::mouseClick(dialog.button(COmbrel_DlgUpdate::kIdOpen), Qt::LeftButton);
        QCOMPARE(dialog.pathDisplay()->text(), QString());

        // Update with no updater: said so, nothing sent.
        UserPrompts::shownMessages().clear();
        QTest::mouseClick(dialog.button(COmbrel_DlgUpdate::kIdUpdate), Qt::LeftButton);
        QCOMPARE(UserPrompts::shownMessages(), QStringList{QString::fromStdString(lookupText("UPDATE_ERR_FILE", 0))});
        QVERIFY(!h.emu().bootRequested());

        // Backup to a place that cannot be written: said so.
        UserPrompts::setNextFileName(h.dir() + QStringLiteral("/no/such/folder/b.obp"));
        QTest::mouseClick(dialog.button(COmbrel_DlgUpdate::kIdBackup), Qt::LeftButton);
        QVERIFY(UserPrompts::shownMessages().last().startsWith(
            QString::fromStdString(lookupText("UPDATE_BACKUP_FAIL", 0))));

        // The confirmed update: a backup in the per-user folder, the boot request, the updater started.
        UserPrompts::setNextFileName(updater);
        QTest::mouseClick(dialog.button(COmbrel_DlgUpdate::kIdOpen), Qt::LeftButton);
        UserPrompts::setNextAnswer(QMessageBox::Yes);
        QTest::mouseClick(dialog.button(COmbrel_DlgUpdate::kIdUpdate), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QVERIFY(h.emu().bootRequested());
        QCOMPARE(started, (std::vector<std::vector<std::string>>{{updater.toStdString()}}));
        const QStringList backups = QDir(QString::fromStdString(h.paths().userDir))
                                        .entryList({QStringLiteral("firmware-backup-*.obp")}, QDir::Files);
        QCOMPARE(backups.size(), 1);
        QVERIFY(UserPrompts::shownMessages().last().contains(backups.first()));
    }
};

QTEST_MAIN(ProfileDialogsTest)
#include "ProfileDialogsTest.moc"
