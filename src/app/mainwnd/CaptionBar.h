#pragma once
// The window's caption bar: the restore/backup menu, help, minimise, close, and below the link (the About box, or
// the web page a vendor's skin names) and the version. It opens the help and a vendor's page itself; what ends or
// hides the window, About, and the restore and backup commands, it hands on as signals.

#include <QObject>
#include <QPoint>
#include <QString>

#include <map>

namespace ombrel {

class SkinButton;
class HelpLauncher;
class WindowContext;

class CaptionBar : public QObject {
    Q_OBJECT
public:
    enum class Button { Help, Minimize, Close, Menu, Link, Version };

    CaptionBar(WindowContext& context, QObject* parent);

    SkinButton* button(Button which) const;
    QString vendorLink() const { return m_vendorLink; }
    void applyTexts();

    void openHelp();
    // The web page of the skin's "Link", or the About box when the skin names none.
    void openLink();
    // The window's menu at `globalPos` (restore, backup, firmware, the language and "Start with my session");
    // the chosen item is emitted.
    void showBackupMenu(const QPoint& globalPos);

signals:
    void minimizeRequested();
    void closeRequested();
    void restoreRequested();
    void backupRequested();
    // The firmware dialog (command 32780).
    void firmwareRequested();
    // A language of the language table, by its index.
    void languageChosen(int languageIndex);
    // "Start with my session" turned on or off.
    void sessionStartChosen(bool on);
    void aboutRequested();
    // "Discard changes": the unapplied edits are dropped.
    void discardRequested();
    // The history of writes, to undo one.
    void historyRequested();
    // "Switch profiles with the application": the rules the keyboard's profile follows.
    void applicationRulesRequested();

private:
    SkinButton* make(Button which, const char* skinKey, bool styled);

    WindowContext& m_context;
    HelpLauncher* m_help;
    QString m_vendorLink;
    class ColorStatic* m_tagline = nullptr; // the line beside the wordmark
    std::map<Button, SkinButton*> m_buttons;
};

} // namespace ombrel
