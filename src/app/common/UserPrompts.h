#pragma once
// Every question, message and file dialog of the main window goes through here, so tests can answer them:
// `setNextAnswer` and `setNextFileName` queue what a person would answer, and `shownMessages` records what was
// shown. Without queued answers the real QMessageBox and QFileDialog are used.

#include <QList>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <deque>
#include <initializer_list>
#include <optional>

class QAction;
class QMenu;
class QPoint;
class QWidget;

namespace ombrel {

class UserPrompts {
public:
    // A message with an OK button.
    static void information(QWidget* parent, const QString& text, const QString& caption = QString());
    // A question; returns the button chosen. `defaultButton` is the one Enter chooses.
    static QMessageBox::StandardButton ask(QWidget* parent, const QString& text, const QString& caption,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton);
    // A question whose buttons say what they do: `captions` names each button (standard ones stand for their roles;
    // tests answer with them as with ask). Escape chooses `escapeButton`, Enter `defaultButton`.
    static QMessageBox::StandardButton choose(QWidget* parent, const QString& text,
                                              const QList<QPair<QMessageBox::StandardButton, QString>>& captions,
                                              QMessageBox::StandardButton defaultButton,
                                              QMessageBox::StandardButton escapeButton);
    // A line of text, proposed as `current`; empty when the user cancels.
    static QString askText(QWidget* parent, const QString& label, const QString& current);
    // File dialogs with a filter such as "Profile files (*.obp);;All files (*)" and a default suffix. An empty
    // result means the user cancelled. Without `startIn`, and for a proposed name without a folder, they start in
    // the folder last used (see rememberFoldersIn), else the user's documents folder; the folder of every chosen
    // file is remembered.
    static QString openFileName(QWidget* parent, const QString& caption, const QString& filter,
                                const QString& startIn = QString());
    static QString saveFileName(QWidget* parent, const QString& caption, const QString& filter,
                                const QString& defaultSuffix, const QString& proposedName = QString());
    // Where the last used folder is kept between runs; null keeps it for this run only.
    static void rememberFoldersIn(class SettingsStore* settings);
    static QString startFolder();
    // A backup's proposed name: "Ombrel profiles 2026-12-10.obp", with today's date.
    static QString proposedBackupName();

    // The language whose captions the message boxes' buttons wear (Yes, No, OK, Cancel from the language file).
    static void setLanguage(int languageIndex);
    static QString buttonCaption(QMessageBox::StandardButton button);
    // A file dialog filter in that language: the text of `nameKey` (which ends in its pattern, "Profile files
    // (*.obp)") followed by "All files (*)".
    static QString fileFilter(const char* nameKey);
    // Several kinds of file, then "All files" once.
    static QString fileFilters(std::initializer_list<const char*> nameKeys);

    // Hands a page or web address to the desktop.
    static void openUrl(const QUrl& url);
    // Shows a popup menu and returns the chosen action, or null.
    static QAction* popupMenu(QMenu* menu, const QPoint& globalPos);

    // Test hooks.
    static void setNextMenuChoice(int actionData); // the action whose data() is this; -1 closes the menu
    static QStringList& lastMenuTexts();           // the item texts of the last menu shown
    static QList<QUrl>& openedUrls();              // addresses opened while headless
    static void setNextAnswer(QMessageBox::StandardButton answer);
    static void setNextFileName(const QString& path); // an empty path answers Cancel
    static void setNextText(const QString& text);     // for askText; an empty text answers Cancel
    // Without queued answers, questions are answered with their default button and file dialogs with Cancel,
    // and nothing is shown (for tests that must never block on a dialog).
    static void setHeadless(bool headless);
    static bool isHeadless();
    static QStringList& shownMessages(); // texts of every message and question shown since the last clear
    static QString lastProposedPath();   // the folder or file the last file dialog started at
    static void reset();

private:
    static std::optional<QMessageBox::StandardButton> takeAnswer();
    static std::optional<QString> takeFileName();
    static void captionButtons(QMessageBox& box);
};

} // namespace ombrel
