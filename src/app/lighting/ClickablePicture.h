#pragma once
// A skin picture that acts as a button: a click, or Space or Enter while it has the focus, emits clicked. The
// lighting panel's switch, direction, colourful, four-colour, tool and swatch pictures are made of it.

#include <QLabel>

namespace ombrel {

class ClickablePicture : public QLabel {
    Q_OBJECT
public:
    explicit ClickablePicture(QWidget* parent = nullptr);

    // Shows `picture` (nothing when null).
    void showPicture(const QPixmap* picture);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool m_keyboardFocus = false; // the ring shows only for focus that came from the keyboard
};

} // namespace ombrel
