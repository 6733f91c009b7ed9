#pragma once
// A horizontal slider drawn as one picture; the owner picks the picture for each position. Every change is posted
// to the parent as UM_SLIDER with the control id and the new position.

#include "rules/SliderMath.h"

#include <QPixmap>
#include <QWidget>

namespace ombrel {

class CBitmapSlider : public QWidget {
    Q_OBJECT
public:
    explicit CBitmapSlider(QWidget* parent = nullptr);

    void SetRange(int min, int max);
    void SetPageStep(int page);
    void SetPos(int pos); // clamped to the range, then redrawn; does not notify
    int GetPos() const { return m_pos; }
    void SetPicture(const QPixmap& picture); // sizes the control to the picture
    void Enable(bool enabled);
    bool IsSliderEnabled() const { return m_enabled; }
    bool IsActive() const { return m_active; }
    void SetControlId(int id) { m_controlId = id; }
    int ControlId() const { return m_controlId; }
    SliderRange Range() const { return m_range; }

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
    void moveTo(int pos); // sets the position and posts UM_SLIDER
    void notify();

    SliderRange m_range{0, 100, 1};
    int m_pos = 0;
    bool m_enabled = true;
    bool m_dragging = false;
    bool m_active = false;
    bool m_keyboardFocus = false;
    int m_wheelAccumulator = 0;
    int m_controlId = 0;
    QPixmap m_picture;
};

} // namespace ombrel
