#pragma once
// The main window's part that says what a key does: a click on a key of the map opens the key assignment dialog
// for it, beside the key; what the dialog stores shows on the map at once and waits for the window's Apply.

#include "keyboard/KeyTable.h"

#include <QObject>
#include <QPointer>

namespace ombrel {

class SkinButton;
class KeyboardMap;
class KeyAssignmentDialog;
class WindowContext;

class KeyAssignmentPart : public QObject {
    Q_OBJECT
public:
    KeyAssignmentPart(WindowContext& context, KeyboardMap& map, QObject* parent);

    // Opens the dialog for `key` of the active profile; the ninth G key (and the Macro button) offers macros only.
    // Nothing happens while the dialog is open already.
    void open(KeyIndex key);
    // The keyboard went away: an open dialog closes as Cancel.
    void closeForDetach();
    void applyTexts();

    // Null until the first key was clicked.
    KeyAssignmentDialog* dialog() const { return m_dialog; }

signals:
    void helpRequested();

private:
    SkinButton* buttonOf(KeyIndex key) const;

    WindowContext& m_context;
    KeyboardMap& m_map;
    KeyAssignmentDialog* m_dialog = nullptr; // a child of the window, kept for the window's life
    QPointer<SkinButton> m_pressed;          // the key button shown pressed while its dialog is open
};

} // namespace ombrel
