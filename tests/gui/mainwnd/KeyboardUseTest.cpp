// The window without a mouse and with a screen reader: the tab order, the focus ring, the arrow keys on the map,
// Space and Enter as clicks, what each control is called, and the dark look of menus, message boxes and file
// dialogs.
#include "MainWindowHarness.h"
#include "ScreenTest.h"

#include "AboutDialog.h"
#include "FirmwarePart.h"
#include "FirmwareUpdateDialog.h"
#include "KeyAssignmentDialog.h"
#include "KeyAssignmentPart.h"
#include "LightingPanel.h"
#include "MapKeyFocus.h"
#include "ProfileManagerDialog.h"
#include "SkinButton.h"
#include "SkinStyle.h"
#include "TabOrder.h"
#include "UserPrompts.h"

#include "keyboard/KeyTable.h"
#include "keys/KeyRecord.h"
#include "text/LanguageTexts.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFontInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace ombrel;
using namespace ombrel::test;

namespace {

QString Spoken(QWidget* w, QAccessible::Text what) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
    return face ? face->text(what) : QString();
}

bool IsMapKey(const QWidget* w) {
    const QString name = w->objectName();
    return name.startsWith(QStringLiteral("KEY_")) || name.startsWith(QStringLiteral("FUNC_G"));
}

// Every control Tab reaches from `start`, once round the window.
QList<QWidget*> WalkTabOrder(QWidget& window, QWidget* start) {
    start->setFocus(Qt::TabFocusReason);
    QList<QWidget*> stops{start};
    for (int i = 0; i < 500 && window.focusWidget(); ++i) {
        QTest::keyClick(window.focusWidget(), Qt::Key_Tab);
        QWidget* now = window.focusWidget();
        if (!now || now == start || !window.isAncestorOf(now)) break;
        stops << now;
    }
    return stops;
}

QStringList NamesOf(const QList<QWidget*>& widgets) {
    QStringList names;
    for (const QWidget* w : widgets)
        names << w->objectName();
    return names;
}

QString KeyName(KeyCode code) {
    return QString::fromStdString(SkinKeyOfButton(code));
}

bool NearAccent(QRgb pixel) {
    const QColor accent = ToQColor(palette::kAccent);
    return std::abs(qRed(pixel) - accent.red()) < 40 && std::abs(qGreen(pixel) - accent.green()) < 40 &&
           std::abs(qBlue(pixel) - accent.blue()) < 40;
}

// Walks the tab order of `dialog` once round and checks every stop says what it is and what it does. Returns the
// stops' names, for the order.
QStringList CheckStops(QWidget& dialog) {
    const QList<QWidget*> tabStops = TabStops(&dialog);
    if (tabStops.isEmpty()) return {QStringLiteral("<no stops>")};
    const QList<QWidget*> stops = WalkTabOrder(dialog, tabStops.constFirst());
    QStringList problems;
    for (QWidget* stop : stops) {
        const QString id =
            QStringLiteral("%1 %2").arg(QString::fromLatin1(stop->metaObject()->className()), stop->objectName());
        if (Spoken(stop, QAccessible::Name).trimmed().isEmpty()) problems << id + QStringLiteral(" has no name");
        if (Spoken(stop, QAccessible::Description).trimmed().isEmpty())
            problems << id + QStringLiteral(" has no description");
    }
    if (stops.size() != tabStops.size()) problems << QStringLiteral("Tab does not reach every control");
    return problems;
}

bool IsDark(const QColor& c) {
    return c.lightness() < 60;
}

} // namespace

class KeyboardUseTest : public QObject {
    Q_OBJECT

private slots:
    void init() { UserPrompts::reset(); }

    void tabWalksTheWindowInReadingOrderAndEveryStopIsNamed() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        w.showWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* menu = w.findChild<SkinButton*>(QStringLiteral("CONTROL_MENU"));
        const QList<QWidget*> stops = WalkTabOrder(w, menu);
        const QStringList names = NamesOf(stops);

        // The caption bar, the profiles and the map's own buttons come first, in reading order.
        const QStringList head{
            QStringLiteral("CONTROL_MENU"),  QStringLiteral("CONTROL_HELP"),  QStringLiteral("CONTROL_MINIMIZE"),
            QStringLiteral("CONTROL_CLOSE"), QStringLiteral("FUNC_PROFILE1"), QStringLiteral("FUNC_PROFILE2"),
            QStringLiteral("FUNC_PROFILE3"), QStringLiteral("FUNC_PROFILES"), QStringLiteral("FUNC_SWITCH"),
            QStringLiteral("FLIP_1"),        QStringLiteral("FUNC_MACRO")};
        QCOMPARE(names.mid(0, head.size()), head);
        // Then the map, as one stop: the arrows move among its keys.
        QVERIFY2(IsMapKey(stops.at(head.size())), qPrintable(names.join(' ')));
        int mapStops = 0;
        for (const QWidget* s : stops)
            mapStops += IsMapKey(s) ? 1 : 0;
        QCOMPARE(mapStops, 1);
        // The buttons that end an edit come last (Apply is off while nothing waits), then the About link.
        const QStringList tail{QStringLiteral("FUNC_DEFAULT"), QStringLiteral("CONTROL_OK"),
                               QStringLiteral("CONTROL_CANCEL"), QStringLiteral("SORVIK_LINK")};
        QVERIFY2(names.mid(names.size() - tail.size()) == tail, qPrintable(names.join(' ')));

        for (QWidget* stop : stops) {
            const QString name = Spoken(stop, QAccessible::Name);
            const QString description = Spoken(stop, QAccessible::Description);
            QVERIFY2(!name.trimmed().isEmpty(), qPrintable(stop->objectName() + " has no name"));
            QVERIFY2(!description.trimmed().isEmpty(), qPrintable(stop->objectName() + " has no description"));
            QVERIFY2(name != description, qPrintable(stop->objectName() + ": " + name));
        }
    }

    void theDialogsAreWalkedWithTabAndEveryStopIsNamed() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        w.showWindow();
        QStringList problems;
        const auto check = [&problems](const char* dialog, QWidget& d) {
            for (const QString& p : CheckStops(d))
                problems << QString::fromLatin1(dialog) + QStringLiteral(": ") + p;
        };
        WhenOpen<ProfileManagerDialog>([&](ProfileManagerDialog& d) {
            check("profile manager", d);
            d.reject();
        });
        Click(w, "FUNC_PROFILES");
        WhenOpen<FirmwareUpdateDialog>([&](FirmwareUpdateDialog& d) {
            check("firmware update", d);
            d.reject();
        });
        w.firmware().openDialog();
        w.map().button(GKeyControls()[0])->click();
        KeyAssignmentDialog* keyDialog = w.keyAssignment().dialog();
        QVERIFY(keyDialog && keyDialog->isVisible());
        check("key assignment", *keyDialog);
        keyDialog->reject();
        Click(w, "SORVIK_LINK");
        check("About", *w.shell().aboutDialog());
        // Opened afresh, About has the focus on OK, and Enter means OK, not Help.
        w.shell().closeAbout();
        Click(w, "SORVIK_LINK");
        AboutDialog* about = w.shell().aboutDialog();
        UserPrompts::openedUrls().clear();
        QVERIFY(about->focusWidget() && about->focusWidget()->objectName() != QStringLiteral("aboutHelp"));
        QTest::keyClick(about->focusWidget(), Qt::Key_Return);
        QTRY_VERIFY(!w.shell().aboutDialog() || !w.shell().aboutDialog()->isVisible());
        QVERIFY(UserPrompts::openedUrls().isEmpty());
        w.shell().closeAbout();
        // The lighting panel shows other controls for each effect.
        LightingPanel& panel = w.lightingPanel();
        panel.setPanelOn(true);
        QVERIFY(panel.effectList()->isVisibleTo(&w));
        QVERIFY(TabStops(&w).contains(panel.effectList()));
        for (int i = 0; i < panel.effectList()->count(); ++i) {
            panel.effectList()->setCurrentIndex(i);
            check(qPrintable(QStringLiteral("lighting, ") + panel.effectList()->itemText(i)), w);
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
    }

    void everyWindowSaysWhatItIsToTheDesktopInEveryLanguage() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        w.showWindow();
        // The program's own window is a normal top-level window, not a dialog, and carries the program's icon in
        // sizes that X takes in one request (65535 words at most without big requests).
        QCOMPARE(w.windowType(), Qt::Window);
        const QList<QSize> sizes = w.windowIcon().availableSizes();
        QVERIFY(!sizes.isEmpty());
        qint64 words = 0;
        for (const QSize& s : sizes)
            words += 2 + qint64(s.width()) * s.height();
        QVERIFY2(words < 65535, qPrintable(QString::number(words)));

        const auto text = [&w](const char* key) {
            return QString::fromStdString(lookupText(key, w.context().languageIndex()));
        };
        QStringList problems;
        const auto expect = [&problems](const char* what, const QWidget& d, const QString& title) {
            if (d.windowType() != Qt::Dialog || !d.windowTitle().contains(title) || title.isEmpty())
                problems << QStringLiteral("%1: \"%2\", want \"%3\"").arg(QLatin1String(what), d.windowTitle(), title);
        };
        for (int language = 0; language < 6; ++language) {
            w.chooseLanguage(language);
            if (w.windowTitle() != text("MAIN_CAPTION")) problems << QStringLiteral("main window: ") + w.windowTitle();
            WhenOpen<ProfileManagerDialog>([&](ProfileManagerDialog& d) {
                expect("profile manager", d, text("PROFILE_DLG_CAPTION"));
                d.reject();
            });
            Click(w, "FUNC_PROFILES");
            WhenOpen<FirmwareUpdateDialog>([&](FirmwareUpdateDialog& d) {
                expect("firmware update", d, text("UPDATE_CAPTION"));
                d.reject();
            });
            w.firmware().openDialog();
            w.map().button(GKeyControls()[0])->click();
            KeyAssignmentDialog* keyDialog = w.keyAssignment().dialog();
            QVERIFY(keyDialog && keyDialog->isVisible());
            expect("key dialog", *keyDialog,
                   text(keyDialog->windowTitle().startsWith(text("MACRO_EDIT_TISHI")) ? "MACRO_EDIT_TISHI"
                                                                                      : "KEY_SETTING_TISHI"));
            keyDialog->reject();
            Click(w, "SORVIK_LINK");
            expect("About", *w.shell().aboutDialog(), text("LANG_ABOUT_TITLE"));
            w.shell().closeAbout();
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
    }

    void aKeyboardFocusShowsAnAccentRingAndAClickLeavesNone() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        w.showWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* help = w.findChild<SkinButton*>(QStringLiteral("CONTROL_HELP"));
        const auto topEdge = [help] {
            const QImage face = help->grab().toImage();
            return face.pixel(face.width() / 2, 1);
        };
        help->setFocus(Qt::MouseFocusReason);
        QVERIFY(!NearAccent(topEdge()));
        help->clearFocus();
        help->setFocus(Qt::TabFocusReason);
        QVERIFY(NearAccent(topEdge()));
    }

    void arrowKeysMoveAcrossTheMapAsOnTheKeyboard_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("arrow");
        QTest::addColumn<int>("to");
        QTest::newRow("A right: S") << 0x1E << int(Qt::Key_Right) << 0x1F;
        QTest::newRow("A left: Caps Lock") << 0x1E << int(Qt::Key_Left) << 0x3A;
        QTest::newRow("A up: Q") << 0x1E << int(Qt::Key_Up) << 0x10;
        QTest::newRow("S down: X") << 0x1F << int(Qt::Key_Down) << 0x2D;
        QTest::newRow("Q up: 2, the nearer key of the row above") << 0x10 << int(Qt::Key_Up) << 0x03;
        QTest::newRow("Backspace right: Insert") << 0x0E << int(Qt::Key_Right) << 0x152;
    }

    void arrowKeysMoveAcrossTheMapAsOnTheKeyboard() {
        QFETCH(int, from);
        QFETCH(int, arrow);
        QFETCH(int, to);
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        w.showWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* start = w.findChild<SkinButton*>(KeyName(static_cast<KeyCode>(from)));
        start->setFocus(Qt::TabFocusReason);
        QTest::keyClick(start, static_cast<Qt::Key>(arrow));
        QCOMPARE(QApplication::focusWidget()->objectName(), KeyName(static_cast<KeyCode>(to)));
        // The key the arrows reached is the map's tab stop from now on.
        QCOMPARE(w.map().keyFocus().current()->objectName(), KeyName(static_cast<KeyCode>(to)));
    }

    void spaceAndEnterClickTheFocusedKeyAndItsNameSaysWhatItDoes() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        w.showWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* a = w.findChild<SkinButton*>(KeyName(0x1E));
        QCOMPARE(Spoken(a, QAccessible::Name), QStringLiteral("A"));
        QCOMPARE(Spoken(a, QAccessible::Description), QStringLiteral("Factory function"));
        // Whatever the key does now, said without repeating its name.
        const std::pair<std::uint16_t, const char*> assignments[] = {{KF_KEY, "Key (B)"},
                                                                     {KF_DISABLED, "Does nothing (switched off)"}};
        for (const auto& [type, spoken] : assignments) {
            {
                auto& working = w.stores().workingStore;
                std::lock_guard lock(working.lock);
                KeyRecord record = working.image.record(RecordNumber(0, KeyIndexOf(0x1E)));
                record.type = type;
                record.value = 0x30; // B
                working.image.setRecord(RecordNumber(0, KeyIndexOf(0x1E)), record);
            }
            w.map().refresh();
            QCOMPARE(Spoken(a, QAccessible::Name), QStringLiteral("A"));
            QCOMPARE(Spoken(a, QAccessible::Description), QString::fromLatin1(spoken));
        }

        QSignalSpy clicked(&w.map(), &KeyboardMap::keyClicked);
        a->setFocus(Qt::TabFocusReason);
        for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter})
            QTest::keyClick(a, key);
        QCOMPARE(clicked.size(), 3);
        for (const QList<QVariant>& args : clicked)
            QCOMPARE(args.at(0).value<KeyIndex>(), KeyIndexOf(0x1E));
        // Enter on a top button acts as its click too.
        auto* profiles = w.findChild<SkinButton*>(QStringLiteral("FUNC_PROFILE2"));
        QSignalSpy profileClicked(profiles, &SkinButton::clicked);
        profiles->setFocus(Qt::TabFocusReason);
        QTest::keyClick(profiles, Qt::Key_Return);
        QCOMPARE(profileClicked.size(), 1);
    }

    void menusMessagesAndFileDialogsWearTheDarkLook() {
        const QFont oldFont = QApplication::font();
        ApplyProgramLook();
        QMenu menu;
        menu.addAction(QStringLiteral("Restore from file..."));
        QMessageBox box(QMessageBox::Question, QString(), QStringLiteral("Restore?"),
                        QMessageBox::Yes | QMessageBox::No);
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog, true);
        // Lists and fields on the skin, with its style sheet, in the one font too.
        QWidget panel;
        panel.setStyleSheet(ControlStyleSheet());
        auto* list = new QListWidget(&panel);
        auto* field = new QLineEdit(&panel);
        for (QWidget* w : std::initializer_list<QWidget*>{&menu, &box, &dialog}) {
            w->ensurePolished();
            QVERIFY2(IsDark(w->palette().color(QPalette::Window)), w->metaObject()->className());
            QVERIFY2(!IsDark(w->palette().color(QPalette::WindowText)), w->metaObject()->className());
        }
        for (QWidget* w : std::initializer_list<QWidget*>{&menu, &box, &dialog, list, field}) {
            w->ensurePolished();
            QVERIFY2(
                QFontInfo(w->font()).family() == SkinFontFace(),
                qPrintable(QString::fromLatin1(w->metaObject()->className()) + ": " + QFontInfo(w->font()).family()));
        }
        // The chosen row of a list that is switched off stays visible against the list.
        list->setEnabled(false);
        list->ensurePolished();
        const QColor row = list->palette().color(QPalette::Disabled, QPalette::Highlight);
        const QColor ground = list->palette().color(QPalette::Disabled, QPalette::Base);
        QVERIFY2(std::abs(row.lightness() - ground.lightness()) + std::abs(row.hue() - ground.hue()) > 20,
                 qPrintable(row.name() + " on " + ground.name()));
        QCOMPARE(QApplication::palette().color(QPalette::Link), ToQColor(palette::kAccent));
        qApp->setStyleSheet(QString());
        QApplication::setPalette(QPalette());
        QApplication::setFont(oldFont);
    }

    void noIconCoversACaptionInAnyLanguage() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        w.showWindow();
        QStringList problems;
        int withIcon = 0;
        const auto check = [&](const QString& where, QWidget& dialog) {
            for (SkinButton* b : dialog.findChildren<SkinButton*>()) {
                const QRect text = b->textRect();
                if (!b->isVisibleTo(&dialog) || text.isEmpty()) continue;
                const QString id = QStringLiteral("%1 %2 \"%3\"").arg(where, b->objectName(), b->text());
                if (!b->iconRect().isEmpty()) {
                    ++withIcon;
                    if (b->iconRect().intersects(text))
                        problems << id + QStringLiteral(": the icon covers the caption");
                    if (text.left() < 0 || text.right() >= b->width())
                        problems << id + QStringLiteral(": the caption runs past the button");
                }
            }
        };
        for (int language = 0; language < 6; ++language) {
            w.chooseLanguage(language);
            const QString lang = QStringLiteral("language %1,").arg(language);
            check(lang + QStringLiteral(" main window"), w);
            WhenOpen<ProfileManagerDialog>([&](ProfileManagerDialog& d) {
                check(lang + QStringLiteral(" profile manager"), d);
                d.reject();
            });
            Click(w, "FUNC_PROFILES");
            WhenOpen<FirmwareUpdateDialog>([&](FirmwareUpdateDialog& d) {
                check(lang + QStringLiteral(" firmware update"), d);
                d.reject();
            });
            w.firmware().openDialog();
            w.map().button(GKeyControls()[0])->click();
            KeyAssignmentDialog* keyDialog = w.keyAssignment().dialog();
            QVERIFY(keyDialog && keyDialog->isVisible());
            for (const char* tab : {"CONTROL_KEY", "CONTROL_MACRO", "CONTROL_MEDIA", "CONTROL_FUNCTION"}) {
                if (auto* b = keyDialog->findChild<SkinButton*>(QLatin1String(tab)); b && b->isVisible()) b->click();
                check(lang + QStringLiteral(" key dialog ") + QLatin1String(tab), *keyDialog);
            }
            keyDialog->reject();
            Click(w, "SORVIK_LINK");
            check(lang + QStringLiteral(" About"), *w.shell().aboutDialog());
            w.shell().closeAbout();
        }
        // The profile manager's, the firmware dialog's and the window's captioned icons were among them.
        QVERIFY2(withIcon >= 6 * 6, qPrintable(QString::number(withIcon)));
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
    }

    void fileDialogsStartInTheLastFolderWithADatedName() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        const QString today = QDate::currentDate().toString(Qt::ISODate);
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        const QString first = QFileInfo(documents).isDir() ? documents : QDir::homePath();
        UserPrompts::setNextFileName(QString());
        w.backupActions().backup();
        QCOMPARE(UserPrompts::lastProposedPath(),
                 QDir(first).filePath(QStringLiteral("Ombrel profiles %1.obp").arg(today)));

        // A file chosen elsewhere makes its folder the next start, for this run and the next.
        QDir(h.dir()).mkpath(QStringLiteral("elsewhere"));
        UserPrompts::setNextFileName(h.dir() + QStringLiteral("/elsewhere/mine.obp"));
        w.backupActions().backup();
        h.stop();
        MainWindow& again = h.start(true, true);
        UserPrompts::setNextFileName(QString());
        again.backupActions().restore();
        QCOMPARE(UserPrompts::lastProposedPath(), h.dir() + QStringLiteral("/elsewhere"));
        // A remembered folder that has gone is passed over.
        QDir(h.dir() + QStringLiteral("/elsewhere")).removeRecursively();
        UserPrompts::setNextFileName(QString());
        again.backupActions().restore();
        QCOMPARE(UserPrompts::lastProposedPath(), first);
    }
};

OMBREL_SCREEN_TEST_MAIN(KeyboardUseTest)
#include "KeyboardUseTest.moc"
