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

    void aWriteTheLastRunCouldNotFinishIsOfferedAtStart() {
        MainWindowHarness h;
        const HistorySettings settings = HistorySettingsFor(h.paths(), true, "Ombrel");
        // A snapshot kept for a write that never finished: its program ended in the middle.
        WriteHistory(settings.folder).keep("format = 1\n", "ombrelctl");
        SetProcessHistory(settings);
        UserPrompts::setNextAnswer(QMessageBox::No);
        h.start();
        QTRY_VERIFY(!UserPrompts::shownMessages().isEmpty());
        QVERIFY2(UserPrompts::shownMessages().last().contains(QStringLiteral("failed or was cut off")),
                 qPrintable(UserPrompts::shownMessages().join(QLatin1Char('\n'))));
    }
};

OMBREL_SCREEN_TEST_MAIN(HistoryDialogTest)
#include "HistoryDialogTest.moc"
