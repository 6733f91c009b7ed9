#pragma once
// The command bar: OK, Cancel, Apply and Default, and the progress picture that Apply animates. Apply saves the
// store file and writes the pending assignments of the active profile; writing to the keyboard runs as a
// DeviceTask, so the window keeps painting. Hiding the window is the window's business, asked for by a signal.

#include <QObject>
#include <QTimer>

class QLabel;

namespace ombrel {

class SkinButton;
class WindowContext;

class CommandBar : public QObject {
    Q_OBJECT
public:
    enum class Button { Ok, Cancel, Apply, Default };

    CommandBar(WindowContext& context, QObject* parent);

    SkinButton* button(Button which) const;
    QLabel* progressPicture() const { return m_progress; }
    void applyTexts();

    // Saves the store file and writes the pending assignments of the active profile. Returns true when nothing
    // was pending or both succeeded; a failure keeps the edits pending, so the user can try again.
    bool apply();
    // Asks, then resets the active profile's keys and applies.
    void resetAll();
    // Before the program ends: with unapplied changes, asks whether to apply or discard them, or to stay. True
    // when the program may end.
    bool confirmUnappliedChanges();
    // Progress picture shown and animated / stopped and hidden (after a short linger).
    void startApplyIndicator();
    void stopApplyIndicator();

signals:
    void hideRequested();
    // The active profile's keys were reset to their defaults.
    void keysReset();
    // Apply was pressed and the keyboard took the edits.
    void applied();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onAnimationTick();

    WindowContext& m_context;
    SkinButton* m_buttons[4] = {};
    QLabel* m_progress = nullptr;
    QTimer m_animation;
    int m_frame = 0;
};

} // namespace ombrel
