// The lighting panel's bitmaps: switch, direction and colour choices, tools, slider faces, progress frames and
// preset swatches. Each is drawn at the size its control has in the main window.
#include "Geometry.h"
#include "SkinParts.h"
#include "SkinWriter.h"
#include "Theme.h"

#include <QPainterPath>

namespace skingen {

namespace {

using namespace colours;

QSize SizeOf(const DialogGeometry& g, const char* key) {
    const SkinElement* e = g.find(QString::fromLatin1(key));
    return e ? e->rect.size() : QSize(40, 30);
}

QImage Canvas(const Theme& theme, const QSize& size) {
    QImage image = theme.canvas(size);
    image.fill(kPanel);
    return image;
}

// A plate that is either idle or chosen; the chosen one glows in the accent colour.
void Plate(QPainter& p, const QSize& size, bool chosen) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(chosen ? kAccent : kEdge, chosen ? 1.5 : 1));
    p.setBrush(chosen ? QColor(0x17, 0x33, 0x35) : kFace);
    p.drawRoundedRect(QRectF(0.75, 0.75, size.width() - 1.5, size.height() - 1.5), 6, 6);
}

QImage Direction(const Theme& theme, const QSize& size, Glyph glyph, bool chosen, bool doubled) {
    QImage img = Canvas(theme, size);
    QPainter p(&img);
    Plate(p, size, chosen);
    const QColor ink = chosen ? kAccent : kTextDim;
    const qreal side = size.height() - 12;
    if (!doubled) {
        theme.drawGlyph(p, QRectF((size.width() - side) / 2, 6, side, side), glyph, ink);
    } else {
        // Spread and converge: two chevrons pointing away from or towards the middle.
        const bool spread = glyph == Glyph::Up;
        const qreal cy = size.height() / 2.0;
        QPen pen(ink, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p.setPen(pen);
        const qreal cx = size.width() / 2.0;
        for (int side2 : {-1, 1}) {
            const qreal tip = cx + side2 * (spread ? 15 : 4);
            const qreal back = cx + side2 * (spread ? 8 : 11);
            p.drawPolyline(QPolygonF({QPointF(back, cy - 7), QPointF(tip, cy), QPointF(back, cy + 7)}));
        }
        p.drawLine(QPointF(cx, cy - 8), QPointF(cx, cy + 8));
    }
    return img;
}

QImage Arrow(const Theme& theme, const QSize& size, bool left, bool chosen) {
    QImage img = Canvas(theme, size);
    QPainter p(&img);
    Plate(p, size, chosen);
    const QColor ink = chosen ? kAccent : kTextDim;
    p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const qreal cx = size.width() / 2.0, cy = size.height() / 2.0;
    const qreal d = left ? -1 : 1;
    p.drawLine(QPointF(cx - 10 * d, cy), QPointF(cx + 10 * d, cy));
    p.drawPolyline(QPolygonF({QPointF(cx + 4 * d, cy - 6), QPointF(cx + 10 * d, cy), QPointF(cx + 4 * d, cy + 6)}));
    return img;
}

QImage Switch(const Theme& theme, const QSize& size, bool on) {
    QImage img = Canvas(theme, size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF track(1, 2, size.width() - 2, size.height() - 4);
    p.setPen(QPen(on ? kAccent : kEdge, 1));
    p.setBrush(on ? kAccentDeep : kWell);
    p.drawRoundedRect(track, track.height() / 2, track.height() / 2);
    const qreal d = track.height() - 6;
    const QPointF knob(on ? track.right() - 3 - d / 2 : track.left() + 3 + d / 2, track.center().y());
    p.setPen(Qt::NoPen);
    p.setBrush(on ? kAccent : kTextDim);
    p.drawEllipse(knob, d / 2, d / 2);
    // A small bulb on the free side says what the switch is for.
    const qreal bx = on ? track.left() + 8 : track.right() - 18;
    theme.drawGlyph(p, QRectF(bx, track.center().y() - 5, 10, 10), Glyph::Record, on ? kAccent : kTextDisabled);
    return img;
}

QImage Chip(const Theme& theme, const QSize& size, const QColor& colour, bool chosen) {
    QImage img = Canvas(theme, size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    if (chosen) {
        p.setPen(QPen(kAccent, 2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(1, 1, size.width() - 2, size.height() - 2), 8, 8);
    }
    p.setPen(QPen(QColor(0, 0, 0, 90), 1));
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(5.5, 5.5, size.width() - 11, size.height() - 11), 5, 5);
    if (chosen) {
        p.setPen(QPen(kWell, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const qreal cx = size.width() / 2.0, cy = size.height() / 2.0;
        p.drawPolyline(QPolygonF({QPointF(cx - 6, cy), QPointF(cx - 2, cy + 4), QPointF(cx + 6, cy - 5)}));
    }
    return img;
}

QImage Colourful(const Theme& theme, const QSize& size, bool on) {
    QImage img = Canvas(theme, size);
    QPainter p(&img);
    Plate(p, size, on);
    p.setRenderHint(QPainter::Antialiasing, true);
    QConicalGradient rainbow(QPointF(size.width() / 2.0, size.height() / 2.0), 90);
    const QColor hues[] = {Qt::red, Qt::yellow, Qt::green, Qt::cyan, Qt::blue, Qt::magenta, Qt::red};
    for (int i = 0; i < 7; ++i) {
        QColor c = hues[i];
        if (!on) c = QColor::fromHsv(c.hsvHue() < 0 ? 0 : c.hsvHue(), 40, 110);
        rainbow.setColorAt(i / 6.0, c);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(rainbow);
    const qreal r = size.height() / 2.0 - 7;
    p.drawEllipse(QPointF(size.width() / 2.0, size.height() / 2.0), r, r);
    return img;
}

QImage Tool(const Theme& theme, const QSize& size, bool bucket, bool chosen) {
    QImage img = Canvas(theme, size);
    QPainter p(&img);
    Plate(p, size, chosen);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QColor ink = chosen ? kAccent : kTextDim;
    p.setPen(QPen(ink, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const qreal cx = size.width() / 2.0, cy = size.height() / 2.0;
    if (!bucket) {
        // A brush: handle and tip.
        p.drawLine(QPointF(cx + 8, cy - 10), QPointF(cx - 2, cy));
        QPainterPath tip;
        tip.moveTo(cx - 2, cy);
        tip.cubicTo(cx - 8, cy - 1, cx - 10, cy + 6, cx - 12, cy + 10);
        tip.cubicTo(cx - 6, cy + 9, cx, cy + 7, cx - 2, cy);
        p.setBrush(ink);
        p.drawPath(tip);
    } else {
        // A bucket: the base colour fills every key not painted.
        p.drawPolygon(QPolygonF(
            {QPointF(cx - 9, cy - 4), QPointF(cx + 3, cy - 10), QPointF(cx + 9, cy + 2), QPointF(cx - 3, cy + 8)}));
        p.setBrush(ink);
        p.drawEllipse(QPointF(cx + 11, cy + 7), 2.5, 3.5);
    }
    return img;
}

// A slider face: a track filled up to the knob, tick marks for the steps.
QImage Slider(const Theme& theme, const QSize& size, double fraction, int ticks, bool speed) {
    QImage img = Canvas(theme, size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    const qreal knobR = 8;
    const qreal left = knobR, right = size.width() - knobR;
    const qreal cy = size.height() / 2.0;
    p.setPen(Qt::NoPen);
    p.setBrush(kWell);
    p.drawRoundedRect(QRectF(left - 4, cy - 3, right - left + 8, 6), 3, 3);
    const qreal x = left + fraction * (right - left);
    QLinearGradient fill(left, 0, right, 0);
    fill.setColorAt(0, speed ? QColor(0x1d, 0x8f, 0x88) : QColor(0x16, 0x6e, 0x69));
    fill.setColorAt(1, kAccent);
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(left - 4, cy - 3, x - left + 4, 6), 3, 3);
    p.setBrush(kPopupEdge);
    for (int i = 0; i < ticks; ++i) {
        const qreal tx = left + (right - left) * i / (ticks - 1);
        p.drawEllipse(QPointF(tx, cy + 9), 1.2, 1.2);
    }
    p.setPen(QPen(kWell, 2));
    p.setBrush(kText);
    p.drawEllipse(QPointF(x, cy), knobR - 1, knobR - 1);
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawEllipse(QPointF(x, cy), 2.5, 2.5);
    return img;
}

QImage Progress(const Theme& theme, const QSize& size, int frame) {
    QImage img = Canvas(theme, size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF track(0.5, 0.5, size.width() - 1, size.height() - 1);
    p.setPen(QPen(kEdge, 1));
    p.setBrush(kWell);
    p.drawRoundedRect(track, track.height() / 2, track.height() / 2);
    // A bright segment that runs along the track, one tenth further each frame.
    const qreal w = track.width() * 0.3;
    const qreal x = track.left() + (track.width() - w) * (frame - 1) / 9.0;
    QLinearGradient g(x, 0, x + w, 0);
    g.setColorAt(0, QColor(0x2e, 0xe6, 0xd6, 0));
    g.setColorAt(0.5, kAccent);
    g.setColorAt(1, QColor(0x2e, 0xe6, 0xd6, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(x, track.top() + 1.5, w, track.height() - 3), 3, 3);
    return img;
}

} // namespace

void WritePanelBitmaps(const Theme& theme, SkinWriter& out) {
    const DialogGeometry g = MainGeometry();
    const QSize sw = SizeOf(g, "CONTROL_DengStaPic");
    out.bmp(QStringLiteral("dengup.bmp"), Switch(theme, sw, false));
    out.bmp(QStringLiteral("dengdown.bmp"), Switch(theme, sw, true));

    const QSize dir = SizeOf(g, "CONTROL_BLFXLStaPic");
    out.bmp(QStringLiteral("leftup.bmp"), Arrow(theme, dir, true, false));
    out.bmp(QStringLiteral("leftdown.bmp"), Arrow(theme, dir, true, true));
    out.bmp(QStringLiteral("rightup.bmp"), Arrow(theme, dir, false, false));
    out.bmp(QStringLiteral("rightdown.bmp"), Arrow(theme, dir, false, true));
    out.bmp(QStringLiteral("upup.bmp"), Direction(theme, dir, Glyph::Up, false, false));
    out.bmp(QStringLiteral("updown.bmp"), Direction(theme, dir, Glyph::Up, true, false));
    out.bmp(QStringLiteral("downup.bmp"), Direction(theme, dir, Glyph::Down, false, false));
    out.bmp(QStringLiteral("downdown.bmp"), Direction(theme, dir, Glyph::Down, true, false));
    out.bmp(QStringLiteral("kuosan.bmp"), Direction(theme, dir, Glyph::Up, false, true));
    out.bmp(QStringLiteral("kuosandown.bmp"), Direction(theme, dir, Glyph::Up, true, true));
    out.bmp(QStringLiteral("julong.bmp"), Direction(theme, dir, Glyph::Down, false, true));
    out.bmp(QStringLiteral("julongdown.bmp"), Direction(theme, dir, Glyph::Down, true, true));

    const QSize chip = SizeOf(g, "CONTROL_HONGPIC");
    const std::pair<const char*, QColor> chips[] = {{"hong", QColor(0xff, 0x30, 0x40)},
                                                    {"huang", QColor(0xff, 0xd0, 0x20)},
                                                    {"lv", QColor(0x30, 0xe0, 0x60)},
                                                    {"lan", QColor(0x30, 0x80, 0xff)}};
    for (const auto& [name, colour] : chips) {
        out.bmp(QStringLiteral("%1.bmp").arg(QLatin1String(name)), Chip(theme, chip, colour, false));
        out.bmp(QStringLiteral("%1ok.bmp").arg(QLatin1String(name)), Chip(theme, chip, colour, true));
    }
    const QSize sjs = SizeOf(g, "CONTROL_HXsjsStaPic");
    out.bmp(QStringLiteral("sjsup.bmp"), Colourful(theme, sjs, false));
    out.bmp(QStringLiteral("sjsdown.bmp"), Colourful(theme, sjs, true));
    const QSize tool = SizeOf(g, "CONTROL_USERgjStaPic1");
    out.bmp(QStringLiteral("user1up.bmp"), Tool(theme, tool, false, false));
    out.bmp(QStringLiteral("user1down.bmp"), Tool(theme, tool, false, true));
    out.bmp(QStringLiteral("user2up.bmp"), Tool(theme, tool, true, false));
    out.bmp(QStringLiteral("user2down.bmp"), Tool(theme, tool, true, true));

    // Slider faces: 0..5 brightness by level, 6..11 speed by position, 12..25 spare faces of a 14-step slider.
    const QSize slider = SizeOf(g, "CONTROL_LightSlider");
    for (int n = 0; n <= 25; ++n) {
        QImage face;
        if (n <= 5)
            face = Slider(theme, slider, n / 5.0, 6, false);
        else if (n <= 11)
            face = Slider(theme, slider, (n - 6) / 5.0, 6, true);
        else
            face = Slider(theme, slider, (n - 12) / 13.0, 14, false);
        out.bmp(QStringLiteral("%1.bmp").arg(n), face);
    }
    const QSize jdt = SizeOf(g, "CONTROL_JDTStatic");
    for (int n = 1; n <= 10; ++n)
        out.bmp(QStringLiteral("jdt%1.bmp").arg(n), Progress(theme, jdt, n));

    // Preset swatches in the preset colours of the panel.
    const QColor presets[] = {QColor(235, 99, 30), QColor(255, 0, 0),   QColor(0, 126, 255), QColor(90, 255, 0),
                              QColor(234, 255, 0), QColor(255, 192, 0), QColor(255, 0, 180), QColor(174, 0, 255)};
    const QSize swatch = SizeOf(g, "CONTROL_Color1");
    for (int i = 0; i < 8; ++i)
        out.bmp(QStringLiteral("Color%1.bmp").arg(i + 1), Chip(theme, swatch, presets[i], false));
}

} // namespace skingen
