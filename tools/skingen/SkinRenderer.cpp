#include "SkinRenderer.h"

#include <QPainterPath>

namespace skingen {

namespace {
constexpr qreal kCornerRadius = 10;
} // namespace

QImage SkinRenderer::scene(const DialogGeometry& g, const Decor& decor, const StateOf& state,
                           const QString& page) const {
    QImage image = m_theme.canvas(g.client);
    image.fill(colours::kWindow);
    QPainter p(&image);
    m_theme.drawWindow(p, g.client, true, g.captionLine);
    if (decor) decor(p);
    for (const SkinElement& e : g.elements)
        if (e.page.isEmpty() || e.page == page) m_theme.drawElement(p, e, state(e));
    return image;
}

QImage SkinRenderer::statePicture(const DialogGeometry& g, const Decor& decor, const StateOf& state,
                                  const QString& page) const {
    QImage image = m_theme.canvas(g.client + QSize(g.stateMargin, g.stateMargin));
    image.fill(colours::kWindow);
    QPainter p(&image);
    p.drawImage(QPoint(-1, -1), scene(g, decor, state, page));
    return image;
}

QImage SkinRenderer::mask(const DialogGeometry& g) const {
    // Always 1x: the program shapes the window in its own (scale-free) coordinates.
    QImage image(g.client, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    // Hard edges: a pixel is either inside or outside.
    p.setRenderHint(QPainter::Antialiasing, false);
    QPainterPath outline;
    outline.addRoundedRect(QRectF(0, 0, g.client.width(), g.client.height()), kCornerRadius, kCornerRadius);
    p.fillPath(outline, Qt::black);
    return image;
}

} // namespace skingen
