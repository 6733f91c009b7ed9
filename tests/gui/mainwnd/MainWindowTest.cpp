// The main window's life: start with and without the keyboard, arrival and removal, the messages and their tags,
// the tray icon, the About window, the keys the window swallows, and no timers while hidden.
#include "MainWindowHarness.h"
#include "ScreenTest.h"

#include "AboutDialog.h"
#include "MainMessages.h"
#include "MapKeyFocus.h"
#include "SkinButton.h"
#include "TrayIcon.h"
#include "UserPrompts.h"

#include "doctor/LocalDoctorSystem.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMap>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

using namespace ombrel;
using namespace ombrel::test;

namespace {

void Send(MainWindow& window, int message, std::uintptr_t tag, std::intptr_t value = 0) {
    AppMessageEvent event(message, tag, value);
    QCoreApplication::sendEvent(&window, &event);
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() { UserPrompts::reset(); }

    void startWithKeyboardShowsTheWindowOnce() {
        MainWindowHarness h;
        MainWindow& w = h.start(true);
        QTRY_VERIFY(w.isVisible());
        QCOMPARE(w.shell().tray().currentIcon(), 141);
        QVERIFY(w.shell().tray().tip().contains(QStringLiteral("Ombrel")));
        // The active profile's button is checked and Apply has nothing to do.
        QVERIFY(w.profileBar().profileButton(0)->hasCheckedLook());
        QVERIFY(!w.context().pending().pending());
        // Removal leaves the open window where it is and says so over its controls; the icon shows no keyboard.
        h.emu().unplug();
        h.settle();
        QTRY_COMPARE(w.shell().tray().currentIcon(), 128);
        QVERIFY(w.isVisible());
        QVERIFY(w.showsKeyboardGone());
        const auto* notice = w.findChild<QLabel*>(QStringLiteral("unpluggedText"));
        QVERIFY(notice && notice->text().startsWith(QStringLiteral("The keyboard was unplugged")));
        // The note covers everything below the caption bar, whose buttons stay usable.
        const QWidget* cover = notice->parentWidget();
        const SkinButton* close = w.captionBar().button(CaptionBar::Button::Close);
        QCOMPARE(cover->geometry().bottom(), w.rect().bottom());
        QVERIFY(!cover->geometry().intersects(close->geometry()));
        // Back: the note goes and the window is as it was.
        h.emu().plug();
        h.settle();
        QTRY_COMPARE(w.shell().tray().currentIcon(), 141);
        QTRY_VERIFY(!w.showsKeyboardGone());
        QVERIFY(w.isVisible());
        // The focus lands on the map, where Enter opens a key, never on Default or another command.
        QVERIFY(w.focusWidget());
        QVERIFY2(w.focusWidget() == w.map().keyFocus().current(), qPrintable(w.focusWidget()->objectName()));
        // A hidden window is left hidden: the automatic showing happens once per run.
        w.hideWindow();
        h.emu().unplug();
        h.settle();
        QTRY_COMPARE(w.shell().tray().currentIcon(), 128);
        QVERIFY(!w.showsKeyboardGone());
        h.emu().plug();
        h.settle();
        QTRY_COMPARE(w.shell().tray().currentIcon(), 141);
        QTest::qWait(50);
        QVERIFY(!w.isVisible());
    }

    void startWithoutKeyboardOpensWhenItArrives() {
        MainWindowHarness h;
        MainWindow& w = h.start(false);
        QVERIFY(!w.isVisible());
        QCOMPARE(w.shell().tray().currentIcon(), 128);
        // Open from the tray says that no keyboard was found, with what stands in the way on this computer.
        TrayMenu(w, kCmdTrayOpen);
        QVERIFY(!w.isVisible());
        QCOMPARE(UserPrompts::shownMessages().size(), 1);
        const QString message = UserPrompts::shownMessages().constFirst();
        QVERIFY(message.startsWith(QStringLiteral("No keyboard")));
        DoctorSystem system = LocalDoctorSystem(h.paths());
        system.tray = DesktopTray::Present;
        for (const DoctorFinding& finding : RunDoctor(system).findings) {
            if (finding.level != DoctorFinding::Level::Problem) continue;
            QVERIFY2(message.contains(QStringLiteral("Checked on this computer:")), qPrintable(message));
            QVERIFY2(message.contains(QString::fromStdString(finding.text)), qPrintable(message));
            QVERIFY2(message.contains(QString::fromStdString(finding.fix)), qPrintable(message));
        }
        // Its later arrival reads the keyboard, sets the icon and opens the window, as the help says.
        h.emu().plug();
        h.settle();
        QTRY_COMPARE(w.shell().tray().currentIcon(), 141);
        QTRY_VERIFY(w.isVisible());
    }

    void startSwitchKeepsTheWindowHidden() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, /*autoShowDone=*/true);
        QTest::qWait(50);
        QVERIFY(!w.isVisible());
        QCOMPARE(w.shell().tray().currentIcon(), 141);
        // Also when the keyboard comes only later.
        h.start(false, /*autoShowDone=*/true);
        h.emu().plug();
        h.settle();
        QTRY_COMPARE(h.window().shell().tray().currentIcon(), 141);
        QTest::qWait(50);
        QVERIFY(!h.window().isVisible());
    }

    void withoutATrayTheWindowStaysReachable() {
        MainWindowHarness h;
        // Shown at start even without a keyboard and with "/Start": it is the only way to the program.
        MainWindow& w = h.start(false, true, /*tray=*/false);
        QTRY_VERIFY(w.isVisible());
        QVERIFY(UserPrompts::shownMessages().isEmpty());
        // Cancel puts it away as a minimised window, not out of reach.
        Click(w, "CONTROL_CANCEL");
        QVERIFY(w.isVisible());
        // Closing it from the desktop ends the program.
        QSignalSpy ended(&w, &MainWindow::ended);
        w.close();
        QCOMPARE(ended.count(), 1);
    }

    void messagesWithAWrongTagAreIgnored() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        QSignalSpy ended(&w, &MainWindow::ended);
        const std::pair<int, std::uintptr_t> wrong[] = {
            {UM_OPEN, kTagKill}, {UM_KILL, kTagOpen}, {UM_PROF, kTagDel}, {UM_DEL, kTagProf}, {UM_DETACH, 1}};
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
        MainWindow& w = h.start(true, true);
        const std::uint8_t old[2] = {0x0F, 0x01}; // 0x010F
        h.emu().writeMemory(EMU_AREA_CONFIG, 8, old, 2);
        QSignalSpy ended(&w, &MainWindow::ended);
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
        MainWindow& w = h.start(false);
        QSignalSpy ended(&w, &MainWindow::ended);
        Send(w, UM_OPEN, kTagOpen);
        // No firmware question: without an answer from the keyboard its firmware is unknown.
        QCOMPARE(UserPrompts::shownMessages().size(), 1);
        QVERIFY(UserPrompts::shownMessages().constFirst().startsWith(QStringLiteral("No keyboard")));
        QVERIFY(!w.isVisible());
        QCOMPARE(ended.count(), 0);
    }

    void activityNotificationsChangeTheTrayIcon() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        h.emu().sendConsumer(6161);
        QTRY_COMPARE(w.shell().tray().currentIcon(), 142);
        h.emu().sendConsumer(6160);
        QTRY_COMPARE(w.shell().tray().currentIcon(), 141);
        // 6160 without a 6161 before it leaves the icon as it is.
        h.emu().sendConsumer(6160);
        QTest::qWait(30);
        QCOMPARE(w.shell().tray().currentIcon(), 141);
    }

    void trayMenuHasItsTextsAndAboutOpensOnce() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        QMenu* menu = w.shell().tray().menu();
        emit menu->aboutToShow();
        QStringList texts;
        for (QAction* a : menu->actions())
            texts << a->text();
        QCOMPARE(texts, (QStringList{QStringLiteral("Open"), QStringLiteral("About"), QStringLiteral("Exit")}));
        QVERIFY(menu->actions().constFirst()->font().bold());
        QCOMPARE(menu->defaultAction(), menu->actions().constFirst());

        TrayMenu(w, kCmdTrayAbout);
        AboutDialog* about = w.shell().aboutDialog();
        QVERIFY(about && about->isVisible());
        TrayMenu(w, kCmdTrayAbout);
        QCOMPARE(w.shell().aboutDialog(), about);
        QCOMPARE(AboutDialog::openCount(), 1);
        // The keyboard's removal closes it.
        h.emu().unplug();
        h.settle();
        QTRY_VERIFY(!w.shell().aboutDialog() || !w.shell().aboutDialog()->isVisible());

        QSignalSpy ended(&w, &MainWindow::ended);
        menu->actions().last()->trigger();
        QCOMPARE(ended.count(), 1);
        QVERIFY(!w.shell().tray().enabled());
    }

    void doubleClickOpensTheWindow() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        w.shell().tray().onDoubleClick();
        QVERIFY(w.isVisible());
    }

    void onlyADragPastTheDragDistanceMovesTheWindow() {
        MainWindowHarness h;
        MainWindow& w = h.start(true);
        QTRY_VERIFY(w.isVisible());
        // A spot of the window's own surface, where no control takes the press.
        QPoint spot(-1, -1);
        for (int y = 5; y < w.height() && spot.x() < 0; y += 7)
            for (int x = 5; x < w.width() && spot.x() < 0; x += 7)
                if (!w.childAt(x, y)) spot = QPoint(x, y);
        QVERIFY(spot.x() >= 0);
        const QPoint start = w.pos();
        const int far = QApplication::startDragDistance() + 30;
        struct Case {
            const char* what;
            QPoint moveBy;
            Qt::MouseButtons held;
            QPoint moved;
        };
        const Case cases[] = {
            {"a click", {}, Qt::NoButton, {}},
            {"a jitter within the drag distance", {1, 1}, Qt::LeftButton, {}},
            {"a move after the button went up", {far, 0}, Qt::NoButton, {}},
            {"a drag", {far, 5}, Qt::LeftButton, {far, 5}},
        };
        for (const Case& c : cases) {
            w.move(start);
            const QPoint global = w.mapToGlobal(spot);
            QMouseEvent press(QEvent::MouseButtonPress, spot, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&w, &press);
            QMouseEvent move(QEvent::MouseMove, spot + c.moveBy, global + c.moveBy, Qt::NoButton, c.held,
                             Qt::NoModifier);
            QApplication::sendEvent(&w, &move);
            QMouseEvent release(QEvent::MouseButtonRelease, spot + c.moveBy, global + c.moveBy, Qt::LeftButton,
                                Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(&w, &release);
            QCOMPARE(w.pos() - start, c.moved);
        }
        w.move(start);
    }

    void enterAndEscapeNeitherCloseNorHide() {
        MainWindowHarness h;
        MainWindow& w = h.start(true);
        QTRY_VERIFY(w.isVisible());
        for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(&w, static_cast<Qt::Key>(key));
            QVERIFY(w.isVisible());
        }
        // Cancel only hides; Close ends the program.
        QSignalSpy ended(&w, &MainWindow::ended);
        Click(w, "CONTROL_CANCEL");
        QVERIFY(!w.isVisible());
        QCOMPARE(ended.count(), 0);
        Click(w, "CONTROL_CLOSE");
        QCOMPARE(ended.count(), 1);
    }

    void noTimerRunsWhileHidden() {
        MainWindowHarness h;
        MainWindow& w = h.start(true);
        QTRY_VERIFY(w.isVisible());
        // Every timer of the window is one of its parts' and is found by its name.
        auto timers = [&w] {
            QMap<QString, QTimer*> byName;
            for (QTimer* timer : w.findChildren<QTimer*>())
                byName.insert(timer->objectName(), timer);
            return byName;
        };
        const QStringList names{QStringLiteral("applyAnimationTimer"), QStringLiteral("lightingPreviewTimer"),
                                QStringLiteral("lightingReloadTimer")};
        for (const QString& name : names)
            QVERIFY2(timers().contains(name), qPrintable(name));
        // The apply animation and the preview tick while the window is seen.
        w.commandBar().startApplyIndicator();
        w.lightingPanel().setPanelOn(true);
        QTRY_VERIFY(timers().value(names[0])->isActive() && timers().value(names[1])->isActive());

        QSignalSpy reloaded(&w.lightingPanel(), &LightingPanel::reloaded);
        Click(w, "CONTROL_CANCEL");
        h.emu().sendConsumer(1025); // the lighting reload, while hidden
        QTest::qWait(150);
        for (QTimer* timer : w.findChildren<QTimer*>())
            QVERIFY2(!timer->isActive(), qPrintable(timer->objectName()));
        QCOMPARE(reloaded.count(), 0);
        // Shown again: the reload that waited runs, and the preview goes on.
        w.showWindow();
        QTRY_COMPARE(reloaded.count(), 1);
        QVERIFY(timers().value(names[1])->isActive());
        w.lightingPanel().setPanelOn(false);
        QVERIFY(!timers().value(names[1])->isActive());
        w.commandBar().stopApplyIndicator();
        QTRY_VERIFY(!w.commandBar().progressPicture()->isVisible());
    }

    void lightingPanelOffShowsOnlyItsAlwaysVisibleControls() {
        MainWindowHarness h;
        MainWindow& w = h.start(true);
        QTRY_VERIFY(w.isVisible());
        QVERIFY(!w.lightingPanel().panelOn());
        // The switch, the report rate, the colour by numbers and the swatches stay; the effect's controls go.
        for (QWidget* control : w.lightingPanel().controls()) {
            const QString name = control->objectName();
            const bool always =
                name.startsWith(QStringLiteral("CONTROL_Deng")) || name.startsWith(QStringLiteral("FUNC_REPORT")) ||
                name.startsWith(QStringLiteral("COLOR_")) || name.startsWith(QStringLiteral("CONTROL_Color")) ||
                name == QStringLiteral("CONTROL_UsbStatic") || name == QStringLiteral("CONTROL_RGBStatic");
            if (name != QStringLiteral("lightingStatus")) QCOMPARE(!control->isHidden(), always);
            QVERIFY(control->isEnabled());
        }
        QVERIFY(w.profileBar().nameButton()->isEnabled()); // it opens the profile manager
        // A key in the key view is handed on for its assignment; the map itself shows nothing and changes nothing.
        QSignalSpy clicked(&w.map(), &KeyboardMap::keyClicked);
        w.map().button(GKeyControls()[2])->click();
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked.at(0).at(0).value<KeyIndex>(), GKeyIndex(2, 0));
        QVERIFY(UserPrompts::shownMessages().isEmpty());
        QVERIFY(!w.context().pending().pending());
    }
};

OMBREL_SCREEN_TEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
