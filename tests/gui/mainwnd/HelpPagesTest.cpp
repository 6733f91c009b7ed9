// The help describes the program as it is, in the language chosen: the page the help button opens names every item
// of the window's menu as the menu shows it and every dialog by its title, and every picture it shows exists.
#include "MainWindowHarness.h"
#include "ScreenTest.h"

#include "CaptionBar.h"
#include "HelpLauncher.h"
#include "MainMessages.h"
#include "UserPrompts.h"

#include "text/LanguageTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

using namespace ombrel;
using namespace ombrel::test;

namespace {

// What the menu shows, without the dots that say a dialog follows.
QString Bare(QString text) {
    while (text.endsWith(QLatin1Char('.')) || text.endsWith(QChar(0x2026)))
        text.chop(1);
    return text.trimmed();
}

} // namespace

class HelpPagesTest : public QObject {
    Q_OBJECT
private slots:
    void init() { UserPrompts::reset(); }

    void everyLanguagesPageNamesTheMenuAndTheDialogsAndHasItsPictures() {
        MainWindowHarness h;
        MainWindow& w = h.start(true, true);
        auto* help = w.findChild<HelpLauncher*>();
        QVERIFY(help);
        QStringList pages;
        for (int index = 0; index < static_cast<int>(kLanguageTable.size()); ++index) {
            UserPrompts::setNextMenuChoice(kCmdLanguageFirst + index);
            w.captionBar().showBackupMenu(QPoint());
            UserPrompts::setNextMenuChoice(-1);
            w.captionBar().showBackupMenu(QPoint());
            const QStringList items = UserPrompts::lastMenuTexts();
            QVERIFY(items.size() >= 5);

            const QString path = help->pagePath();
            QVERIFY2(!pages.contains(path), qPrintable(path + QStringLiteral(" serves two languages")));
            pages << path;
            QFile file(path);
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
            const QString page = QString::fromUtf8(file.readAll());
            const QString name = QFileInfo(path).fileName();

            for (const QString& item : items)
                if (!Bare(item).isEmpty())
                    QVERIFY2(page.contains(Bare(item)), qPrintable(name + QStringLiteral(": menu item ") + item));
            for (const char* title :
                 {"PROFILE_DLG_CAPTION", "UPDATE_CAPTION", "LANG_ABOUT_TITLE", "KEY_SETTING_TISHI"}) {
                const QString text = QString::fromStdString(lookupText(title, index));
                QVERIFY2(page.contains(text), qPrintable(name + QStringLiteral(": dialog ") + text));
            }
            // Every picture the page shows is there, and the page shows the window's and the dialogs' pictures.
            const QRegularExpression image(QStringLiteral("<img[^>]*src=\"([^\"]+)\""));
            int pictures = 0;
            for (auto it = image.globalMatch(page); it.hasNext(); ++pictures) {
                const QString picture = QFileInfo(path).dir().filePath(it.next().captured(1));
                QVERIFY2(QFileInfo(picture).isFile(), qPrintable(name + QStringLiteral(": no ") + picture));
            }
            QVERIFY2(pictures >= 5, qPrintable(name));
            // Nothing of the time when parts of the window were not built yet.
            QVERIFY2(!page.contains(QStringLiteral("not available yet")), qPrintable(name));
        }
    }
};

OMBREL_SCREEN_TEST_MAIN(HelpPagesTest)
#include "HelpPagesTest.moc"
