// The keyboard map: assignment marks and tooltips from the keyboard and the store, the G-key bank, the layout
// switch kept across runs, the multi-select view, and choosing a profile.
#include "MainWindowHarness.h"
#include "ScreenTest.h"

#include "KeyboardMap.h"
#include "LightingPanel.h"
#include "MainMessages.h"
#include "SkinButton.h"
#include "UserPrompts.h"

#include "keyboard/KeyTable.h"
#include "keys/KeymapCodec.h"

#include <QSignalSpy>
#include <QTest>

using namespace ombrel;
using namespace ombrel::test;

namespace {

constexpr KeyCode kKeyA = 0x1E;

int ButtonOf(KeyCode code) {
    for (const KeyButton& k : KeyButtonTable())
        if (k.code == code) return k.control;
    return 0;
}

int GButton(int i) {
    return GKeyControls()[static_cast<std::size_t>(i)];
}

void Assign(MainWindow& w, int layer, KeyIndex index, std::uint16_t type = KF_DISABLED) {
    auto& working = w.stores().workingStore;
    std::lock_guard lock(working.lock);
    KeyRecord record = working.image.record(RecordNumber(layer, index));
    record.type = type;
    working.image.setRecord(RecordNumber(layer, index), record);
}

// Writes an assignment into the emulated keyboard's own key-function block, as another program would.
void AssignOnKeyboard(const MainWindowHarness& h, int profile, KeyCode code) {
    KeyImage image;
    InitKeyImage(image);
    KeyRecord record;
    record.type = KF_DISABLED;
    image.setRecord(RecordNumber(profile, KeyIndexOf(code)), record);
    KeymapBytes factory{};
    const auto bytes = h.factoryKeymap();
    std::copy(bytes.begin(), bytes.end(), factory.begin());
    const KeymapBlock block =
        EncodeKeymapBlock(image, profile, KeymapBlock(factory), [](std::uint32_t) { return std::nullopt; });
    h.emu().writeMemory(EMU_AREA_KEYMAP, static_cast<std::uint32_t>(profile * 378), block.bytes().data(), 378);
}

} // namespace

class KeyboardMapTest : public QObject {
    Q_OBJECT

private slots:
    void init() { UserPrompts::reset(); }

    void keyboardAssignmentsAreMarkedWithTheirCaption() {
        MainWindowHarness h;
        // The assignment is made while the keyboard is away; its arrival reads it.
        MainWindow& w = h.start(false, true);
        AssignOnKeyboard(h, 0, kKeyA);
        h.emu().plug();
        h.settle();
        SkinButton* a = w.map().button(ButtonOf(kKeyA));
        QTRY_VERIFY(a->hasCheckedLook());
        QVERIFY(a->instantToolTip().startsWith(QStringLiteral("A")));
        QVERIFY(a->instantToolTip().length() > 1); // the name and what the key does instead
        SkinButton* b = w.map().button(ButtonOf(0x30));
        QVERIFY(!b->hasCheckedLook());
        QCOMPARE(b->instantToolTip(), QStringLiteral("B"));
    }

    void bankKeyFlipsCaptionsAndMarks() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        Assign(w, 0, GKeyIndex(0, 1)); // G1 in bank B
        Assign(w, 0, GKeyIndex(1, 0)); // G2 in bank A
        w.map().refresh();
        w.map().showBank();
        struct Expect {
            int bank;
            QString g1Caption;
            bool g1, g2;
        };
        const Expect steps[] = {{0, QStringLiteral("A1"), false, true},
                                {1, QStringLiteral("B1"), true, false},
                                {0, QStringLiteral("A1"), false, true}};
        for (std::size_t i = 0; i < std::size(steps); ++i) {
            if (i > 0) h.emu().pressBankKey();
            const Expect& e = steps[i];
            QTRY_COMPARE(w.map().button(GButton(0))->text(), e.g1Caption);
            QCOMPARE(w.context().bank(), e.bank);
            QCOMPARE(w.map().button(GButton(0))->hasCheckedLook(), e.g1);
            QCOMPARE(w.map().button(GButton(1))->hasCheckedLook(), e.g2);
            QCOMPARE(w.map().button(kIdLockBank)->hasCheckedLook(), e.bank == 1);
            QCOMPARE(w.map().button(GButton(5))->text(), QString());
        }
    }

    void layoutSwitchPersistsAcrossRuns() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        QVERIFY(w.map().button(kLayoutFKeyIds[0])->isEnabled());
        QVERIFY(!w.map().button(kLayoutDKeyIds[0])->isEnabled());
        // The chip between the arrows names the keys shown.
        QCOMPARE(w.map().button(kIdLayoutLabel)->text(), QStringLiteral("F1–F4"));
        w.map().button(kIdLayoutToggle)->click();
        QCOMPARE(h.settings().getProfileString("Flip", "?"), std::string("1"));
        QVERIFY(!w.map().button(kLayoutFKeyIds[0])->isEnabled());
        QVERIFY(w.map().button(kLayoutDKeyIds[5])->isEnabled());
        QCOMPARE(w.map().button(kIdLayoutLabel)->text(), QStringLiteral("D1–D6"));

        MainWindow& again = h.start(true, true);
        QVERIFY(!again.map().button(kLayoutFKeyIds[3])->isEnabled());
        QVERIFY(again.map().button(kLayoutDKeyIds[0])->isEnabled());
        again.map().button(kIdLayoutToggleAlt)->click();
        QCOMPARE(h.settings().getProfileString("Flip", "?"), std::string("0"));
        QVERIFY(again.map().button(kLayoutFKeyIds[0])->isEnabled());

        // A value other than 0 or 1 shows the first layout, and one press gives the second.
        h.settings().writeProfileString("Flip", "2");
        MainWindow& odd = h.start(true, true);
        QVERIFY(odd.map().button(kLayoutFKeyIds[0])->isEnabled());
        QVERIFY(!odd.map().button(kLayoutDKeyIds[0])->isEnabled());
        odd.map().button(kIdLayoutToggle)->click();
        QCOMPARE(h.settings().getProfileString("Flip", "?"), std::string("1"));
        QVERIFY(!odd.map().button(kLayoutFKeyIds[0])->isEnabled());
        QVERIFY(odd.map().button(kLayoutDKeyIds[0])->isEnabled());
    }

    void switchMarksKeysAndTurnsBack() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        const int a = ButtonOf(kKeyA);
        // A toggle named after what it turns on, pressed while it is on.
        QCOMPARE(w.map().button(kIdSwitch)->text(), QStringLiteral("Mark keys"));
        QVERIFY(!w.map().button(kIdSwitch)->hasCheckedLook());
        w.map().switchButton()->click();
        QCOMPARE(w.map().mode(), MapMode::MultiSelect);
        QCOMPARE(w.map().button(kIdSwitch)->text(), QStringLiteral("Mark keys"));
        QVERIFY(w.map().button(kIdSwitch)->hasCheckedLook());
        QVERIFY(w.map().button(a)->isAlternate());
        w.map().button(a)->click();
        QCOMPARE(w.stores().workingStore.image.record(RecordNumber(0, KeyIndexOf(kKeyA))).mark, 1u);
        QVERIFY(w.context().pending().pending());
        QCOMPARE(w.map().button(a)->currentFace(), SkinButton::Face::Alternate);
        w.map().switchButton()->click();
        QCOMPARE(w.map().mode(), MapMode::ShowAssignments);
        QVERIFY(!w.map().button(a)->isAlternate());
        QVERIFY(!w.map().button(kIdSwitch)->hasCheckedLook());
    }

    void theModeDecidesWhatAKeyClickDoes() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        SkinButton* a = w.map().button(ButtonOf(kKeyA));
        const KeyIndex keyA = KeyIndexOf(kKeyA);
        struct Case {
            MapMode mode;
            int clicked, painted, marks;
        };
        const Case cases[] = {
            {MapMode::ShowAssignments, 1, 0, 0}, {MapMode::MultiSelect, 0, 0, 1}, {MapMode::PaintColours, 0, 1, 0}};
        for (const Case& c : cases) {
            QSignalSpy clicked(&w.map(), &KeyboardMap::keyClicked);
            QSignalSpy painted(&w.map(), &KeyboardMap::keyPainted);
            QSignalSpy marks(&w.map(), &KeyboardMap::marksChanged);
            w.map().setMode(c.mode);
            a->click();
            QCOMPARE(clicked.count(), c.clicked);
            QCOMPARE(painted.count(), c.painted);
            QCOMPARE(marks.count(), c.marks);
            if (!clicked.isEmpty()) QCOMPARE(clicked.at(0).at(0).value<KeyIndex>(), keyA);
            if (!painted.isEmpty()) QCOMPARE(painted.at(0).at(0).toInt(), ButtonOf(kKeyA));
            // Only multi-select touches the store; the indicators have no record and do nothing in any mode, Fn
            // is painted (it has a colour, not a record), a G key opens its assignment even while painting.
            QCOMPARE(w.stores().workingStore.image.record(RecordNumber(0, keyA)).mark, c.marks ? 1u : 0u);
            for (int id : {kIdFn, kIdLockCaps, kIdLayoutLabel})
                w.map().button(id)->click();
            const bool painting = c.mode == MapMode::PaintColours;
            QCOMPARE(clicked.count() + painted.count() + marks.count(), painting ? 2 : 1);
            if (painting) {
                QCOMPARE(painted.at(1).at(0).toInt(), kIdFn);
                w.map().button(GKeyControls()[0])->click();
                QCOMPARE(clicked.count(), 1);
            }
            if (c.marks) a->click(); // unmark for the next case
        }
        // The Macro button acts as a click on the last G key.
        w.map().setMode(MapMode::ShowAssignments);
        QSignalSpy clicked(&w.map(), &KeyboardMap::keyClicked);
        w.map().macroButton()->click();
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked.at(0).at(0).value<KeyIndex>(), GKeyIndex(kGKeyCount - 1, 0));
    }

    void choosingTheActiveProfileSwitchesNothing() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        const unsigned before = h.emu().reportCount();
        w.profileBar().profileButton(0)->click();
        QCOMPARE(h.keyboardActiveProfile(), 0);
        QCOMPARE(h.emu().reportCount(), before); // the active profile is known; nothing was written
        QVERIFY(w.profileBar().profileButton(0)->hasCheckedLook());
    }

    void choosingAnotherProfileSwitchesAndResetsTheView() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        w.map().switchButton()->click();
        w.profileBar().profileButton(2)->click();
        QCOMPARE(h.keyboardActiveProfile(), 2);
        QVERIFY(!w.profileBar().profileButton(0)->hasCheckedLook());
        QVERIFY(w.profileBar().profileButton(2)->hasCheckedLook());
        QCOMPARE(w.map().mode(), MapMode::ShowAssignments);
        QVERIFY(UserPrompts::shownMessages().isEmpty());
    }

    void unappliedChangesAreDiscardedOrAppliedBeforeASwitch() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        // No: the edit is dropped (the store is read back from its file) and the profile changes.
        Assign(w, 0, KeyIndexOf(kKeyA));
        w.context().pending().set(true);
        UserPrompts::setNextAnswer(QMessageBox::No);
        w.profileBar().profileButton(1)->click();
        QCOMPARE(UserPrompts::shownMessages().size(), 1);
        QCOMPARE(h.keyboardActiveProfile(), 1);
        QVERIFY(!w.context().pending().pending());
        QCOMPARE(w.stores().workingStore.image.record(RecordNumber(0, KeyIndexOf(kKeyA))).type, KF_DEFAULT);

        // Cancel, and Enter on the question (its default), keep the edit and the profile.
        Assign(w, 1, KeyIndexOf(kKeyA));
        w.context().pending().set(true);
        UserPrompts::setNextAnswer(QMessageBox::Cancel);
        w.profileBar().profileButton(0)->click();
        w.profileBar().profileButton(2)->click(); // no answer queued: the question's default
        QCOMPARE(UserPrompts::shownMessages().size(), 3);
        QVERIFY(UserPrompts::shownMessages().last().contains(QStringLiteral("cancel and stay")));
        QCOMPARE(h.keyboardActiveProfile(), 1);
        QVERIFY(w.profileBar().profileButton(1)->hasCheckedLook());
        QVERIFY(w.context().pending().pending());
        QCOMPARE(w.stores().workingStore.image.record(RecordNumber(1, KeyIndexOf(kKeyA))).type, KF_DISABLED);

        // Yes: the edit is written to the old profile first.
        w.context().pending().set(true);
        UserPrompts::setNextAnswer(QMessageBox::Yes);
        w.profileBar().profileButton(0)->click();
        QCOMPARE(h.keyboardActiveProfile(), 0);
        QVERIFY(!w.context().pending().pending());
        QVERIFY(h.keyboardKeymap(1) != h.factoryKeymap());
        QCOMPARE(h.keyboardKeymap(0), h.factoryKeymap());
    }

    void turningTheLightingOnAsksAboutUnappliedKeysInItsOwnWords() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        LightingPanel& panel = w.lightingPanel();
        panel.setPanelOn(false);
        Assign(w, 0, KeyIndexOf(kKeyA));
        w.context().pending().set(true);
        // Cancel: the keys stay in view with their edit.
        UserPrompts::setNextAnswer(QMessageBox::Cancel);
        panel.setPanelOn(true);
        QCOMPARE(UserPrompts::shownMessages().size(), 1);
        const QString question = UserPrompts::shownMessages().last();
        QVERIFY2(question.contains(QStringLiteral("lighting")) && !question.contains(QStringLiteral("profile")),
                 qPrintable(question));
        QVERIFY(!panel.panelOn());
        QVERIFY(w.context().pending().pending());
        // Apply: the edit is written, then the lighting shows.
        UserPrompts::setNextAnswer(QMessageBox::Apply);
        panel.setPanelOn(true);
        QVERIFY(panel.panelOn());
        QVERIFY(!w.context().pending().pending());
        QVERIFY(h.keyboardKeymap(0) != h.factoryKeymap());
        // A profile chosen afterwards still asks in the words of a profile switch.
        Assign(w, 0, KeyIndexOf(kKeyA + 1));
        w.context().pending().set(true);
        UserPrompts::setNextAnswer(QMessageBox::Cancel);
        w.profileBar().profileButton(1)->click();
        QVERIFY(UserPrompts::shownMessages().last().contains(QStringLiteral("stay on this profile")));
    }

    void aProfileTheKeyboardRefusesIsNotShownActive() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        h.emu().unplug();
        h.settle();
        w.profileBar().profileButton(1)->click();
        QVERIFY(w.profileBar().profileButton(0)->hasCheckedLook());
        QVERIFY(!w.profileBar().profileButton(1)->hasCheckedLook());
    }
};

OMBREL_SCREEN_TEST_MAIN(KeyboardMapTest)
#include "KeyboardMapTest.moc"
