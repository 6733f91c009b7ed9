// The main window: background, mask, the four state pictures, the two multi-select overlays and the arrow faces.
#include "Geometry.h"
#include "SkinParts.h"
#include "SkinRenderer.h"
#include "SkinWriter.h"
#include "Theme.h"

namespace skingen {

namespace {

bool IsMapKey(const SkinElement& e) {
    return e.kind == Kind::Key || e.kind == Kind::GKey;
}

// Panels of the main window: the keyboard case, the three lighting cards, the wordmark.
void MainDecor(const Theme& theme, QPainter& p, const DialogGeometry& g) {
    theme.drawLogo(p, QPoint(22, 9), 28);
    p.setFont(theme.font(18, true));
    p.setPen(colours::kText);
    p.drawText(QRect(58, 7, 200, 32), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("OMBREL"));
    // The keyboard case with its top strip.
    theme.drawPanel(p, QRect(38, 100, g.client.width() - 76, 328));
    p.setPen(QPen(colours::kPanelEdge, 1));
    p.drawLine(QPointF(50, 146.5), QPointF(g.client.width() - 50, 146.5));
    theme.drawPanel(p, QRect(38, 440, 350, 200));
    theme.drawPanel(p, QRect(400, 440, 372, 200));
    theme.drawPanel(p, QRect(784, 440, 350, 200));
    // Hairlines that group the rows of the cards.
    p.setPen(QPen(colours::kPanelEdge, 1));
    p.drawLine(QPointF(56, 594.5), QPointF(370, 594.5));
    p.drawLine(QPointF(802, 490.5), QPointF(1116, 490.5));
    p.drawLine(QPointF(802, 616.5), QPointF(1116, 616.5));
}

} // namespace

void WriteMainSkin(const Theme& theme, SkinWriter& out) {
    const DialogGeometry g = MainGeometry();
    const SkinRenderer r(theme);
    const Decor decor = [&](QPainter& p) { MainDecor(theme, p, g); };
    auto all = [](State s) {
        return [s](const SkinElement& e) {
            // Indicators have two looks: off, and lit in the picture that serves as their checked face.
            if (e.kind == Kind::Indicator) return s == State::Hover ? State::Checked : State::Normal;
            return s;
        };
    };
    out.jpeg(QStringLiteral("main_bg.jpg"), r.scene(g, decor, all(State::Normal)));
    out.bmp(QStringLiteral("main_mask.bmp"), r.mask(g));
    out.jpeg(QStringLiteral("main_normal.jpg"), r.statePicture(g, decor, all(State::Normal)));
    out.jpeg(QStringLiteral("main_over.jpg"), r.statePicture(g, decor, all(State::Hover)));
    out.jpeg(QStringLiteral("main_down.jpg"), r.statePicture(g, decor, all(State::Pressed)));
    // The checked face: a key with an assignment, the active profile, the chosen report rate.
    out.jpeg(QStringLiteral("main_disable.jpg"), r.statePicture(g, decor, all(State::Checked)));
    auto overlay = [](State s) { return [s](const SkinElement& e) { return IsMapKey(e) ? s : State::Normal; }; };
    out.jpeg(QStringLiteral("main_color0.jpg"), r.statePicture(g, decor, overlay(State::Unmarked)));
    out.jpeg(QStringLiteral("main_color1.jpg"), r.statePicture(g, decor, overlay(State::Marked)));

    // Arrow faces on the keyboard case's colour: up and down for the left arrow, then for the right one.
    QImage arrows = theme.canvas(QSize(4 * (kArrowFace + 2) + 4, kArrowFace + 6));
    arrows.fill(colours::kPanel);
    QPainter p(&arrows);
    const Glyph faces[] = {Glyph::Up, Glyph::Down, Glyph::Up, Glyph::Down};
    for (int i = 0; i < 4; ++i) {
        const QRectF face(2 + i * (kArrowFace + 2), 2, kArrowFace, kArrowFace); // read from (x - 1, y - 1)
        theme.drawGlyph(p, face.adjusted(2, 2, -2, -2), faces[i], colours::kAccent);
    }
    p.end();
    out.jpeg(QStringLiteral("Arrow.jpg"), arrows);
    // No "Link": the program's own link opens its About box; a skin made for a vendor may name its web page there.
    out.layout(g, QStringLiteral("main_bg.jpg"), QStringLiteral("main_mask.bmp"), QString());
}

} // namespace skingen
