#include "Theme.h"

#include <QFontDatabase>
#include <QPainterPath>

namespace skingen {

using namespace colours;

namespace {

QString FamilyOf(const QString& file) {
    const int id = QFontDatabase::addApplicationFont(file);
    if (id < 0) return {};
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    return families.isEmpty() ? QString() : families.first();
}

QPainterPath Rounded(const QRectF& r, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

QColor Mix(const QColor& a, const QColor& b, qreal t) {
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t));
}

} // namespace

bool Theme::loadFonts(const QString& latinRegular, const QString& latinBold, const QString& cjk) {
    m_latin = FamilyOf(latinRegular);
    m_latinBold = FamilyOf(latinBold);
    m_cjk = FamilyOf(cjk);
    return !m_latin.isEmpty() && !m_latinBold.isEmpty() && !m_cjk.isEmpty();
}

QImage Theme::canvas(const QSize& size, QImage::Format format) const {
    QImage image(size * m_scale, format);
    image.setDevicePixelRatio(m_scale);
    return image;
}

QFont Theme::font(int pixelSize, bool bold) const {
    QFont f(bold ? m_latinBold : m_latin);
    f.setPixelSize(pixelSize);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(
        QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias | QFont::NoFontMerging));
    f.setKerning(true);
    return f;
}

QFont Theme::cjkFont(int pixelSize) const {
    QFont f(m_cjk);
    f.setPixelSize(pixelSize);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias));
    return f;
}

void Theme::drawWindow(QPainter& p, const QSize& client, bool titleBar, int captionLine) const {
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF outer(0.5, 0.5, client.width() - 1.0, client.height() - 1.0);
    QLinearGradient bg(0, 0, 0, client.height());
    bg.setColorAt(0, QColor(0x14, 0x17, 0x1d));
    bg.setColorAt(1, kWindow);
    p.setPen(QPen(kPanelEdge, 1));
    p.setBrush(bg);
    p.drawPath(Rounded(outer, 10));
    if (titleBar) {
        // A faint accent line under the caption area.
        QLinearGradient line(0, 0, client.width(), 0);
        line.setColorAt(0, QColor(0x2e, 0xe6, 0xd6, 0));
        line.setColorAt(0.2, QColor(0x2e, 0xe6, 0xd6, 140));
        line.setColorAt(0.8, QColor(0x2e, 0xe6, 0xd6, 140));
        line.setColorAt(1, QColor(0x2e, 0xe6, 0xd6, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(line);
        p.drawRect(QRectF(12, captionLine, client.width() - 24, 1));
    }
}

void Theme::drawPanel(QPainter& p, const QRect& r) const {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(kPanelEdge, 1));
    p.setBrush(kPanel);
    p.drawPath(Rounded(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 8));
}

void Theme::drawWell(QPainter& p, const QRect& r) const {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(kEdge, 1));
    p.setBrush(kWell);
    p.drawPath(Rounded(QRectF(r).adjusted(-1.5, -1.5, 1.5, 1.5), 4));
}

void Theme::drawKey(QPainter& p, const QRect& r, const QString& legend, const QString& sub, State s) const {
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF body = QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5);
    QColor top = QColor(0x2a, 0x2f, 0x39), bottom = QColor(0x1d, 0x21, 0x28), edge = kEdge;
    QColor text = kText, subText = kTextDim;
    qreal offset = 0;
    switch (s) {
    case State::Hover:
        top = QColor(0x34, 0x3a, 0x46);
        bottom = QColor(0x26, 0x2b, 0x34);
        edge = kAccent;
        break;
    case State::Pressed:
        top = QColor(0x10, 0x13, 0x18);
        bottom = QColor(0x17, 0x1b, 0x21);
        edge = kAccent;
        text = kAccent;
        offset = 1;
        break;
    case State::Checked:
        edge = QColor(0x2e, 0xe6, 0xd6, 170);
        text = kAccent;
        break;
    case State::Unmarked:
        top = QColor(0x17, 0x1a, 0x20);
        bottom = QColor(0x14, 0x16, 0x1b);
        edge = QColor(0x26, 0x2a, 0x32);
        text = QColor(0x55, 0x5c, 0x69);
        subText = QColor(0x40, 0x45, 0x4f);
        break;
    case State::Marked:
        top = QColor(0x3d, 0xf0, 0xe0);
        bottom = QColor(0x1f, 0xc4, 0xb6);
        edge = QColor(0x9d, 0xff, 0xf6);
        text = QColor(0x06, 0x1a, 0x19);
        subText = QColor(0x0b, 0x3b, 0x38);
        break;
    case State::Disabled:
        top = kFaceDisabled;
        bottom = kFaceDisabled;
        text = kTextDisabled;
        subText = kTextDisabled;
        break;
    case State::Normal:
        break;
    }
    // The key's skirt, a shade darker, shows depth under the cap.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x0a, 0x0c, 0x0f));
    p.drawPath(Rounded(body.adjusted(0, 2, 0, 1), 6));
    QLinearGradient g(body.topLeft(), body.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setBrush(g);
    p.setPen(QPen(edge, s == State::Hover || s == State::Pressed ? 1.5 : 1));
    const QRectF cap = body.adjusted(0, offset, 0, offset - 2);
    p.drawPath(Rounded(cap, 5));
    if (s == State::Checked) {
        // The assigned mark: an accent bar along the bottom and a dot in the corner.
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        p.drawRoundedRect(QRectF(cap.left() + 6, cap.bottom() - 4, cap.width() - 12, 2.5), 1.2, 1.2);
        p.drawEllipse(QPointF(cap.right() - 6, cap.top() + 6), 2.5, 2.5);
    }
    const QRectF face = cap.adjusted(4, 3, -4, -5);
    if (!sub.isEmpty()) {
        p.setFont(font(9));
        p.setPen(subText);
        p.drawText(face, Qt::AlignLeft | Qt::AlignTop, sub);
    }
    if (!legend.isEmpty()) {
        const bool longLegend = legend.size() > 3;
        p.setFont(font(longLegend ? 10 : (legend.size() == 1 ? 14 : 12), !longLegend));
        p.setPen(text);
        const Qt::Alignment align = sub.isEmpty() ? (longLegend ? Qt::AlignLeft | Qt::AlignBottom : Qt::AlignCenter)
                                                  : Qt::AlignRight | Qt::AlignBottom;
        p.drawText(face, align, legend);
    }
}

void Theme::drawButton(QPainter& p, const QRect& r, Glyph g, const QString& text, State s, bool primary) const {
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF body = QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5);
    QColor fill = primary ? kAccentDeep : kFace, edge = primary ? kAccent : kEdge, ink = kText;
    switch (s) {
    case State::Hover:
        fill = primary ? Mix(kAccentDeep, kAccent, 0.25) : kFaceHover;
        edge = kAccent;
        break;
    case State::Pressed:
        fill = kFacePressed;
        edge = kAccent;
        ink = kAccent;
        break;
    case State::Checked:
        fill = Mix(kFace, kAccent, 0.22);
        edge = kAccent;
        ink = kAccent;
        break;
    case State::Disabled:
        fill = kFaceDisabled;
        edge = QColor(0x25, 0x29, 0x30);
        ink = kTextDisabled;
        break;
    default:
        break;
    }
    p.setPen(QPen(edge, 1));
    p.setBrush(fill);
    p.drawPath(Rounded(body, 6));
    if (s == State::Checked) {
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        p.drawRoundedRect(QRectF(body.left() + 10, body.bottom() - 3, body.width() - 20, 2), 1, 1);
    }
    if (g != Glyph::None) {
        const qreal side = std::min<qreal>(18, body.height() - 10);
        QRectF glyph(0, 0, side, side);
        if (text.isEmpty())
            glyph.moveCenter(body.center());
        else
            glyph = CaptionIconRect(QRectF(r));
        drawGlyph(p, glyph, g, g == Glyph::Record && s != State::Disabled ? kRecord : ink);
    }
    if (!text.trimmed().isEmpty()) {
        p.setPen(ink);
        const bool cjk = text.front().unicode() >= 0x2E80;
        p.setFont(cjk ? cjkFont(15) : font(13, true));
        p.drawText(body.adjusted(g == Glyph::None ? 0 : 24, 0, 0, 0), Qt::AlignCenter, text);
    }
}

void Theme::drawGlyph(QPainter& p, const QRectF& r, Glyph g, const QColor& c) const {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    QPen pen(c, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const qreal x = r.left(), y = r.top(), w = r.width(), h = r.height();
    auto P = [&](qreal fx, qreal fy) { return QPointF(x + fx * w, y + fy * h); };
    switch (g) {
    case Glyph::Menu:
        for (qreal fy : {0.25, 0.5, 0.75})
            p.drawLine(P(0.15, fy), P(0.85, fy));
        break;
    case Glyph::Help:
        p.drawEllipse(r.adjusted(1, 1, -1, -1));
        p.setFont(font(static_cast<int>(h * 0.62), true));
        p.drawText(r, Qt::AlignCenter, QStringLiteral("?"));
        break;
    case Glyph::Minimise:
        p.drawLine(P(0.2, 0.7), P(0.8, 0.7));
        break;
    case Glyph::Close:
        p.drawLine(P(0.22, 0.22), P(0.78, 0.78));
        p.drawLine(P(0.78, 0.22), P(0.22, 0.78));
        break;
    case Glyph::Globe:
        p.drawEllipse(r.adjusted(1, 1, -1, -1));
        p.drawEllipse(QRectF(P(0.3, 0.06), P(0.7, 0.94)));
        p.drawLine(P(0.06, 0.5), P(0.94, 0.5));
        break;
    case Glyph::Plus:
        p.drawLine(P(0.5, 0.15), P(0.5, 0.85));
        p.drawLine(P(0.15, 0.5), P(0.85, 0.5));
        break;
    case Glyph::Minus:
        p.drawLine(P(0.15, 0.5), P(0.85, 0.5));
        break;
    case Glyph::Trash:
        p.drawLine(P(0.15, 0.25), P(0.85, 0.25));
        p.drawLine(P(0.4, 0.12), P(0.6, 0.12));
        p.drawPolyline(QPolygonF({P(0.25, 0.25), P(0.3, 0.9), P(0.7, 0.9), P(0.75, 0.25)}));
        p.drawLine(P(0.45, 0.4), P(0.45, 0.75));
        p.drawLine(P(0.58, 0.4), P(0.58, 0.75));
        break;
    case Glyph::Record:
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawEllipse(r.center(), w * 0.32, h * 0.32);
        break;
    case Glyph::Stop:
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawRect(QRectF(P(0.25, 0.25), P(0.75, 0.75)));
        break;
    case Glyph::Up:
    case Glyph::Down: {
        const bool up = g == Glyph::Up;
        p.drawPolyline(QPolygonF({P(0.2, up ? 0.62 : 0.38), P(0.5, up ? 0.32 : 0.68), P(0.8, up ? 0.62 : 0.38)}));
        break;
    }
    case Glyph::Top:
    case Glyph::Bottom: {
        const bool top = g == Glyph::Top;
        p.drawLine(P(0.2, top ? 0.18 : 0.82), P(0.8, top ? 0.18 : 0.82));
        p.drawPolyline(QPolygonF({P(0.2, top ? 0.7 : 0.3), P(0.5, top ? 0.4 : 0.6), P(0.8, top ? 0.7 : 0.3)}));
        break;
    }
    case Glyph::Eraser: {
        QPolygonF shape({P(0.1, 0.6), P(0.5, 0.2), P(0.9, 0.55), P(0.55, 0.9), P(0.35, 0.9)});
        p.drawPolygon(shape);
        p.drawLine(P(0.3, 0.4), P(0.7, 0.75));
        p.drawLine(P(0.35, 0.9), P(0.95, 0.9));
        break;
    }
    case Glyph::Keyboard:
        p.drawRoundedRect(QRectF(P(0.05, 0.22), P(0.95, 0.8)), 2, 2);
        for (int i = 0; i < 4; ++i)
            p.drawPoint(P(0.22 + i * 0.19, 0.4));
        for (int i = 0; i < 4; ++i)
            p.drawPoint(P(0.22 + i * 0.19, 0.53));
        p.drawLine(P(0.3, 0.66), P(0.7, 0.66));
        break;
    case Glyph::Folder:
        p.drawPolygon(
            QPolygonF({P(0.08, 0.25), P(0.4, 0.25), P(0.5, 0.35), P(0.92, 0.35), P(0.92, 0.8), P(0.08, 0.8)}));
        break;
    case Glyph::Upload:
        p.drawLine(P(0.5, 0.15), P(0.5, 0.65));
        p.drawPolyline(QPolygonF({P(0.28, 0.37), P(0.5, 0.15), P(0.72, 0.37)}));
        p.drawPolyline(QPolygonF({P(0.12, 0.6), P(0.12, 0.85), P(0.88, 0.85), P(0.88, 0.6)}));
        break;
    case Glyph::Save:
        p.drawRoundedRect(QRectF(P(0.12, 0.12), P(0.88, 0.88)), 2, 2);
        p.drawRect(QRectF(P(0.3, 0.12), P(0.7, 0.38)));
        p.drawRect(QRectF(P(0.28, 0.58), P(0.72, 0.88)));
        break;
    case Glyph::Link:
        p.drawRoundedRect(QRectF(P(0.08, 0.35), P(0.55, 0.65)), h * 0.15, h * 0.15);
        p.drawRoundedRect(QRectF(P(0.45, 0.35), P(0.92, 0.65)), h * 0.15, h * 0.15);
        break;
    case Glyph::Logo:
        drawLogo(p, r.topLeft().toPoint(), static_cast<int>(h));
        break;
    case Glyph::None:
        break;
    }
    p.restore();
}

void Theme::drawLogo(QPainter& p, const QPoint& at, int height) const {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    // An umbrella-like arc over a key: the mark of the program.
    const qreal s = height;
    const QPointF o(at);
    QPainterPath arc;
    arc.moveTo(o + QPointF(0.08 * s, 0.55 * s));
    arc.cubicTo(o + QPointF(0.15 * s, 0.05 * s), o + QPointF(0.85 * s, 0.05 * s), o + QPointF(0.92 * s, 0.55 * s));
    arc.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(colours::kAccent);
    p.drawPath(arc);
    p.setBrush(colours::kText);
    p.drawRoundedRect(QRectF(o + QPointF(0.3 * s, 0.62 * s), QSizeF(0.4 * s, 0.3 * s)), 0.06 * s, 0.06 * s);
    p.restore();
}

void Theme::drawIndicator(QPainter& p, const SkinElement& e, State s) const {
    p.setRenderHint(QPainter::Antialiasing, true);
    const bool lit = s == State::Checked;
    const QRectF body = QRectF(e.rect).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(kPanelEdge, 1));
    p.setBrush(kPanel);
    p.drawPath(Rounded(body, body.height() / 2));
    const QPointF led(body.left() + body.height() / 2, body.center().y());
    if (lit) {
        QRadialGradient glow(led, body.height() * 0.6);
        glow.setColorAt(0, QColor(0x2e, 0xe6, 0xd6, 160));
        glow.setColorAt(1, QColor(0x2e, 0xe6, 0xd6, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(led, body.height() * 0.6, body.height() * 0.6);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(lit ? kAccent : QColor(0x2a, 0x2f, 0x38));
    p.drawEllipse(led, 4, 4);
    p.setFont(font(10, true));
    p.setPen(lit ? kText : kTextDim);
    QString label = e.legend;
    if (!e.subLegend.isEmpty() && lit) label = e.subLegend;
    p.drawText(body.adjusted(body.height(), 0, -6, 0), Qt::AlignVCenter | Qt::AlignLeft, label);
}

void Theme::drawChip(QPainter& p, const SkinElement& e, State s) const {
    drawButton(p, e.rect, Glyph::None, QString(), s);
    p.setFont(font(12, true));
    p.setPen(s == State::Checked || s == State::Pressed ? kAccent : (s == State::Disabled ? kTextDisabled : kText));
    if (e.subLegend.isEmpty()) {
        p.drawText(e.rect, Qt::AlignCenter, e.legend);
        return;
    }
    const QRect top = e.rect.adjusted(0, 3, 0, -e.rect.height() / 2 + 3);
    const QRect bottom = e.rect.adjusted(0, e.rect.height() / 2 - 3, 0, -3);
    p.drawText(top, Qt::AlignHCenter | Qt::AlignBottom, e.legend);
    p.setFont(font(9));
    p.setPen(kTextDim);
    p.drawText(bottom, Qt::AlignHCenter | Qt::AlignTop, e.subLegend);
}

void Theme::drawTab(QPainter& p, const SkinElement& e, State s) const {
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF body = QRectF(e.rect).adjusted(0.5, 0.5, -0.5, -0.5);
    QColor fill = Qt::transparent, ink = kTextDim;
    if (s == State::Hover) {
        fill = QColor(0xff, 0xff, 0xff, 14);
        ink = kText;
    } else if (s == State::Pressed) {
        fill = QColor(0x2e, 0xe6, 0xd6, 30);
        ink = kAccent;
    } else if (s == State::Disabled) {
        ink = kTextDisabled;
    }
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(Rounded(body, 6));
    drawGlyph(p, TabIconRect(QRectF(e.rect)), e.glyph, ink);
}

void Theme::drawCaptionButton(QPainter& p, const SkinElement& e, State s) const {
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF body = QRectF(e.rect).adjusted(0.5, 0.5, -0.5, -0.5);
    QColor fill = Qt::transparent, ink = kTextDim;
    if (s == State::Hover) {
        fill = e.glyph == Glyph::Close ? QColor(0xd9, 0x3a, 0x4a) : kFaceHover;
        ink = kText;
    } else if (s == State::Pressed) {
        fill = e.glyph == Glyph::Close ? QColor(0xa8, 0x2a, 0x38) : kFacePressed;
        ink = kAccent;
    }
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(Rounded(body, 6));
    QRectF g(0, 0, 14, 14);
    g.moveCenter(body.center());
    drawGlyph(p, g, e.glyph, ink);
}

void Theme::drawElement(QPainter& p, const SkinElement& e, State s) const {
    switch (e.kind) {
    case Kind::Key:
    case Kind::GKey:
        drawKey(p, e.rect, e.legend, e.subLegend, s);
        break;
    case Kind::Button:
        drawButton(p, e.rect, e.glyph, e.glyphLeft ? QStringLiteral(" ") : e.legend, s,
                   e.subLegend == QStringLiteral("primary"));
        break;
    case Kind::Tab:
        drawTab(p, e, s);
        break;
    case Kind::CaptionBtn:
        drawCaptionButton(p, e, s);
        break;
    case Kind::Indicator:
        drawIndicator(p, e, s);
        break;
    case Kind::Chip:
        drawChip(p, e, s);
        break;
    case Kind::Field:
        drawWell(p, e.rect);
        break;
    case Kind::Arrow:
    case Kind::Page:
    case Kind::Label:
    case Kind::Picture:
    case Kind::Hidden:
        break;
    }
}

} // namespace skingen
