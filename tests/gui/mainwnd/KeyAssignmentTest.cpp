// The key assignment dialog from the main window on the emulated keyboard: a click on a key opens it beside the
// key, a macro recorded from key events goes on a G key of bank B, a captured key remaps Caps Lock, and the
// window's Apply writes both; an unplugged keyboard closes the dialog as Cancel.
#include "MainWindowHarness.h"
#include "ScreenTest.h"

#include "CommandBar.h"
#include "KeyAssignmentDialog.h"
#include "KeyAssignmentPart.h"
#include "KeyboardMap.h"
#include "SkinButton.h"
#include "UserPrompts.h"

#include "keys/KeyImage.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QTest>

#include <algorithm>

using namespace ombrel;
using namespace ombrel::test;

namespace {

constexpr quint32 kXKeyA = 38; // X key codes: evdev + 8
constexpr quint32 kXKeyB = 56;
constexpr KeyCode kCapsLock = 0x03A;

void SendKey(QWidget* to, bool press, quint32 xKeycode, quint64 timestampMs) {
    QKeyEvent event(press ? QEvent::KeyPress : QEvent::KeyRelease, 0, Qt::NoModifier, xKeycode, 0, 0);
    event.setTimestamp(timestampMs);
    QApplication::sendEvent(to, &event);
}

int ControlOf(KeyCode code) {
    for (const KeyButton& b : KeyButtonTable())
        if (b.code == code) return b.control;
    return -1;
}

// The slot of the factory block whose entry is `entry`.
int SlotOf(const std::vector<std::uint8_t>& block, std::array<std::uint8_t, 3> entry) {
    for (std::size_t slot = 0; slot * 3 + 2 < block.size(); ++slot)
        if (std::equal(entry.begin(), entry.end(), block.begin() + static_cast<std::ptrdiff_t>(slot * 3)))
            return static_cast<int>(slot);
    return -1;
}

} // namespace

class KeyAssignmentTest : public QObject {
    Q_OBJECT

private slots:
    void init() { UserPrompts::reset(); }

    void aRecordedMacroAndARemappedKeyReachTheKeyboard() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        h.emu().pressBankKey();
        QTRY_COMPARE(w.context().bank(), 1);

        SkinButton* g1 = w.map().button(GKeyControls()[0]);
        g1->click();
        KeyAssignmentDialog* dlg = w.keyAssignment().dialog();
        QVERIFY(dlg && dlg->isVisible());
        QCOMPARE(dlg->choice().keyIndex(), GKeyIndex(0, 1));
        QVERIFY(g1->isDown());
        dlg->button("CONTROL_MACRO")->click();
        dlg->button("FUNC_MACRO_ADD")->click();
        auto* recordPauses = dlg->findChild<QCheckBox*>(QStringLiteral("FUNC_MACRO_RECORD_DELAY"));
        QVERIFY(!recordPauses->isChecked()); // every pause 50 ms unless asked
        recordPauses->click();
        dlg->button("FUNC_MACRO_RECORD")->click();
        SendKey(dlg, true, kXKeyA, 1000);
        SendKey(dlg, false, kXKeyA, 1120);
        dlg->button("FUNC_MACRO_RECORD")->click();
        dlg->button("CONTROL_OK")->click();
        QVERIFY(!dlg->isVisible());
        QVERIFY(!g1->isDown());
        QVERIFY(w.context().pending().pending());
        QVERIFY(g1->hasCheckedLook());
        QVERIFY(g1->instantToolTip().contains(QStringLiteral("Macro 1")));

        SkinButton* caps = w.map().button(ControlOf(kCapsLock));
        caps->click();
        QVERIFY(dlg->isVisible());
        dlg->startCapture(); // as a click on the key box does
        SendKey(dlg, true, kXKeyB, 2000);
        SendKey(dlg, false, kXKeyB, 2050);
        dlg->button("CONTROL_OK")->click();
        QVERIFY(caps->hasCheckedLook());

        QVERIFY(w.commandBar().apply());
        QVERIFY(!w.context().pending().pending());
        const std::vector<std::uint8_t> factory = h.factoryKeymap();
        const std::vector<std::uint8_t> keymap = h.keyboardKeymap(h.keyboardActiveProfile());
        const int g1b = SlotOf(factory, {0x06, 0xA2, 10}); // G1 of bank B is the tenth G key
        const int capsSlot = SlotOf(factory, {0x02, 0x02, 0x39});
        QVERIFY(g1b >= 0 && capsSlot >= 0);
        QCOMPARE(std::vector<std::uint8_t>(keymap.begin() + g1b * 3, keymap.begin() + g1b * 3 + 3),
                 (std::vector<std::uint8_t>{0x05, 0x01, 0x00})); // plays the macro at position 0
        QCOMPARE(std::vector<std::uint8_t>(keymap.begin() + capsSlot * 3, keymap.begin() + capsSlot * 3 + 3),
                 (std::vector<std::uint8_t>{0x02, 0x02, 0x05})); // sends B
        // The macro memory: one macro of two steps, A down with the 120 ms pause, then A up.
        std::uint8_t macros[32] = {};
        h.emu().readMemory(EMU_AREA_MACROS, 0, macros, sizeof macros);
        QCOMPARE(macros[0] | macros[1] << 8, 0x55AA);
        QCOMPARE(macros[4] | macros[5] << 8, 1);
        const int block = macros[16] | macros[17] << 8;
        QCOMPARE(macros[block] | macros[block + 1] << 8, 2);
        const std::uint8_t steps[] = {0x0C, 0xA0, 0x02, 0x04, 0x00, 0x20, 0x02, 0x04};
        QVERIFY(std::equal(std::begin(steps), std::end(steps), macros + block + 4));

        // The keyboard goes away while the dialog is open: it closes as Cancel.
        caps->click();
        QVERIFY(dlg->isVisible());
        dlg->button("CONTROL_CLEAR")->click();
        h.emu().unplug();
        QTRY_VERIFY(!dlg->isVisible());
        QVERIFY(caps->hasCheckedLook());
    }
};

OMBREL_SCREEN_TEST_MAIN(KeyAssignmentTest)
#include "KeyAssignmentTest.moc"
