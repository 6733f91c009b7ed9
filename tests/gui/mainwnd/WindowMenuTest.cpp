// The window's menu beyond the backup commands: the language choice (stored, every open window re-texted, kept
// for the next start) and "Start with my session" (its autostart entry written and removed, a user's own entry
// touched only when the user says so).
#include "MainWindowHarness.h"
#include "ScreenTest.h"

#include "AboutDialog.h"
#include "MainMessages.h"
#include "TrayIcon.h"
#include "UserPrompts.h"

#include "platform/SessionAutostart.h"
#include "text/LanguageTexts.h"

#include <QFile>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace ombrel;
using namespace ombrel::test;

namespace {

void ChooseFromMenu(MainWindow& window, int command) {
    UserPrompts::setNextMenuChoice(command);
    window.captionBar().showBackupMenu(QPoint());
}

QString Text(const char* key, int languageIndex) {
    return QString::fromStdString(lookupText(key, languageIndex));
}

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

class WindowMenuTest : public QObject {
    Q_OBJECT

private slots:
    void init() { UserPrompts::reset(); }

    void languageChoiceReTextsEveryOpenWindowAndIsKept() {
        MainWindowHarness h;
        MainWindow& w = h.start(true);
        TrayMenu(w, kCmdTrayAbout);
        AboutDialog* about = w.shell().aboutDialog();
        QVERIFY(about);
        // The menu offers the language and the session start in the language shown, the languages by their names.
        ChooseFromMenu(w, -1);
        QVERIFY(UserPrompts::lastMenuTexts().contains(QStringLiteral("Language")));
        QVERIFY(UserPrompts::lastMenuTexts().contains(QStringLiteral("Start with my session")));

        const struct {
            int index;
            std::uint32_t id;
            const char* menuTitle;
        } cases[] = {{1, 0x0407, "Sprache"}, {5, 0x0411, "言語"}, {0, 0x0409, "Language"}};
        for (const auto& c : cases) {
            ChooseFromMenu(w, kCmdLanguageFirst + c.index);
            QCOMPARE(h.settings().loadLanguageId(), std::optional<std::uint32_t>(c.id));
            QCOMPARE(w.context().languageIndex(), c.index);
            QCOMPARE(w.windowTitle(), Text("MAIN_CAPTION", c.index));
            QCOMPARE(about->windowTitle(), Text("LANG_ABOUT_TITLE", c.index));
            QCOMPARE(w.shell().tray().tip(), Text("KEYBOARD_TRAY_DESC", c.index).left(127));
            ChooseFromMenu(w, -1);
            QVERIFY2(UserPrompts::lastMenuTexts().contains(QString::fromUtf8(c.menuTitle)),
                     qPrintable(UserPrompts::lastMenuTexts().join(QLatin1Char('|'))));
        }

        // The next start shows the language chosen last, whatever the system's is.
        ChooseFromMenu(w, kCmdLanguageFirst + 2);
        h.stop();
        MainWindow& again = h.start(true);
        QCOMPARE(again.context().languageIndex(), 2);
        QCOMPARE(again.windowTitle(), Text("MAIN_CAPTION", 2));
    }

    void sessionStartWritesAndRemovesOnlyItsOwnEntry() {
        MainWindowHarness h;
        MainWindow& w = h.start(true);
        const std::string path = h.paths().autostartFile;
        QVERIFY(!std::filesystem::exists(path));

        ChooseFromMenu(w, kCmdSessionStart);
        const AutostartEntry on = ReadAutostartEntry(path);
        QVERIFY(on.ours && on.enabled);
        QVERIFY(ReadWhole(path).find("Exec=" + h.paths().modulePath + " --start\n") != std::string::npos);
        ChooseFromMenu(w, kCmdSessionStart);
        QVERIFY(!std::filesystem::exists(path));
        QVERIFY(UserPrompts::shownMessages().isEmpty());

        // A user's own entry: the user is asked, and No leaves it alone.
        const std::string users = "[Desktop Entry]\nType=Application\nExec=ombrel /Start\n";
        std::ofstream(path) << users;
        UserPrompts::setNextAnswer(QMessageBox::No);
        ChooseFromMenu(w, kCmdSessionStart);
        QCOMPARE(UserPrompts::shownMessages().size(), 1);
        QVERIFY(UserPrompts::shownMessages().constFirst().contains(QString::fromStdString(path)));
        QCOMPARE(ReadWhole(path), users);
        UserPrompts::setNextAnswer(QMessageBox::Yes);
        ChooseFromMenu(w, kCmdSessionStart);
        QVERIFY(!std::filesystem::exists(path));

        // A turned-off copy of the system's entry: turning on asks before replacing it.
        const std::string hidden = users + "Hidden=true\n";
        std::ofstream(path) << hidden;
        UserPrompts::shownMessages().clear();
        UserPrompts::setNextAnswer(QMessageBox::Yes);
        ChooseFromMenu(w, kCmdSessionStart);
        QCOMPARE(UserPrompts::shownMessages().size(), 1);
        QVERIFY(ReadAutostartEntry(path).ours);

        // A failure says why: the autostart folder cannot be made where a file is in the way.
        std::filesystem::remove_all(std::filesystem::path(path).parent_path());
        std::ofstream(std::filesystem::path(path).parent_path().string()) << "in the way";
        UserPrompts::shownMessages().clear();
        ChooseFromMenu(w, kCmdSessionStart);
        QCOMPARE(UserPrompts::shownMessages().size(), 1);
        QVERIFY2(UserPrompts::shownMessages().constFirst().contains(QStringLiteral("autostart")),
                 qPrintable(UserPrompts::shownMessages().constFirst()));
    }
};

OMBREL_SCREEN_TEST_MAIN(WindowMenuTest)
#include "WindowMenuTest.moc"
