// "Switch profiles with the application" as a user works it: rules added by picking a running application or
// typing an id, reordered, given profiles and deleted, saved to the file ombrelctl reads; a damaged file is shown
// with its mistakes and only replaced when the user says so.
#include "MainWindowHarness.h"
#include "ScreenTest.h"

#include "ApplicationRulesDialog.h"
#include "MainMessages.h"
#include "UserPrompts.h"

#include "apprules/ApplicationRulesFile.h"
#include "text/FileBytes.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include <filesystem>
#include <fstream>

using namespace ombrel;
using namespace ombrel::test;
using apprules::ApplicationRules;

namespace {

std::vector<apprules::RunningApplication> twoRunning() {
    return {{{"Steam", "steamwebhelper", "steam", "steam_app_570"}, "Dota 2"},
            {{"XTerm", "xterm", "xterm", ""}, "xterm"}};
}

QStringList rows(const ApplicationRulesDialog& dialog) {
    QStringList all;
    for (int i = 0; i < dialog.list()->topLevelItemCount(); ++i)
        all << dialog.list()->topLevelItem(i)->text(0) + QLatin1Char('=') +
                   QString::number(dialog.profileBoxOf(i)->currentIndex() + 1);
    return all;
}

void writeText(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path) << text;
}

} // namespace

class ApplicationRulesDialogTest : public QObject {
    Q_OBJECT
private slots:
    void init() { UserPrompts::reset(); }

    void rulesAreMadeReorderedAndSavedFromTheWindowsMenu() {
        MainWindowHarness h;
        MainWindow& w = h.start();
        w.setRunningApplications(twoRunning);
        const std::string path = apprules::ApplicationRulesPath(h.paths());
        QSignalSpy saved(&w, &MainWindow::applicationRulesChanged);
        QStringList offered;
        QStringList afterEdits;
        WhenOpen<ApplicationRulesDialog>([&](ApplicationRulesDialog& d) {
            for (int i = 0; i < d.applicationBox()->count(); ++i)
                offered << d.applicationBox()->itemText(i);
            // Picking a running application by the keyboard puts its id in the box.
            d.applicationBox()->setFocus();
            QTest::keyClick(d.applicationBox(), Qt::Key_Down);
            QCOMPARE(d.applicationBox()->currentText(), QStringLiteral("steam_app_570"));
            d.newProfileBox()->setCurrentIndex(1);
            QTest::mouseClick(d.addButton(), Qt::LeftButton);
            // A typed id, added with Enter.
            QTest::keyClicks(d.applicationBox()->lineEdit(), QStringLiteral("  org.gnome.Terminal "));
            d.newProfileBox()->setCurrentIndex(2);
            QTest::keyClick(d.applicationBox()->lineEdit(), Qt::Key_Return);
            QVERIFY(d.isVisible()); // Enter added the rule, it did not close the dialog
            QTest::keyClicks(d.applicationBox()->lineEdit(), QStringLiteral("firefox"));
            QTest::keyClick(d.applicationBox()->lineEdit(), Qt::Key_Enter);
            // The same application again changes its rule rather than adding a second one.
            QTest::keyClicks(d.applicationBox()->lineEdit(), QStringLiteral("STEAM_APP_570"));
            d.newProfileBox()->setCurrentIndex(0);
            QTest::mouseClick(d.addButton(), Qt::LeftButton);
            QCOMPARE(rows(d), (QStringList{"steam_app_570=1", "org.gnome.Terminal=3", "firefox=3"}));

            // firefox to the top: a button, then Ctrl+Up on the list.
            d.list()->setCurrentItem(d.list()->topLevelItem(2));
            QTest::mouseClick(d.upButton(), Qt::LeftButton);
            QTest::keyClick(d.list(), Qt::Key_Up, Qt::ControlModifier);
            QVERIFY(!d.upButton()->isEnabled()); // the first rule cannot go higher
            d.profileBoxOf(0)->setCurrentIndex(1);
            // The Delete key takes the selected rule off.
            d.list()->setCurrentItem(d.list()->topLevelItem(2));
            QTest::keyClick(d.list(), Qt::Key_Delete);
            d.defaultProfileBox()->setCurrentIndex(2);
            afterEdits = rows(d);
            QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("rulesOk")), Qt::LeftButton);
        });
        UserPrompts::setNextMenuChoice(kCmdApplicationRules);
        w.captionBar().showBackupMenu(QPoint());

        QCOMPARE(offered, (QStringList{"Dota 2 (steam_app_570)", "XTerm"}));
        QCOMPARE(afterEdits, (QStringList{"firefox=2", "steam_app_570=1"}));
        const apprules::RulesFile file = apprules::LoadApplicationRules(path);
        QCOMPARE(int(file.state), int(apprules::RulesFile::State::Read));
        QVERIFY(file.rules == (ApplicationRules{{{"firefox", 2}, {"steam_app_570", 1}}, 3}));
        QCOMPARE(saved.size(), 1);
    }

    void cancelAndAnUnchangedOkLeaveTheFileAlone() {
        MainWindowHarness h;
        MainWindow& w = h.start();
        const std::string path = h.dir().toStdString() + "/rules.toml";
        const std::string text = "# mine\n[[rule]]\napplication = \"xterm\"\nprofile = 2\n";
        writeText(path, text);
        {
            ApplicationRulesDialog d(w.context(), path, {}, &w);
            d.show();
            QCOMPARE(rows(d), QStringList{"xterm=2"});
            QCOMPARE(d.applicationBox()->count(), 0); // nothing running offered: ids are typed
            d.list()->setCurrentItem(d.list()->topLevelItem(0));
            QTest::mouseClick(d.deleteButton(), Qt::LeftButton);
            QTest::keyClick(&d, Qt::Key_Escape);
            QCOMPARE(d.result(), int(QDialog::Rejected));
        }
        {
            ApplicationRulesDialog d(w.context(), path, {}, &w);
            d.show();
            d.accept(); // nothing changed: the user's comment stays
            QCOMPARE(d.result(), int(QDialog::Accepted));
        }
        QCOMPARE(ReadFileBytes(path).bytes, text);
        // Opening and leaving with OK creates no file either.
        const std::string none = h.dir().toStdString() + "/none.toml";
        ApplicationRulesDialog d(w.context(), none, {}, &w);
        d.accept();
        QVERIFY(!std::filesystem::exists(none));
    }

    void aDamagedFileIsShownAndOnlyReplacedWhenTheUserSaysSo() {
        MainWindowHarness h;
        MainWindow& w = h.start();
        const std::string path = h.dir().toStdString() + "/rules.toml";
        const std::string text = "default-profile = 7\n[[rule]]\napplication = \"xterm\"\nprofile = 2\n";
        writeText(path, text);
        {
            ApplicationRulesDialog d(w.context(), path, twoRunning, &w);
            d.show();
            QVERIFY(!d.editable());
            QVERIFY(d.problemLabel()->isVisible());
            QVERIFY2(d.problemLabel()->text().contains(QStringLiteral("1:19: default-profile must be from 1 to 3")),
                     qPrintable(d.problemLabel()->text()));
            QVERIFY(!d.list()->isEnabled() && !d.addButton()->isEnabled() && !d.defaultProfileBox()->isEnabled());
            QCOMPARE(d.focusWidget(), static_cast<QWidget*>(d.replaceButton()));
            UserPrompts::setNextAnswer(QMessageBox::No);
            QTest::mouseClick(d.replaceButton(), Qt::LeftButton);
            QVERIFY(!d.editable());
            d.accept();
        }
        QCOMPARE(ReadFileBytes(path).bytes, text);

        ApplicationRulesDialog d(w.context(), path, twoRunning, &w);
        d.show();
        UserPrompts::setNextAnswer(QMessageBox::Yes);
        QTest::mouseClick(d.replaceButton(), Qt::LeftButton);
        QVERIFY(d.editable());
        QVERIFY(!d.problemLabel()->isVisible() && !d.replaceButton()->isVisible());
        QCOMPARE(rows(d), QStringList());
        QTest::keyClicks(d.applicationBox()->lineEdit(), QStringLiteral("xeyes"));
        QTest::keyClick(d.applicationBox()->lineEdit(), Qt::Key_Return);
        d.accept();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QVERIFY(apprules::LoadApplicationRules(path).rules == (ApplicationRules{{{"xeyes", 1}}, 1}));
    }

    void aFileChangedMeanwhileOrUnwritableIsNotLostAndTheReasonIsShown() {
        MainWindowHarness h;
        MainWindow& w = h.start();
        const std::string folder = h.dir().toStdString() + "/config";
        const std::string path = folder + "/rules.toml";
        ApplicationRulesDialog d(w.context(), path, {}, &w);
        d.show();
        QTest::keyClicks(d.applicationBox()->lineEdit(), QStringLiteral("xterm"));
        QTest::keyClick(d.applicationBox()->lineEdit(), Qt::Key_Return);

        // ombrelctl wrote the file meanwhile: the user is asked, and No keeps that file.
        const std::string other = "[[rule]]\napplication = \"eyes\"\nprofile = 3\n";
        writeText(path, other);
        UserPrompts::setNextAnswer(QMessageBox::No);
        d.accept();
        QVERIFY(d.isVisible());
        QCOMPARE(ReadFileBytes(path).bytes, other);
        QVERIFY(UserPrompts::shownMessages().last().contains(QStringLiteral("changed by another program")));

        // The folder's place is taken by a file: the save fails with the system's reason, the dialog stays.
        std::filesystem::remove_all(folder);
        writeText(folder, "");
        UserPrompts::setNextAnswer(QMessageBox::Yes);
        d.accept();
        QVERIFY(d.isVisible());
        QVERIFY2(UserPrompts::shownMessages().last().contains(QStringLiteral("Not a directory")),
                 qPrintable(UserPrompts::shownMessages().last()));
    }

    void everyControlHasANameAndTheOrderOfTabFollowsTheScreen() {
        MainWindowHarness h;
        MainWindow& w = h.start();
        const std::string path = h.dir().toStdString() + "/rules.toml";
        writeText(path, "[[rule]]\napplication = \"a\"\nprofile = 1\n[[rule]]\napplication = \"b\"\nprofile = 2\n");
        ApplicationRulesDialog d(w.context(), path, twoRunning, &w);
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        // A screen reader names each control: the lists and choosers by their accessible name, buttons by text.
        for (QWidget* control : d.findChildren<QWidget*>()) {
            if (control->focusPolicy() == Qt::NoFocus || qobject_cast<QLineEdit*>(control) ||
                qobject_cast<QLabel*>(control) || (control->inherits("QAbstractItemView") && control != d.list()))
                continue;
            const auto* button = qobject_cast<QPushButton*>(control);
            const QString name = button ? button->text() : control->accessibleName();
            QVERIFY2(!name.isEmpty(),
                     qPrintable(control->objectName() + QLatin1Char(' ') + control->metaObject()->className()));
        }
        QCOMPARE(d.profileBoxOf(1)->accessibleName(), QStringLiteral("Profile while b is in front"));
        QStringList order;
        d.list()->setFocus();
        for (int i = 0; i < 6; ++i) {
            QWidget* now = d.focusWidget();
            order << (now->objectName().isEmpty() ? now->accessibleName() : now->objectName());
            QTest::keyClick(now, Qt::Key_Tab);
        }
        // Move up is disabled, and so skipped, while the first rule is selected.
        QCOMPARE(order, (QStringList{"rulesList", "Profile while a is in front", "Profile while b is in front",
                                     "rulesDown", "rulesDelete", "rulesApplication"}));
    }
};

OMBREL_SCREEN_TEST_MAIN(ApplicationRulesDialogTest)
#include "ApplicationRulesDialogTest.moc"
