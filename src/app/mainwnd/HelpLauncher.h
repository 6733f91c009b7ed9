#pragma once
// Opens the local help page in the desktop's browser through xdg-open. When the page is missing, or the page cannot
// be opened (no xdg-open, or it reports that no browser took the page), the window says so and names the page's
// path, so the user can open it another way.

#include <QObject>
#include <QString>

namespace ombrel {

class WindowContext;

class HelpLauncher : public QObject {
    Q_OBJECT
public:
    HelpLauncher(WindowContext& context, QObject* parent);
    ~HelpLauncher() override;

    // The help page: index.html in the help folder.
    QString pagePath() const;
    void open();

    // The program that hands a page to the desktop ("xdg-open"). Tests put another in; while none is put in, a
    // headless test run only records the page (UserPrompts::openedUrls).
    static void setOpenerProgram(const QString& program);

private:
    void fail(const QString& reason);
    void failLater(const QString& reason);

    WindowContext& m_context;
};

} // namespace ombrel
