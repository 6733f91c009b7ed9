#include "ColorStatic.h"

#include "ColorRef.h"

namespace ombrel {

ColorStatic::ColorStatic(QWidget* parent) : QLabel(parent) {
    setAttribute(Qt::WA_TranslucentBackground, true);
    setAutoFillBackground(false);
    setTextColor(m_colour);
}

void ColorStatic::setTextColor(std::uint32_t colour) {
    m_colour = colour;
    QPalette p = palette();
    p.setColor(QPalette::WindowText, ColorFromRef(colour));
    setPalette(p);
    repaint();
}

} // namespace ombrel
