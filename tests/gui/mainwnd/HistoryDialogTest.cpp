// The window's History of writes: a write from any part of the program is listed with what it changed, a restore
// puts the keyboard's memory back, and a write the last run could not finish is offered for undoing at start.
#include "MainWindowHarness.h"
#include "ScreenTest.h"

#include "HistoryDialog.h"
#include "MainMessages.h"
#include "UserPrompts.h"

#include "device/LinkResult.h"
#include "keyboardfile/WriteHistory.h"

#include <QTest>
#include <QTreeWidget>

#include <array>
#include <functional>
#include <memory>

using namespace ombrel;
using namespace ombrel::test;

namespace {

// Runs `steps` on the history dialog once it waits for the user: it reads the keyboard before it shows, with
// events running meanwhile, so a plain "when open" would look too early.
void WhenHistoryShown(const std::function<void(HistoryDialog&)>& steps) {
    auto attempt = std::make_shared<std::function<void()>>();
    *attempt = [attempt, steps] {
        if (auto* dialog = qobject_cast<HistoryDialog*>(QApplication::activeModalWidget()))
            steps(*dialog);
        else
            QTimer::singleShot(10, *attempt);
    };
    QTimer::singleShot(0, *attempt);
}

} // namespace

class HistoryDialogTest : public QObject {
    Q_OBJECT
private slots:
    void init() { UserPrompts::reset(); }
    void cleanup() { SetProcessHistory(std::nullopt); }

    void aWriteIsListedWithWhatItChangedAndRestoringItGivesBackTheMemory() {
        MainWindowHarness h;
        SetProcessHistory(HistorySettingsFor(h.paths(), true, "Ombrel"));
        MainWindow& w = h.start();
        const auto before = h.keyboardLighting(1);
        // Any write, whichever part of the program makes it, is recorded: here straight through the link.
        DeviceCommands& commands = w.context().link()->commands();
        const std::uint8_t brightness = before[1] == 1 ? 2 : 1;
        QCOMPARE(commands.Bracketed([&] { return commands.WriteLighting(std::span(&brightness, 1), 1, 42 + 1); }),
                 int(LINK_OK));
        QVERIFY(h.keyboardLighting(1) != before);
        // Reading the keyboard again writes the colour pattern back as it was: that changed nothing, so it is no
        // write to list.
        QVERIFY(w.lightingPanel().load(true));

        QStringList listed;
        bool restored = false;
        int afterRestore = 0;
        WhenHistoryShown([&](HistoryDialog& dialog) {
            QTreeWidget* list = dialog.list();
            for (int i = 0; i < list->topLevelItemCount(); ++i)
                listed << list->topLevelItem(i)->text(1) + QLatin1Char('|') + list->topLevelItem(i)->text(2);
            UserPrompts::setNextAnswer(QMessageBox::Yes);
            restored = dialog.restoreSelected();
            afterRestore = list->topLevelItemCount();
            dialog.reject();
        });
        UserPrompts::setNextMenuChoice(kCmdHistory);
        w.captionBar().showBackupMenu(QPoint());
        QCOMPARE(listed.size(), 1);
        QVERIFY2(listed[0].startsWith(QStringLiteral("Ombrel|Profile 2, lighting, brightness")), qPrintable(listed[0]));
        QVERIFY(restored);
        QVERIFY(h.keyboardLighting(1) == before);
        // The restore is a write too: it is listed, so it can be undone in turn.
        QCOMPARE(afterRestore, 2);
    }

    void aWriteTheLastRunLeftHalfDoneIsFinishedOrUndoneOnlyAsTheUserAnswers() {
        // The brightness of profile 2 stands for the whole keyboard: the write that was cut off meant to change it
        // from 1 to 2 (or, where it went through, to the factory's 5), and the keyboard holds the factory's 5, as a
        // mix would hold a third state.
        struct Case {
            const char* name;
            bool keepsIntended;
            bool keyboardHoldsIntended;
            QMessageBox::StandardButton answer; // NoButton: no question expected
            const char* asked;                  // a word of the question
            int brightnessAfter;                // 0: as the keyboard held it
            bool stillMarked;
        };
        const Case cases[] = {
            {"finish", true, false, QMessageBox::Apply, "Finish the write", 2, false},
            {"go back", true, false, QMessageBox::Reset, "Finish the write", 1, false},
            {"later", true, false, QMessageBox::Cancel, "Finish the write", 0, true},
            {"a write of old, without its intended state: only going back", false, false, QMessageBox::Cancel,
             "Go back to the keyboard", 0, true},
            {"the write went through: no question", true, true, QMessageBox::NoButton, nullptr, 0, false},
        };
        for (const Case& c : cases) {
            MainWindowHarness h;
            const HistorySettings settings = HistorySettingsFor(h.paths(), true, "Ombrel");
            constexpr int held = 5; // the factory's
            const auto file = [](int brightness) {
                return "format = 1\n[profile.2.lighting]\nbrightness = " + std::to_string(brightness) + "\n";
            };
            if (c.keepsIntended)
                WriteHistory(settings.folder)
                    .keep(file(1), "ombrelctl", nullptr, nullptr, file(c.keyboardHoldsIntended ? held : 2));
            else
                WriteHistory(settings.folder).keep(file(1), "ombrelctl");
            SetProcessHistory(settings);
            UserPrompts::reset();
            if (c.answer != QMessageBox::NoButton) UserPrompts::setNextAnswer(c.answer);
            MainWindow& w = h.start();
            if (c.asked) {
                QTRY_VERIFY2(!UserPrompts::shownMessages().isEmpty(), c.name);
                QVERIFY2(UserPrompts::shownMessages().first().contains(QLatin1String(c.asked)),
                         qPrintable(UserPrompts::shownMessages().join(QLatin1Char('\n'))));
            } else {
                QTRY_VERIFY2(!WriteHistory(settings.folder).interrupted(), c.name);
                QVERIFY2(UserPrompts::shownMessages().isEmpty(),
                         qPrintable(UserPrompts::shownMessages().join(QLatin1Char('\n'))));
            }
            const int expected = c.brightnessAfter ? c.brightnessAfter : held;
            QTRY_COMPARE(int(h.keyboardLighting(1)[1]), expected);
            QCOMPARE(bool(WriteHistory(settings.folder).interrupted()), c.stillMarked);
            Q_UNUSED(w);
            SetProcessHistory(std::nullopt);
        }
    }
};

OMBREL_SCREEN_TEST_MAIN(HistoryDialogTest)
#include "HistoryDialogTest.moc"
