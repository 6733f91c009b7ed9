// The tray icons (128 no keyboard, 141 keyboard attached, 142 the keyboard's activity) and the application icon.
#include "SkinParts.h"
#include "SkinWriter.h"
#include "Theme.h"

#include <QPainterPath>

namespace skingen {

namespace {

using namespace colours;

enum class TrayLook { NoKeyboard, Attached, Activity };

const QColor kCap(0x26, 0x2b, 0x34);

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

constexpr int kAppIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256, 512};
QImage AppIcon(const Theme& theme, int size) {
    QImage app(size, size, QImage::Format_ARGB32);
    app.fill(Qt::transparent);
    QPainter p(&app);
    KeyMark(theme, p, size, kAccent, kCap);
    return app;
}

// KeyMark's shapes on a 256 unit canvas.
QByteArray AppIconSvg() {
    const qreal s = 256;
    auto n = [](qreal v) { return QString::number(v, 'f', 2); };
    auto rect = [&](qreal x, qreal y, qreal w, qreal h, qreal r, const QColor& c) {
        return QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" fill=\"%6\"/>\n")
            .arg(n(x * s), n(y * s), n(w * s), n(h * s), n(r * s), c.name());
    };
    QString svg = QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
                                 "viewBox=\"0 0 256 256\">\n");
    svg += rect(0.04, 0.04, 0.92, 0.92, 0.2, kWell);
    svg += rect(0.1, 0.1, 0.8, 0.76, 0.16, kCap);
    svg += QStringLiteral("  <path d=\"M%1 %2 C%3 %4 %5 %6 %7 %8 Z\" fill=\"%9\"/>\n")
               .arg(n(0.2 * s), n(0.56 * s), n(0.26 * s), n(0.2 * s), n(0.74 * s), n(0.2 * s), n(0.8 * s), n(0.56 * s),
                    kAccent.name());
    svg += rect(0.38, 0.6, 0.24, 0.16, 0.04, kText);
    svg += QStringLiteral("</svg>\n");
    return svg.toUtf8();
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
    out.png(QStringLiteral("Ombrel.png"), AppIcon(theme, 256));
    // The desktop's icon theme: every usual size drawn at that size (sharper than a scaled copy), and the same
    // shapes as a scalable picture.
    for (int size : kAppIconSizes)
        out.png(QStringLiteral("AppIcon/ombrel-%1.png").arg(size), AppIcon(theme, size));
    out.text(QStringLiteral("AppIcon/ombrel.svg"), AppIconSvg());
}

} // namespace skingen
