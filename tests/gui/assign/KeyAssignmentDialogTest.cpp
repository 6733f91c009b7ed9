// The key assignment dialog on a store of its own, offscreen: macros recorded from key events and assigned to a G
// key, keys captured and the other tabs chosen, macro-only mode with step edits and macro deletion.
#include "KeyAssignmentDialog.h"
#include "CheckableList.h"
#include "MacroTab.h"
#include "ScreenTest.h"
#include "SkinButton.h"
#include "SkinImageCache.h"
#include "UserPrompts.h"

#include "keys/AssignmentStore.h"
#include "platform/SettingsStore.h"
#include "text/LanguageTexts.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

namespace ombrel {

namespace {

// X key codes (evdev + 8) of the keys used here.
constexpr quint32 kXKeyA = 38;
constexpr quint32 kXSuperL = 133;
constexpr quint32 kXMute = 121;

constexpr KeyCode kKeyA = 0x01E;
constexpr KeyIndex kTabKey = 0x00F;

bool SendKey(QWidget* to, bool press, quint32 xKeycode, quint64 timestampMs, bool autoRepeat = false) {
    QKeyEvent event(press ? QEvent::KeyPress : QEvent::KeyRelease, 0, Qt::NoModifier, xKeycode, 0, 0, QString(),
                    autoRepeat);
    event.setTimestamp(timestampMs);
    event.setAccepted(false);
    QApplication::sendEvent(to, &event);
    return event.isAccepted();
}

MacroRecord Macro(std::uint16_t id, const char16_t* name) {
    MacroRecord m;
    m.setMacroId(id);
    m.setName(name);
    m.setCycles(1);
    m.setAction(0, {30, kKeyA, MACRO_PRESS});
    m.setAction(1, {0, kKeyA, MACRO_RELEASE});
    m.setActionCount(2);
    return m;
}

} // namespace

class KeyAssignmentDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_layout = QDir(test::BuiltSkinFolder()).filePath(QStringLiteral("Composite.ini"));
    }
    void init() {
        UserPrompts::reset();
        m_settings = std::make_unique<SettingsStore>(m_dir.filePath(QStringLiteral("settings.ini")).toStdString(),
                                                     m_dir.filePath(QStringLiteral("profile.ini")).toStdString());
        m_store = std::make_unique<AssignmentStore>();
        InitKeyImage(m_store->image);
    }
    void cleanupTestCase() { SkinImageCache::instance().clear(); }

    void recordsAMacroAndAssignsItToABankBGKey() {
        m_settings->writeProfileString(lookupText("MACRO_ACTION_RECORD_DELAY", 0), "1");
        const KeyIndex g4b = kFirstGKeyIndex + 9 + 3;
        KeyAssignmentDialog dlg(m_layout, *m_store, *m_settings);
        QSignalSpy applied(&dlg, &KeyAssignmentDialog::applied);
        const QRect key(100, 100, 40, 40);
        QVERIFY(dlg.prepare(g4b, 1, false, key, 0));
        dlg.show();
        QCOMPARE(dlg.pos(), QPoint(140, 140)); // below right of the key
        QVERIFY(!dlg.capturing());             // no key is taken before the user asks for it
        QVERIFY(!dlg.button("CONTROL2_APPLY")->isEnabled());

        dlg.button("CONTROL_MACRO")->click();
        QVERIFY(!dlg.capturing());
        MacroTab& tab = dlg.macroTab();
        QVERIFY(tab.stepList()->isVisible());
        dlg.button("FUNC_MACRO_ADD")->click();
        QCOMPARE(tab.macroList()->currentText(), QStringLiteral("Macro 1"));
        dlg.button("FUNC_MACRO_RECORD")->click();
        QVERIFY(tab.recording());
        QVERIFY(SendKey(&dlg, true, kXKeyA, 5000));
        QVERIFY(SendKey(&dlg, true, kXKeyA, 5040, true)); // auto-repeat: kept from the desktop, not recorded
        QVERIFY(SendKey(&dlg, false, kXKeyA, 5120));
        QVERIFY(!SendKey(&dlg, true, kXMute, 5200)); // media keys pass on
        dlg.button("FUNC_MACRO_RECORD")->click();
        QVERIFY(!tab.recording());
        CheckableList* steps = tab.stepList();
        QCOMPARE(steps->rowCount(), 2);
        QCOMPARE(steps->cellText(0, 1), QStringLiteral("\u2193"));
        QCOMPARE(steps->cellText(0, 2), QStringLiteral("120"));
        QCOMPARE(steps->cellText(1, 1), QStringLiteral("  \u2191"));
        QCOMPARE(steps->cellText(1, 2), QStringLiteral("0"));
        tab.cyclesBox()->setValue(3);

        QVERIFY(dlg.button("CONTROL2_APPLY")->isEnabled());
        dlg.button("CONTROL2_APPLY")->click();
        QCOMPARE(applied.count(), 1);
        QVERIFY(!dlg.button("CONTROL2_APPLY")->isEnabled());
        QCOMPARE(m_store->image.record(RecordNumber(1, g4b)), (KeyRecord{KF_MACRO, 3, 1}));
        QCOMPARE(m_store->image.record(RecordNumber(0, g4b)).type, KF_DEFAULT); // other profiles untouched
        QCOMPARE(m_store->macros.size(), std::size_t{1});
        const MacroRecord& stored = m_store->macros[0];
        QCOMPARE(stored.stepCount(), 2);
        QVERIFY(stored.action(0) == (MacroAction{120, kKeyA, MACRO_PRESS}));
        QVERIFY(stored.action(1) == (MacroAction{0, kKeyA, MACRO_RELEASE}));
        QCOMPARE(stored.cycles(), 3);
        QVERIFY(!stored.isNew());
        dlg.button("CONTROL_CANCEL")->click();
        QVERIFY(!dlg.isVisible());
        QCOMPARE(applied.count(), 1);
    }

    void capturesKeysAndTakesTheOtherTabs() {
        m_store->image.setRecord(RecordNumber(0, kTabKey), {KF_KEY, 0, kKeyA});
        KeyAssignmentDialog dlg(m_layout, *m_store, *m_settings);
        QVERIFY(dlg.prepare(kTabKey, 0, false, QRect(800, 600, 40, 40), 0));
        dlg.show();
        QVERIFY(!dlg.keyBox()->text().isEmpty());
        auto* mouse = dlg.findChild<QRadioButton*>(QStringLiteral("FUNC_KEY_RADIO_MOU"));
        mouse->click();
        QVERIFY(!dlg.keyBox()->isEnabled());
        QVERIFY(dlg.mouseList()->isEnabled());
        // Super is captured whatever is chosen, and then the keyboard is.
        dlg.startCapture();
        QVERIFY(SendKey(&dlg, true, kXSuperL, 10));
        QVERIFY(SendKey(&dlg, false, kXSuperL, 20));
        QVERIFY(dlg.keyBox()->isEnabled());
        QCOMPARE(dlg.choice().capturedKey(), KeyCode{0x15B});

        struct Step {
            std::function<void()> act;
            KeyRecord stored;
        };
        const Step steps[] = {
            {[&] {
                 dlg.startCapture();
                 QVERIFY(SendKey(&dlg, true, kXKeyA, 30));
                 QVERIFY(!dlg.capturing()); // one key, then capture ends
             },
             {KF_KEY, 0, kKeyA}},
            {[&] { dlg.disabledChoice()->click(); }, {KF_DISABLED}},
            {[&] {
                 mouse->click();
                 dlg.mouseList()->setCurrentRow(2);
             },
             {KF_KEY, 0, 0x173}},
            {[&] {
                 dlg.button("CONTROL_MEDIA")->click();
                 dlg.mediaList()->setCurrentRow(7);
             },
             {KF_MEDIA, 0, 7}},
            {[&] {
                 dlg.button("CONTROL_FUNCTION")->click();
                 dlg.functionList()->setCurrentRow(10);
             },
             {KF_FUNCTION, 0, 10}},
            {[&] { dlg.button("CONTROL_CLEAR")->click(); }, {KF_DEFAULT}},
        };
        for (const Step& s : steps) {
            s.act();
            QVERIFY(dlg.button("CONTROL2_APPLY")->isEnabled());
            dlg.button("CONTROL2_APPLY")->click();
            QCOMPARE(m_store->image.record(RecordNumber(0, kTabKey)), s.stored);
        }
        QVERIFY(dlg.keyBox()->text().isEmpty());
        // The functions are named by the language file and say in a tooltip that the keyboard decides what they do.
        QCOMPARE(dlg.functionList()->count(), 11);
        for (int row = 0; row < dlg.functionList()->count(); ++row) {
            const std::string key = "FUNC_KEY_DESC" + std::to_string(row + 1);
            QCOMPARE(dlg.functionList()->item(row)->text(), QString::fromStdString(lookupText(key, 0)));
            QCOMPARE(dlg.functionList()->item(row)->toolTip(), QString::fromStdString(lookupText("FUNC_KEY_TIP", 0)));
        }

        // An unplugged keyboard closes the dialog as Cancel: the choice made since the last Apply is dropped.
        dlg.button("CONTROL_MEDIA")->click();
        dlg.cancelForUnplug();
        QVERIFY(!dlg.isVisible());
        QCOMPARE(m_store->image.record(RecordNumber(0, kTabKey)), KeyRecord{});
    }

    void theKeyBoxTakesOneKeyOnlyWhenAskedAndTheRestIsAnOrdinaryDialog() {
        constexpr quint32 kXEscape = 9;
        constexpr quint32 kXTab = 23;
        m_store->image.setRecord(RecordNumber(0, kTabKey), {KF_KEY, 0, kKeyA});
        KeyAssignmentDialog dlg(m_layout, *m_store, *m_settings);
        QVERIFY(dlg.prepare(kTabKey, 0, false, std::nullopt, 0));
        dlg.show();
        QApplication::setActiveWindow(&dlg);
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        QVERIFY(!dlg.capturing());
        QVERIFY(QApplication::focusWidget() != dlg.keyBox());

        // Looking at the other tabs chooses nothing: Apply stays dark and no row is picked for the user.
        for (const char* tab : {"CONTROL_MEDIA", "CONTROL_FUNCTION", "CONTROL_KEY"}) {
            dlg.button(tab)->click();
            QVERIFY2(!dlg.button("CONTROL2_APPLY")->isEnabled(), tab);
        }
        QVERIFY(dlg.mediaList()->selectedItems().isEmpty());

        // Tab reaches the key box like any field, and only then does it wait for a key.
        for (int i = 0; i < 12 && QApplication::focusWidget() != dlg.keyBox(); ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), dlg.keyBox());
        QVERIFY(dlg.capturing());
        QVERIFY(SendKey(dlg.keyBox(), false, kXTab, 10)); // the Tab that came here is no key to assign
        QVERIFY(dlg.capturing());
        // Esc is a key like any other while capturing, and it is the only one taken.
        QVERIFY(SendKey(dlg.keyBox(), true, kXEscape, 20));
        QVERIFY(!dlg.capturing());
        QCOMPARE(dlg.choice().capturedKey(), KeyCode{0x001});
        QVERIFY(dlg.isVisible());
        SendKey(dlg.keyBox(), false, kXEscape, 30);
        QVERIFY(dlg.button("CONTROL2_APPLY")->isEnabled());
        // Space asks for another key; Tab then leaves, and Enter on OK ends the dialog with the captured key.
        QTest::keyClick(dlg.keyBox(), Qt::Key_Space);
        QVERIFY(dlg.capturing());
        QTest::keyClick(dlg.keyBox(), Qt::Key_Tab); // a key without a native code passes on: Tab moves on
        QVERIFY(!dlg.capturing());
        dlg.button("CONTROL_OK")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(dlg.button("CONTROL_OK"), Qt::Key_Return);
        QVERIFY(!dlg.isVisible());
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(m_store->image.record(RecordNumber(0, kTabKey)), (KeyRecord{KF_KEY, 0, 0x001}));

        // A combination: the keyboard keeps one key, so the last one is taken and the dialog says a macro is needed.
        // A modifier pressed and released alone is the key itself.
        constexpr quint32 kXControlL = 37;
        constexpr quint32 kXC = 54;
        QVERIFY(dlg.prepare(kTabKey, 0, false, std::nullopt, 0));
        dlg.show();
        auto* hint = dlg.findChild<QWidget*>(QStringLiteral("combinationHint"));
        QVERIFY(hint && !hint->isVisible());
        dlg.startCapture();
        QVERIFY(SendKey(&dlg, true, kXControlL, 100));
        QVERIFY(dlg.capturing());
        QVERIFY(SendKey(&dlg, true, kXC, 110));
        QVERIFY(!dlg.capturing());
        QCOMPARE(dlg.choice().capturedKey(), KeyCode{0x02E});
        QVERIFY(hint->isVisible());
        SendKey(&dlg, false, kXC, 120);
        SendKey(&dlg, false, kXControlL, 130);
        dlg.startCapture();
        QVERIFY(!hint->isVisible());
        QVERIFY(SendKey(&dlg, true, kXControlL, 200));
        QVERIFY(SendKey(&dlg, false, kXControlL, 210));
        QVERIFY(!dlg.capturing());
        QCOMPARE(dlg.choice().capturedKey(), KeyCode{0x01D});
        dlg.reject();

        // Outside capture Esc cancels, as in every dialog.
        QVERIFY(dlg.prepare(kTabKey, 0, false, std::nullopt, 0));
        dlg.show();
        QTest::keyClick(&dlg, Qt::Key_Escape);
        QVERIFY(!dlg.isVisible());
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
    }

    void aPressedCombinationBecomesAMacroInOneStep() {
        constexpr quint32 kXControlL = 37;
        constexpr quint32 kXC = 54;
        constexpr KeyCode kCtrl = 0x01D, kC = 0x02E;
        KeyAssignmentDialog dlg(m_layout, *m_store, *m_settings);
        QVERIFY(dlg.prepare(kTabKey, 0, false, std::nullopt, 0));
        dlg.show();
        auto* offer = dlg.findChild<QPushButton*>(QStringLiteral("makeMacroOfCombination"));
        QVERIFY(offer && !offer->isVisible());
        dlg.startCapture();
        SendKey(&dlg, true, kXControlL, 100);
        SendKey(&dlg, true, kXC, 110);
        SendKey(&dlg, false, kXC, 120);
        SendKey(&dlg, false, kXControlL, 130);
        QVERIFY(offer->isVisible());
        QCOMPARE(offer->text(), QStringLiteral("Make a macro of Left Ctrl+C"));

        offer->click();
        // The macro tab shows the new macro, chosen for the key: Ctrl down, C down, C up, Ctrl up.
        QVERIFY(!offer->isVisible());
        QCOMPARE(dlg.choice().tab(), CompositeTab::Macro);
        QCOMPARE(dlg.choice().selectedType(), std::uint16_t{KF_MACRO});
        MacroTab& tab = dlg.macroTab();
        QVERIFY(tab.stepList()->isVisible());
        QCOMPARE(tab.macroList()->currentText(), QStringLiteral("Left Ctrl+C"));
        const std::vector<MacroAction> played{{kFixedRecordedDelayMs, kCtrl, MACRO_PRESS},
                                              {kFixedRecordedDelayMs, kC, MACRO_PRESS},
                                              {kFixedRecordedDelayMs, kC, MACRO_RELEASE},
                                              {0, kCtrl, MACRO_RELEASE}};
        QCOMPARE(tab.model().stepCount(), 4);
        for (int i = 0; i < 4; ++i)
            QVERIFY(tab.model().step(i) == played[static_cast<std::size_t>(i)]);

        // OK stores the macro and gives it to the key.
        dlg.button("CONTROL_OK")->click();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(m_store->macros.size(), std::size_t{1});
        const MacroRecord& stored = m_store->macros[0];
        QCOMPARE(QString::fromStdU16String(stored.name()), QStringLiteral("Left Ctrl+C"));
        QCOMPARE(stored.stepCount(), 4);
        for (int i = 0; i < 4; ++i)
            QVERIFY(stored.action(i) == played[static_cast<std::size_t>(i)]);
        const KeyRecord record = m_store->image.record(RecordNumber(0, kTabKey));
        QCOMPARE(record.type, std::uint16_t{KF_MACRO});
        QCOMPARE(record.value, std::uint32_t{stored.macroId()});
    }

    void macroOnlyModeEditsStepsAndDeletesMacros() {
        m_store->macros.push_back(Macro(4, u"Jump"));
        m_store->image.setRecord(RecordNumber(2, kTabKey), {KF_MACRO, 1, 4});
        const KeyIndex g9 = kFirstGKeyIndex + 8;
        KeyAssignmentDialog dlg(m_layout, *m_store, *m_settings);
        QVERIFY(dlg.prepare(g9, 0, true, QRect(10, 10, 20, 20), 0));
        dlg.show();
        for (const char* other : {"CONTROL_KEY", "CONTROL_MEDIA", "CONTROL_FUNCTION", "CONTROL_CLEAR"})
            QVERIFY2(!dlg.button(other)->isEnabled(), other);
        MacroTab& tab = dlg.macroTab();
        QVERIFY(tab.stepList()->isVisible());
        QCOMPARE(tab.macroList()->currentText(), QStringLiteral("Jump"));

        // A typed pause above the limit: the message, then the limit; below it, whole 10 ms.
        CheckableList* steps = tab.stepList();
        for (const auto& [typed, kept] : {std::pair{"50000", 40000u}, std::pair{"12345", 12340u}}) {
            QVERIFY(steps->startEdit(0, 2));
            steps->cellEditor()->setText(QString::fromLatin1(typed));
            steps->endEdit(true);
            QCOMPARE(tab.model().step(0).delayMs, kept);
            QCOMPARE(steps->cellText(0, 2), QString::number(kept));
        }
        QCOMPARE(UserPrompts::shownMessages().size(), 1);
        QVERIFY(UserPrompts::shownMessages().front().contains(QStringLiteral("40000")));

        // The macro plays on a key: deleting it asks, and No keeps it.
        UserPrompts::setNextAnswer(QMessageBox::No);
        dlg.button("FUNC_MACRO_DELETE")->click();
        QCOMPARE(tab.model().count(), 1);
        UserPrompts::setNextAnswer(QMessageBox::Yes);
        dlg.button("FUNC_MACRO_DELETE")->click();
        QCOMPARE(tab.model().count(), 0);
        QCOMPARE(UserPrompts::shownMessages().size(), 3);

        dlg.button("CONTROL_OK")->click(); // OK applies
        QVERIFY(!dlg.isVisible());
        QVERIFY(m_store->macros.empty());
        QCOMPARE(m_store->image.record(RecordNumber(2, kTabKey)).type, KF_DEFAULT);            // its macro is gone
        QCOMPARE(m_store->image.record(RecordNumber(0, g9)), (KeyRecord{KF_DEFAULT, 0x0309})); // no macros left
    }

private:
    QTemporaryDir m_dir;
    QString m_layout;
    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<AssignmentStore> m_store;
};

} // namespace ombrel

OMBREL_SCREEN_TEST_MAIN(ombrel::KeyAssignmentDialogTest)
#include "KeyAssignmentDialogTest.moc"
