#pragma once
// The main window's part that says what a key does: a click on a key of the map opens the key assignment dialog
// for it, beside the key; what the dialog stores shows on the map at once and waits for the window's Apply.

#include "keyboard/KeyTable.h"

#include <QObject>
#include <QPointer>

namespace ombrel {

class CPngButton;
class KeyboardMap;
class Ombrel_DlgComposite;
class WindowContext;

class KeyAssignment : public QObject {
    Q_OBJECT
public:
    KeyAssignment(WindowContext& context, KeyboardMap& map, QObject* parent);

    // Opens the dialog for `key` of the active profile; the ninth G key (and the Macro button) offers macros only.
    // Nothing happens while the dialog is open already.
    void open(KeyIndex key);
    // The keyboard went away: an open dialog closes as Cancel.
    void closeForDetach();
    void applyTexts();

    // Null until the first key was clicked.
    Ombrel_DlgComposite* dialog() const { return m_dialog; }

signals:
    void helpRequested();

private:
    CPngButton* buttonOf(KeyIndex key) const;

    WindowContext& m_context;
    KeyboardMap& m_map;
    Ombrel_DlgComposite* m_dialog = nullptr; // a child of the window, kept for the window's life
    QPointer<CPngButton> m_pressed;          // the key button shown pressed while its dialog is open
};

} // namespace ombrel
