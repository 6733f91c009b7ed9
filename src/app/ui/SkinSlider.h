#pragma once
// A horizontal slider drawn as one picture; the owner picks the picture for each position. Every move by the user
// (mouse, keys, wheel) is told by positionChanged, even one that stays at an end of the range.

#include "rules/SliderMath.h"

#include <QPixmap>
#include <QWidget>

namespace ombrel {

class SkinSlider : public QWidget {
    Q_OBJECT
public:
    explicit SkinSlider(QWidget* parent = nullptr);

    void setRange(int min, int max);
    void setPageStep(int page);
    void setPosition(int pos); // clamped to the range, then redrawn; does not notify
    int position() const { return m_pos; }
    // A move asked for by the user from outside the slider (a screen reader): set and told like a key press.
    void moveByUser(int pos);
    void setPicture(const QPixmap& picture); // sizes the control to the picture
    void setSliderEnabled(bool enabled);
    bool isSliderEnabled() const { return m_enabled; }
    bool isActive() const { return m_active; }
    SliderRange range() const { return m_range; }

signals:
    void positionChanged(int pos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void moveTo(int pos); // sets the position and tells it
    void notify();

    SliderRange m_range{0, 100, 1};
    int m_pos = 0;
    bool m_enabled = true;
    bool m_dragging = false;
    bool m_active = false;
    bool m_keyboardFocus = false;
    int m_wheelAccumulator = 0;
    QPixmap m_picture;
};

} // namespace ombrel
