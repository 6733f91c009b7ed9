// The main window's life: start with and without the keyboard, arrival and removal, the messages and their tags,
// the tray icon, the About window, the keys the window swallows, and no timers while hidden.
#include "MainWindowHarness.h"

#include "CAboutDlg.h"
#include "CPngButton.h"
#include "CTrayIcon.h"
#include "MainMessages.h"
#include "UserPrompts.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

using namespace ombrel;
using namespace ombrel::test;

namespace {

void Send(COmbrelDlg& window, int message, std::uintptr_t wParam, std::intptr_t lParam = 0) {
    AppMessageEvent event(message, wParam, lParam);
    QCoreApplication::sendEvent(&window, &event);
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() { UserPrompts::reset(); }

    void startWithKeyboardShowsTheWindowOnce() {
        MainWindowHarness h;
        COmbrelDlg& w = h.start(true);
        QTRY_VERIFY(w.isVisible());
        QCOMPARE(w.tray().currentIcon(), 141);
        QVERIFY(w.tray().tip().contains(QStringLiteral("Ombrel")));
        // The active profile's button is checked and Apply has nothing to do.
        QVERIFY(w.map().button(kIdProfile1)->IsChecked());
        QVERIFY(!w.applyPending());
        // Removal hides it and shows the no-keyboard icon; a new arrival does not show it again.
        h.emu().unplug();
        h.settle();
        QTRY_VERIFY(!w.isVisible());
        QTRY_COMPARE(w.tray().currentIcon(), 128);
        h.emu().plug();
        h.settle();
        QTRY_COMPARE(w.tray().currentIcon(), 141);
        QTest::qWait(50);
        QVERIFY(!w.isVisible());
    }

    void startWithoutKeyboardStaysInTheTray() {
        MainWindowHarness h;
        COmbrelDlg& w = h.start(false);
        QVERIFY(!w.isVisible());
        QCOMPARE(w.tray().currentIcon(), 128);
        // Open from the tray only says that no keyboard was found.
        w.OnCommand(kCmdTrayOpen);
        QVERIFY(!w.isVisible());
        QCOMPARE(UserPrompts::shownMessages().size(), 1);
        QVERIFY(UserPrompts::shownMessages().constFirst().startsWith(QStringLiteral("No keyboard")));
        // Its later arrival reads the keyboard and sets the icon, but does not show the window.
        h.emu().plug();
        h.settle();
        QTRY_COMPARE(w.tray().currentIcon(), 141);
        QTest::qWait(50);
        QVERIFY(!w.isVisible());
        w.OnCommand(kCmdTrayOpen);
        QVERIFY(w.isVisible());
    }

    void startSwitchKeepsTheWindowHidden() {
        MainWindowHarness h;
        COmbrelDlg& w = h.start(true, /*autoShowDone=*/true);
        QTest::qWait(50);
        QVERIFY(!w.isVisible());
        QCOMPARE(w.tray().currentIcon(), 141);
    }

    void withoutATrayTheWindowStaysReachable() {
        MainWindowHarness h;
        // Shown at start even without a keyboard and with "/Start": it is the only way to the program.
        COmbrelDlg& w = h.start(false, true, /*tray=*/false);
        QTRY_VERIFY(w.isVisible());
        QVERIFY(UserPrompts::shownMessages().isEmpty());
        // Cancel puts it away as a minimised window, not out of reach.
        w.OnCommand(IDCANCEL);
        QVERIFY(w.isVisible());
        // Closing it from the desktop ends the program.
        QSignalSpy ended(&w, &COmbrelDlg::ended);
        w.close();
        QCOMPARE(ended.count(), 1);
    }

    void messagesWithAWrongTagAreIgnored() {
        MainWindowHarness h;
        COmbrelDlg& w = h.start(true, true);
        QSignalSpy ended(&w, &COmbrelDlg::ended);
        const std::pair<int, std::uintptr_t> wrong[] = {{UM_OPEN, kTagKill}, {UM_KILL, kTagOpen}, {UM_INIT, 0},
                                                        {UM_PROF, kTagDel},  {UM_DEL, kTagProf},  {UM_DETACH, 1},
                                                        {UM_LANG, 0}};
        for (const auto& [message, tag] : wrong)
            Send(w, message, tag, 3);
        QVERIFY(!w.isVisible());
        QCOMPARE(ended.count(), 0);
        QVERIFY(UserPrompts::shownMessages().isEmpty());
        // The right tags do act.
        Send(w, UM_OPEN, kTagOpen);
        QVERIFY(w.isVisible());
        Send(w, UM_KILL, kTagKill);
        QCOMPARE(ended.count(), 1);
        QVERIFY(!w.isVisible());
    }

    void oldFirmwareAsksForAnUpdateAndCancelEnds() {
        MainWindowHarness h;
        COmbrelDlg& w = h.start(true, true);
        const std::uint8_t old[2] = {0x0F, 0x01}; // 0x010F
        h.emu().writeMemory(EMU_AREA_CONFIG, 8, old, 2);
        QSignalSpy ended(&w, &COmbrelDlg::ended);
        // OK: the updater is looked for in the help folder and the program runs on.
        UserPrompts::setNextAnswer(QMessageBox::Ok);
        Send(w, UM_OPEN, kTagOpen);
        QCOMPARE(UserPrompts::shownMessages(), QStringList{QStringLiteral("The current version is too low!")});
        QVERIFY(w.isVisible());
        QCOMPARE(ended.count(), 0);
        // Cancel ends the program.
        UserPrompts::setNextAnswer(QMessageBox::Cancel);
        Send(w, UM_OPEN, kTagOpen);
        QCOMPARE(ended.count(), 1);
    }

    void openWithoutKeyboardOnlySaysSo() {
        MainWindowHarness h;
        COmbrelDlg& w = h.start(false);
        QSignalSpy ended(&w, &COmbrelDlg::ended);
        Send(w, UM_OPEN, kTagOpen);
        // No firmware question: without an answer from the keyboard its firmware is unknown.
        QCOMPARE(UserPrompts::shownMessages().size(), 1);
        QVERIFY(UserPrompts::shownMessages().constFirst().startsWith(QStringLiteral("No keyboard")));
        QVERIFY(!w.isVisible());
        QCOMPARE(ended.count(), 0);
    }

    void activityNotificationsChangeTheTrayIcon() {
        MainWindowHarness h;
        COmbrelDlg& w = h.start(true, true);
        h.emu().sendConsumer(6161);
        QTRY_COMPARE(w.tray().currentIcon(), 142);
        h.emu().sendConsumer(6160);
        QTRY_COMPARE(w.tray().currentIcon(), 141);
        // 6160 without a 6161 before it leaves the icon as it is.
        h.emu().sendConsumer(6160);
        QTest::qWait(30);
        QCOMPARE(w.tray().currentIcon(), 141);
    }

    void trayMenuHasItsTextsAndAboutOpensOnce() {
        MainWindowHarness h;
        COmbrelDlg& w = h.start(true, true);
        QMenu* menu = w.tray().menu();
        emit menu->aboutToShow();
        QStringList texts;
        for (QAction* a : menu->actions())
            texts << a->text();
        QCOMPARE(texts, (QStringList{QStringLiteral("Open"), QStringLiteral("About"), QStringLiteral("Exit")}));
        QVERIFY(menu->actions().constFirst()->font().bold());
        QCOMPARE(menu->defaultAction(), menu->actions().constFirst());

        w.OnCommand(kCmdTrayAbout);
        CAboutDlg* about = w.aboutDialog();
        QVERIFY(about && about->isVisible());
        w.OnCommand(kCmdTrayAbout);
        QCOMPARE(w.aboutDialog(), about);
        QCOMPARE(CAboutDlg::openCount(), 1);
        // The keyboard's removal closes it.
        h.emu().unplug();
        h.settle();
        QTRY_VERIFY(!w.aboutDialog() || !w.aboutDialog()->isVisible());

        QSignalSpy ended(&w, &COmbrelDlg::ended);
        menu->actions().last()->trigger();
        QCOMPARE(ended.count(), 1);
        QVERIFY(!w.tray().enabled());
    }

    void doubleClickOpensTheWindow() {
        MainWindowHarness h;
        COmbrelDlg& w = h.start(true, true);
        w.tray().OnDoubleClick();
        QVERIFY(w.isVisible());
    }

    void enterAndEscapeNeitherCloseNorHide() {
        MainWindowHarness h;
        COmbrelDlg& w = h.start(true);
        QTRY_VERIFY(w.isVisible());
        for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(&w, static_cast<Qt::Key>(key));
            QVERIFY(w.isVisible());
        }
        // Cancel only hides; Close ends the program.
        QSignalSpy ended(&w, &COmbrelDlg::ended);
        w.OnCommand(IDCANCEL);
        QVERIFY(!w.isVisible());
        QCOMPARE(ended.count(), 0);
        w.OnCommand(kIdClose);
        QCOMPARE(ended.count(), 1);
    }

    void noTimerRunsWhileHidden() {
        MainWindowHarness h;
        COmbrelDlg& w = h.start(true);
        QTRY_VERIFY(w.isVisible());
        w.OnCommand(kIdApply);
        h.emu().sendConsumer(1025); // the lighting reload
        w.OnCommand(IDCANCEL);
        QTest::qWait(150);
        for (QTimer* timer : w.findChildren<QTimer*>())
            QVERIFY2(!timer->isActive(), qPrintable(timer->objectName()));
        QVERIFY(!w.progressPicture()->isVisible());
    }

    void unbuiltPartsAreVisibleButOff() {
        MainWindowHarness h;
        COmbrelDlg& w = h.start(true);
        QVERIFY(!w.lightingControls().isEmpty());
        for (QWidget* control : w.lightingControls()) {
            QVERIFY(!control->isHidden());
            QVERIFY(!control->isEnabled());
        }
        QVERIFY(!w.functionButton(kIdProfileList)->isEnabled());
        // A key in the key view opens nothing yet: no message, no change.
        w.OnCommand(GKeyControls()[2]);
        QVERIFY(UserPrompts::shownMessages().isEmpty());
        QVERIFY(!w.applyPending());
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
