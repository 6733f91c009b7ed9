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

// The page's build: its sections in order, then how many rows, list items, examples and pictures it has. A
// translation with the same build covers what the English page covers, not a summary of it.
QString Outline(const QString& page) {
    QStringList outline;
    const QRegularExpression section(QStringLiteral("<h2 id=\"([^\"]+)\""));
    for (auto it = section.globalMatch(page); it.hasNext();)
        outline << it.next().captured(1);
    for (const char* tag : {"<tr>", "<li>", "<pre>", "<img ", "<table>", "<p>"})
        outline << QStringLiteral("%1 x%2").arg(QLatin1String(tag)).arg(page.count(QLatin1String(tag)));
    return outline.join(QLatin1Char('\n'));
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
        QString english;
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
            // Every language's page says all the English page says, in its own words rather than by a link.
            if (index == 0) english = Outline(page);
            QCOMPARE(Outline(page), english);
            QVERIFY2(!page.contains(QStringLiteral("href=\"index.html")), qPrintable(name));
            for (const char* topic : {"ombrelctl", ".toml", ".obp", "io.github.ombrel.Ombrel", "ombrel /Kill"})
                QVERIFY2(page.contains(QLatin1String(topic)), qPrintable(name + QStringLiteral(": ") + topic));
        }
    }
};

OMBREL_SCREEN_TEST_MAIN(HelpPagesTest)
#include "HelpPagesTest.moc"
