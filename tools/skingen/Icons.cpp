// The tray icons (128 no keyboard, 141 keyboard attached, 142 the keyboard's activity) and the application icon.
#include "SkinParts.h"
#include "SkinWriter.h"
#include "Theme.h"

#include <QPainterPath>

namespace skingen {

namespace {

using namespace colours;

enum class TrayLook { NoKeyboard, Attached, Activity };

// A key cap seen from above with the program's arc on it.
void KeyMark(const Theme& theme, QPainter& p, int size, const QColor& arc, const QColor& cap) {
    p.setRenderHint(QPainter::Antialiasing, true);
    const qreal s = size;
    p.setPen(Qt::NoPen);
    p.setBrush(kWell);
    p.drawRoundedRect(QRectF(s * 0.04, s * 0.04, s * 0.92, s * 0.92), s * 0.2, s * 0.2);
    p.setBrush(cap);
    p.drawRoundedRect(QRectF(s * 0.1, s * 0.1, s * 0.8, s * 0.76), s * 0.16, s * 0.16);
    QPainterPath path;
    path.moveTo(s * 0.2, s * 0.56);
    path.cubicTo(s * 0.26, s * 0.2, s * 0.74, s * 0.2, s * 0.8, s * 0.56);
    path.closeSubpath();
    p.setBrush(arc);
    p.drawPath(path);
    p.setBrush(kText);
    p.drawRoundedRect(QRectF(s * 0.38, s * 0.6, s * 0.24, s * 0.16), s * 0.04, s * 0.04);
    Q_UNUSED(theme);
}

QImage Tray(const Theme& theme, TrayLook look) {
    const int size = 64;
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    const QColor cap(0x26, 0x2b, 0x34);
    KeyMark(theme, p, size, look == TrayLook::NoKeyboard ? kTextMuted : kAccent, cap);
    if (look == TrayLook::NoKeyboard) {
        p.setPen(QPen(kRecord, 6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12, 52), QPointF(52, 12));
    } else if (look == TrayLook::Activity) {
        p.setPen(Qt::NoPen);
        p.setBrush(kWell);
        p.drawEllipse(QPointF(46, 46), 17, 17);
        p.setBrush(kAccent);
        p.drawPolygon(QPolygonF({QPointF(40, 36), QPointF(56, 46), QPointF(40, 56)}));
    }
    return img;
}

} // namespace

void WriteIcons(const Theme& theme, SkinWriter& out) {
    out.png(QStringLiteral("Tray128.png"), Tray(theme, TrayLook::NoKeyboard));
    out.png(QStringLiteral("Tray141.png"), Tray(theme, TrayLook::Attached));
    out.png(QStringLiteral("Tray142.png"), Tray(theme, TrayLook::Activity));
    QImage app(256, 256, QImage::Format_ARGB32);
    app.fill(Qt::transparent);
    QPainter p(&app);
    KeyMark(theme, p, 256, kAccent, QColor(0x26, 0x2b, 0x34));
    p.end();
    out.png(QStringLiteral("Ombrel.png"), app);
}

} // namespace skingen
