#pragma once
// The About window: the program's icon, what it does, its version and build, the copyright, a vendor's link when
// the skin names one, and the way to the help. At most one is open; it follows UM_LANG like the main window.

#include <QDialog>

class QKeyEvent;
class QLabel;
class QPushButton;

namespace ombrel {

class LinkLabel;

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    AboutDialog(const QString& iconPath, const QString& link, int languageIndex);

    // Opens the About window, or raises the one that is open. Returns it.
    static AboutDialog* open(const QString& iconPath, const QString& link, int languageIndex);
    static int openCount();

    QLabel* description() const { return m_description; }
    QLabel* version() const { return m_version; }

    // Every text in the language `languageIndex`; the shell calls it when the user chooses another.
    void applyTexts(int languageIndex);

signals:
    // F1 or the Help button: the program's help, as the main window opens it.
    void helpRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* m_description = nullptr;
    QLabel* m_version = nullptr;
    QLabel* m_copyright = nullptr;
    LinkLabel* m_link = nullptr;
    QPushButton* m_help = nullptr;
    QPushButton* m_ok = nullptr;
};

} // namespace ombrel
