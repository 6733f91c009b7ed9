#pragma once
// A skin picture that acts as a button: a click, or Space or Enter while it has the focus, emits clicked. The
// lighting panel's switch, direction, colourful, four-colour, tool and swatch pictures are made of it.

#include "SkinControl.h"

#include <QLabel>

namespace ombrel {

class ClickablePicture : public QLabel, public SkinControl {
    Q_OBJECT
public:
    explicit ClickablePicture(QWidget* parent = nullptr);

    // Shows `picture` (nothing when null).
    void showPicture(const QPixmap* picture);
    // The state a toggle or choice shows in its picture, for screen readers.
    void setChecked(bool checked);
    bool isChecked() const { return m_checked; }

    bool accessibleChecked() const override { return m_checked; }
    void accessiblePress() override { emit clicked(); }

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool m_checked = false;
    bool m_keyboardFocus = false; // the ring shows only for focus that came from the keyboard
};

} // namespace ombrel
