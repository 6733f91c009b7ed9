// The command buttons: Apply, Default, restore and backup, the backup menu, help and the links.
#include "MainWindowHarness.h"
#include "ScreenTest.h"

#include "AboutDialog.h"
#include "HelpLauncher.h"
#include "LightingPanel.h"
#include "LinkLabel.h"
#include "MainMessages.h"
#include "SkinButton.h"
#include "UserPrompts.h"

#include "keyboard/KeyTable.h"
#include "profiles/ProfileStore.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace ombrel;
using namespace ombrel::test;

namespace {

constexpr KeyCode kKeyA = 0x1E;

void Assign(AssignmentStore& store, int layer, KeyIndex index) {
    std::lock_guard lock(store.lock);
    KeyRecord record;
    record.type = KF_DISABLED;
    store.image.setRecord(RecordNumber(layer, index), record);
}

KeyRecord RecordOf(MainWindow& w, int layer, KeyIndex index) {
    std::lock_guard lock(w.stores().workingStore.lock);
    return w.stores().workingStore.image.record(RecordNumber(layer, index));
}

} // namespace

// The processes this one started that have ended but were not reaped ("pid (name)").
QStringList DefunctChildren() {
    QStringList found;
    const QString self = QString::number(QCoreApplication::applicationPid());
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly)) continue;
        const QString line = QString::fromLocal8Bit(stat.readAll());
        // pid (name) state ppid ...: the name may hold blanks, so the fields are counted from its closing bracket.
        const QStringList rest = line.mid(line.lastIndexOf(QLatin1Char(')')) + 2).split(QLatin1Char(' '));
        if (rest.size() > 1 && rest[0] == QLatin1String("Z") && rest[1] == self)
            found << line.left(line.lastIndexOf(QLatin1Char(')')) + 1);
    }
    return found;
}

class MainCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { UserPrompts::reset(); }

    void applyWithNothingPendingWritesNothing() {
        MainWindowHarness h;
        MainWindow& w = h.start(true);
        QTRY_VERIFY(w.isVisible());
        const unsigned before = h.emu().reportCount();
        w.commandBar().apply();
        QVERIFY(w.commandBar().progressPicture()->isVisible());
        QTRY_VERIFY(!w.commandBar().progressPicture()->isVisible());
        QCOMPARE(h.emu().reportCount(), before);
    }

    void applyWritesThePendingChangesAndOkHides() {
        MainWindowHarness h;
        MainWindow& w = h.start(true);
        QTRY_VERIFY(w.isVisible());
        Assign(w.stores().workingStore, 0, KeyIndexOf(kKeyA));
        w.context().pending().set(true);
        Click(w, "CONTROL_OK");
        QVERIFY(!w.context().pending().pending());
        QVERIFY(!w.isVisible());
        QVERIFY(h.keyboardKeymap(0) != h.factoryKeymap());
        // The store file was saved too: a fresh window reads it back from the keyboard and file alike.
        QVERIFY(QFile::exists(QString::fromStdString(StorePath(h.paths().userDir))));
    }

    void keyboardEventsDuringAWriteWaitForIt() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        h.emu().setLatencyMicros(1000); // a real keyboard's pace: the write takes a while
        for (int layer : {0, 1, 2})
            Assign(w.stores().workingStore, layer, KeyIndexOf(kKeyA));
        w.context().pending().set(true);
        // The bank key and an end request arrive while the keyboard is written: the first turn of an event loop
        // comes inside the write, which runs one while it waits.
        QSignalSpy ended(&w, &MainWindow::ended);
        QTimer::singleShot(0, [&] { h.emu().pressBankKey(); });
        QTimer::singleShot(0, [&] {
            AppMessageEvent kill(UM_KILL, kTagKill, 0);
            QCoreApplication::sendEvent(&w, &kill);
        });
        w.commandBar().apply();
        // The write was finished before the program ended.
        QVERIFY(h.keyboardKeymap(0) != h.factoryKeymap());
        QCOMPARE(ended.count(), 1);
        QCOMPARE(w.context().bank(), 1);
    }

    void killWithUnappliedEditsAsksInTheWindowFirst() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        QSignalSpy ended(&w, &MainWindow::ended);
        AppMessageEvent kill(UM_KILL, kTagKill, 0);
        Assign(w.stores().workingStore, 0, KeyIndexOf(kKeyA));
        w.context().pending().set(true);
        // Cancel: the program runs on with its edit, its window up where the question was asked.
        UserPrompts::setNextAnswer(QMessageBox::Cancel);
        QCoreApplication::sendEvent(&w, &kill);
        QCOMPARE(ended.count(), 0);
        QTRY_COMPARE(UserPrompts::shownMessages().size(), 1);
        QVERIFY(w.isVisible());
        QVERIFY(w.context().pending().pending());
        QCOMPARE(ended.count(), 0);
        // Apply: the edit reaches the keyboard before the end.
        UserPrompts::setNextAnswer(QMessageBox::Apply);
        QCoreApplication::sendEvent(&w, &kill);
        QTRY_COMPARE(ended.count(), 1);
        QVERIFY(h.keyboardKeymap(0) != h.factoryKeymap());
    }

    void forcedKillEndsWithoutAsking() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        QSignalSpy ended(&w, &MainWindow::ended);
        Assign(w.stores().workingStore, 0, KeyIndexOf(kKeyA));
        w.context().pending().set(true);
        AppMessageEvent kill(UM_KILL, kTagKillForced, 0);
        QCoreApplication::sendEvent(&w, &kill);
        QCOMPARE(ended.count(), 1);
        QVERIFY(UserPrompts::shownMessages().isEmpty());
        QCOMPARE(h.keyboardKeymap(0), h.factoryKeymap());
    }

    void editsOutliveAnUnplugAndAnApplyWithoutTheKeyboard() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        Assign(w.stores().workingStore, 0, KeyIndexOf(kKeyA));
        w.context().pending().set(true);
        w.show();
        h.emu().unplug();
        h.settle();
        // Apply, OK, and Apply from the closing question all say the keyboard is missing and keep the edits.
        const QString missing = QStringLiteral("The keyboard is not connected, so nothing was applied.");
        QVERIFY(!w.commandBar().apply());
        QVERIFY(UserPrompts::shownMessages().last().startsWith(missing));
        UserPrompts::reset();
        Click(w, "CONTROL_OK");
        QVERIFY(UserPrompts::shownMessages().last().startsWith(missing));
        QVERIFY(w.isVisible());
        UserPrompts::setNextAnswer(QMessageBox::Apply);
        w.captionBar().button(CaptionBar::Button::Close)->click();
        QVERIFY(UserPrompts::shownMessages().last().startsWith(missing));
        QVERIFY(!w.hasEnded());
        QVERIFY(w.context().pending().pending());
        QVERIFY(w.commandBar().button(CommandBar::Button::Apply)->isEnabled());

        // The keyboard back: the edit and its Apply are still there, and Apply now writes it.
        h.emu().plug();
        h.settle();
        QTRY_VERIFY(!w.showsKeyboardGone());
        QVERIFY(w.context().pending().pending());
        QCOMPARE(RecordOf(w, 0, KeyIndexOf(kKeyA)).type, KF_DISABLED);
        QCOMPARE(h.keyboardKeymap(0), h.factoryKeymap());
        // Present but refusing: Apply says the keyboard did not take the changes, and keeps them.
        UserPrompts::reset();
        h.emu().injectFault(EMU_FAULT_NONE, 0); // the bracket's begin
        for (int i = 0; i < 12; ++i)
            h.emu().injectFault(EMU_FAULT_STATUS_FF, 0); // the writes and their retries
        QVERIFY(!w.commandBar().apply());
        QVERIFY(!UserPrompts::shownMessages().isEmpty());
        QVERIFY(UserPrompts::shownMessages().last().startsWith(QStringLiteral("The keyboard did not take")));
        QVERIFY(w.context().pending().pending());
        h.emu().injectFault(EMU_FAULT_NONE, 0);
        for (int i = 0; i < 64 && w.context().pending().pending(); ++i)
            w.commandBar().apply(); // uses up what is left of the injected refusals
        QVERIFY(!w.context().pending().pending());
        QVERIFY(h.keyboardKeymap(0) != h.factoryKeymap());
    }

    void cancelKeepsTheEditsAndSaysSoUntilTheyAreAppliedOrDiscarded() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        w.showWindow();
        QVERIFY(w.commandBar().button(CommandBar::Button::Cancel)->instantToolTip().contains(QStringLiteral("kept")));
        auto* note = w.findChild<QLabel*>(QStringLiteral("pendingNote"));
        QVERIFY(note);
        struct Case {
            const char* what;
            std::function<void()> settle;
            KeyRecord after;
        };
        const Case cases[] = {
            {"applied", [&] { Click(w, "CONTROL2_APPLY"); }, {KF_DISABLED}},
            {"discarded from the menu",
             [&] {
                 UserPrompts::setNextMenuChoice(kCmdDiscard);
                 Click(w, "CONTROL_MENU");
             },
             {KF_DEFAULT}},
        };
        for (const Case& c : cases) {
            Assign(w.stores().workingStore, 0, KeyIndexOf(kKeyA));
            w.context().pending().set(true);
            Click(w, "CONTROL_CANCEL");
            QVERIFY2(!w.isVisible(), c.what);
            w.showWindow();
            QVERIFY2(note->isVisible() && note->text().startsWith(QStringLiteral("Unapplied changes")), c.what);
            QVERIFY(w.commandBar().button(CommandBar::Button::Apply)->isEnabled());
            c.settle();
            QVERIFY2(!w.context().pending().pending(), c.what);
            QVERIFY2(!note->isVisible(), c.what);
            QCOMPARE(RecordOf(w, 0, KeyIndexOf(kKeyA)).type, c.after.type);
            // Applied stays applied on the keyboard; discarded never reached it.
            QCOMPARE(h.keyboardKeymap(0) == h.factoryKeymap(), c.after.type == KF_DEFAULT);
            if (c.after.type == KF_DISABLED) {
                // Put the keyboard back for the next case.
                {
                    auto& working = w.stores().workingStore;
                    std::lock_guard lock(working.lock);
                    working.image.setRecord(RecordNumber(0, KeyIndexOf(kKeyA)), KeyRecord{});
                }
                w.context().pending().set(true);
                w.commandBar().apply();
            }
        }
    }

    // A client of the bus changed the keyboard: the window reloads; an unapplied edit stays, and the note says why
    // the window no longer shows what the keyboard holds. Without an edit there is nothing to say.
    void aChangeElsewhereKeepsTheUnappliedEditAndSaysSo() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        w.showWindow();
        auto* note = w.findChild<QLabel*>(QStringLiteral("pendingNote"));
        QVERIFY(note);
        w.showChangedElsewhere();
        h.settle();
        QVERIFY(!note->isVisible());

        Assign(w.stores().workingStore, 0, KeyIndexOf(kKeyA));
        w.context().pending().set(true);
        w.showChangedElsewhere();
        h.settle();
        QVERIFY(note->isVisible());
        QVERIFY2(note->text().startsWith(QStringLiteral("The keyboard was changed elsewhere")),
                 qPrintable(note->text()));
        QVERIFY(w.context().pending().pending());
        QCOMPARE(RecordOf(w, 0, KeyIndexOf(kKeyA)).type, KF_DISABLED);
        QCOMPARE(h.keyboardKeymap(0), h.factoryKeymap());
        QVERIFY(w.commandBar().button(CommandBar::Button::Apply)->isEnabled());
    }

    void defaultAnsweredNoChangesNothing() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        Assign(w.stores().workingStore, 0, KeyIndexOf(kKeyA));
        UserPrompts::setNextAnswer(QMessageBox::No);
        Click(w, "FUNC_DEFAULT");
        QCOMPARE(UserPrompts::shownMessages().size(), 1);
        QCOMPARE(RecordOf(w, 0, KeyIndexOf(kKeyA)).type, KF_DISABLED);
        QVERIFY(!w.context().pending().pending());
    }

    void defaultAnsweredYesClearsTheActiveProfileAndApplies() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        // The keyboard holds an assignment in profile 1 and 2; the store shows it in both.
        for (int layer : {0, 1})
            Assign(w.stores().workingStore, layer, KeyIndexOf(kKeyA));
        Assign(w.stores().workingStore, 0, GKeyIndex(0, 0));
        w.context().pending().set(true);
        w.commandBar().apply();
        QVERIFY(h.keyboardKeymap(0) != h.factoryKeymap());
        // With the lighting panel on, Default resets the lighting too.
        w.lightingPanel().setPanelOn(true);
        w.lightingPanel().reportRateButton(2)->click();
        QVERIFY(w.lightingPanel().reportRateButton(2)->hasCheckedLook());

        UserPrompts::setNextAnswer(QMessageBox::Yes);
        Click(w, "FUNC_DEFAULT");
        QCOMPARE(RecordOf(w, 0, KeyIndexOf(kKeyA)).type, KF_DEFAULT);
        QCOMPARE(RecordOf(w, 0, GKeyIndex(0, 0)).type, KF_DEFAULT);
        QCOMPARE(RecordOf(w, 1, KeyIndexOf(kKeyA)).type, KF_DISABLED); // other profiles keep theirs
        QVERIFY(!w.map().button(GKeyControls()[0])->hasCheckedLook());
        QVERIFY(w.lightingPanel().reportRateButton(0)->hasCheckedLook());
        QVERIFY(!w.lightingPanel().reportRateButton(2)->hasCheckedLook());
        std::uint8_t block[42] = {};
        h.emu().readMemory(EMU_AREA_LIGHTING, 0, block, sizeof block);
        QCOMPARE(block[0], std::uint8_t{1});
        QCOMPARE(block[15], std::uint8_t{0});
        QVERIFY(!w.context().pending().pending());
        QCOMPARE(h.keyboardKeymap(0), h.factoryKeymap());
    }

    void restoreOfARejectedFileKeepsTheStore() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        Assign(w.stores().workingStore, 0, KeyIndexOf(kKeyA));
        const QString bad = h.dir() + QStringLiteral("/bad.obp");
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(40000, '\x5A'));
        file.close();
        const unsigned before = h.emu().reportCount();
        for (const QString& path : {bad, h.dir() + QStringLiteral("/missing.obp")}) {
            UserPrompts::reset();
            UserPrompts::setNextFileName(path);
            w.backupActions().restore();
            QVERIFY(UserPrompts::shownMessages().last().startsWith(QStringLiteral("This file could not be restored")));
            QCOMPARE(RecordOf(w, 0, KeyIndexOf(kKeyA)).type, KF_DISABLED);
        }
        QCOMPARE(h.emu().reportCount(), before);
    }

    void backupThenRestoreWritesAllThreeProfiles() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        for (int layer : {0, 1, 2})
            Assign(w.stores().workingStore, layer, KeyIndexOf(kKeyA));
        const QString path = h.dir() + QStringLiteral("/backup.obp");
        UserPrompts::setNextFileName(path);
        w.backupActions().backup();
        QVERIFY(QFile::exists(path));
        QCOMPARE(UserPrompts::shownMessages(),
                 QStringList{QStringLiteral("The key functions and macros of all three profiles were backed "
                                            "up to %1.")
                                 .arg(path) +
                             QStringLiteral("\n\nA profile file (.obp) keeps the key functions and macros only: "
                                            "the lighting and the key colours are left out. Back up to a "
                                            "whole-keyboard file (.toml) to keep them too.")});

        MainWindow& fresh = h.start(true, true);
        QCOMPARE(RecordOf(fresh, 0, KeyIndexOf(kKeyA)).type, KF_DEFAULT);
        fresh.context().pending().set(true);
        // Answered No, the question leaves the store and the keyboard alone.
        const unsigned before = h.emu().reportCount();
        UserPrompts::reset();
        UserPrompts::setNextFileName(path);
        UserPrompts::setNextAnswer(QMessageBox::No);
        fresh.backupActions().restore();
        QVERIFY(UserPrompts::shownMessages().last().startsWith(QStringLiteral("Restore all three profiles from")));
        QCOMPARE(RecordOf(fresh, 0, KeyIndexOf(kKeyA)).type, KF_DEFAULT);
        QCOMPARE(h.emu().reportCount(), before);

        UserPrompts::setNextFileName(path);
        UserPrompts::setNextAnswer(QMessageBox::Yes);
        fresh.backupActions().restore();
        for (int profile : {0, 1, 2}) {
            QVERIFY(h.keyboardKeymap(profile) != h.factoryKeymap());
            QCOMPARE(RecordOf(fresh, profile, KeyIndexOf(kKeyA)).type, KF_DISABLED);
        }
        QVERIFY(!fresh.context().pending().pending());
        QCOMPARE(UserPrompts::shownMessages().last(),
                 QStringLiteral("All three profiles were restored from %1.").arg(path));
    }

    void aDamagedFileIsOnlyRestoredWhenTheUserSaysSo() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        const QString path = h.dir() + QStringLiteral("/damaged.obp");
        UserPrompts::setNextFileName(path);
        w.backupActions().backup();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        file.seek(64 + 16 * KeyIndexOf(kKeyA));
        file.write("\x09", 1); // an unknown kind of function
        file.close();
        UserPrompts::reset();
        const unsigned before = h.emu().reportCount();
        UserPrompts::setNextFileName(path);
        w.backupActions().restore(); // headless: the question is answered with its default, No
        const QString asked = UserPrompts::shownMessages().last();
        QVERIFY(asked.startsWith(path + QStringLiteral(" is damaged")));
        QVERIFY2(asked.contains(QStringLiteral("profile 1, key 0x01E: unknown kind of function 0x0009")),
                 qPrintable(asked));
        QCOMPARE(h.emu().reportCount(), before);
    }

    void closingWithUnappliedChangesAsksFirst() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        QSignalSpy ended(&w, &MainWindow::ended);
        Assign(w.stores().workingStore, 0, KeyIndexOf(kKeyA));
        w.context().pending().set(true);
        UserPrompts::setNextAnswer(QMessageBox::Cancel);
        Click(w, "CONTROL_CLOSE");
        QVERIFY(UserPrompts::shownMessages().last().startsWith(QStringLiteral("Some changes have not been applied")));
        QCOMPARE(ended.count(), 0);
        QVERIFY(w.context().pending().pending());
        UserPrompts::setNextAnswer(QMessageBox::Apply);
        Click(w, "CONTROL_CLOSE");
        QTRY_COMPARE(ended.count(), 1);
        QVERIFY(h.keyboardKeymap(0) != h.factoryKeymap());

        MainWindow& fresh = h.start(true, true);
        QSignalSpy freshEnded(&fresh, &MainWindow::ended);
        Assign(fresh.stores().workingStore, 0, KeyIndexOf(0x1F));
        fresh.context().pending().set(true);
        const unsigned before = h.emu().reportCount();
        UserPrompts::setNextAnswer(QMessageBox::Discard);
        Click(fresh, "CONTROL_CLOSE");
        QTRY_COMPARE(freshEnded.count(), 1);
        QCOMPARE(h.emu().reportCount(), before);
    }

    void backupToAFolderThatCannotBeWrittenSaysSo() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        UserPrompts::setNextFileName(h.dir() + QStringLiteral("/no/such/folder/backup.obp"));
        w.backupActions().backup();
        QCOMPARE(UserPrompts::shownMessages().size(), 1);
        QVERIFY2(UserPrompts::shownMessages().first().endsWith(QStringLiteral("No such file or directory")),
                 qPrintable(UserPrompts::shownMessages().first()));
        // Cancel in the file dialog does nothing at all.
        UserPrompts::setNextFileName(QString());
        w.backupActions().backup();
        QCOMPARE(UserPrompts::shownMessages().size(), 1);
    }

    void backupMenuOffersRestoreBackupAndFirmware() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        UserPrompts::setNextMenuChoice(-1);
        Click(w, "CONTROL_MENU");
        // Then, after a separator, the language and the session start.
        QCOMPARE(
            UserPrompts::lastMenuTexts(),
            (QStringList{QStringLiteral("Restore from file..."), QStringLiteral("Back up to file..."),
                         QStringLiteral("Firmware update..."), QStringLiteral("History of writes..."),
                         QStringLiteral("Switch profiles with the application..."), QStringLiteral("Discard changes"),
                         QString(), QStringLiteral("Language"), QStringLiteral("Start with my session")}));
        const QString path = h.dir() + QStringLiteral("/menu.obp");
        UserPrompts::setNextMenuChoice(kCmdBackup);
        UserPrompts::setNextFileName(path);
        Click(w, "CONTROL_MENU");
        QVERIFY(QFile::exists(path));
    }

    void helpAndTheLinkOpenWhatTheySay() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        Click(w, "CONTROL_HELP");
        QCOMPARE(UserPrompts::openedUrls().size(), 1);
        const QUrl help = UserPrompts::openedUrls().at(0);
        QVERIFY(help.isLocalFile());
        QVERIFY(help.toLocalFile().endsWith(QStringLiteral("Help/index.html")));
        QVERIFY(QFile::exists(help.toLocalFile()));

        // The program's own skin names no web page: the link is About, which tells the version and the build.
        auto* link = w.findChild<SkinButton*>(QStringLiteral("SORVIK_LINK"));
        QCOMPARE(link->text(), QStringLiteral("About Ombrel"));
        Click(w, "SORVIK_LINK");
        QCOMPARE(UserPrompts::openedUrls().size(), 1);
        AboutDialog* about = w.shell().aboutDialog();
        QVERIFY(about && about->isVisible());
        QCOMPARE(about->version()->text(), QStringLiteral("Version " OMBREL_VERSION));
        const auto* build = about->findChild<QLabel*>(QStringLiteral("aboutBuild"));
        QVERIFY(build->text().contains(QStringLiteral("Qt ")));
        QVERIFY(build->text().contains(QRegularExpression(QStringLiteral("GCC|Clang"))));
        for (const QLabel* label : about->findChildren<QLabel*>())
            QVERIFY2(!label->text().contains(QStringLiteral(".invalid")), qPrintable(label->text()));

        // F1 asks for the same help page in the main window and in About, and so does About's Help button.
        w.showWindow();
        QTest::keyClick(&w, Qt::Key_F1);
        QTest::keyClick(about, Qt::Key_F1);
        about->findChild<QPushButton*>(QStringLiteral("aboutHelp"))->click();
        QVERIFY(about->isVisible());
        QCOMPARE(UserPrompts::openedUrls(), (QList<QUrl>{help, help, help, help}));
    }

    void aboutsWebLinkOpensThroughThePrompts() {
        // A skin that names a web page: a click or Enter on the link opens it the program's one way.
        UserPrompts::setHeadless(true);
        UserPrompts::openedUrls().clear();
        AboutDialog about(QString(), QStringLiteral("https://example.org/ombrel"), 0);
        auto* link = about.findChild<LinkLabel*>();
        QVERIFY(link && !link->isHidden());
        QTest::keyClick(link, Qt::Key_Return);
        QTest::mouseClick(link, Qt::LeftButton);
        const QUrl page(QStringLiteral("https://example.org/ombrel"));
        QCOMPARE(UserPrompts::openedUrls(), (QList<QUrl>{page, page}));
    }

    void helpThatCannotBeOpenedSaysSoWithThePagesPath_data() {
        QTest::addColumn<QString>("opener");
        QTest::addColumn<bool>("fails");
        QTest::newRow("the opener hands the page on") << QStringLiteral("true") << false;
        QTest::newRow("no browser takes the page") << QStringLiteral("false") << true;
        QTest::newRow("no opener installed") << QStringLiteral("/nonexistent/xdg-open") << true;
    }

    void helpThatCannotBeOpenedSaysSoWithThePagesPath() {
        QFETCH(QString, opener);
        QFETCH(bool, fails);
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        HelpLauncher::setOpenerProgram(opener);
        Click(w, "CONTROL_HELP");
        if (fails) {
            QTRY_COMPARE(UserPrompts::shownMessages().size(), 1);
            const QString message = UserPrompts::shownMessages().constFirst();
            const QString page = QDir(QString::fromStdString(h.paths().helpDir)).filePath(QStringLiteral("index.html"));
            QVERIFY2(message.contains(page), qPrintable(message));
            QVERIFY2(message.contains(QStringLiteral("could not be opened")), qPrintable(message));
        } else {
            QTest::qWait(300);
            QCOMPARE(UserPrompts::shownMessages(), QStringList());
        }
        // Whatever became of the opener, it was reaped: no defunct child is left behind.
        QTRY_COMPARE(DefunctChildren(), QStringList());
        HelpLauncher::setOpenerProgram(QString());
    }
};

OMBREL_SCREEN_TEST_MAIN(MainCommandsTest)
#include "MainCommandsTest.moc"
