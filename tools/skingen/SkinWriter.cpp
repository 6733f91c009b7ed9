#include "SkinWriter.h"

#include <QBuffer>
#include <QImageWriter>
#include <QSaveFile>

#include <cstdio>

namespace skingen {

namespace {
constexpr int kJpegQuality = 93;

QString RectText(const QRect& r) {
    return QStringLiteral("%1,%2,%3,%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}
} // namespace

QString SkinWriter::twinName(const QString& name, int scale) {
    if (scale == 1) return name;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString suffix = QStringLiteral("@%1x").arg(scale);
    return dot < 0 ? name + suffix : name.left(dot) + suffix + name.mid(dot);
}

bool SkinWriter::text(const QString& name, const QByteArray& content) {
    if (m_scale != 1) return true;
    return write(name, content);
}

bool SkinWriter::write(const QString& name, const QByteArray& content) {
    QSaveFile file(m_folder + QLatin1Char('/') + name);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit()) {
        std::fprintf(stderr, "skingen: cannot write %s\n", qPrintable(file.fileName()));
        ++m_failures;
        return false;
    }
    return true;
}

bool SkinWriter::image(const QString& name, const QImage& img, const char* format, int quality) {
    // Pictures that have only one size (masks, icons) come with the 1x pass.
    if (qRound(img.devicePixelRatio()) != m_scale) return true;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    if (!writer.write(img)) {
        std::fprintf(stderr, "skingen: cannot encode %s: %s\n", qPrintable(name), qPrintable(writer.errorString()));
        ++m_failures;
        return false;
    }
    return write(twinName(name, m_scale), bytes);
}

bool SkinWriter::jpeg(const QString& name, const QImage& img) {
    return image(name, img, "jpeg", kJpegQuality);
}

bool SkinWriter::bmp(const QString& name, const QImage& img) {
    return image(name, img.convertToFormat(QImage::Format_RGB32), "bmp", -1);
}

bool SkinWriter::png(const QString& name, const QImage& img) {
    return image(name, img, "png", -1);
}

bool SkinWriter::layout(const DialogGeometry& g, const QString& background, const QString& mask, const QString& link) {
    QString out;
    out += QStringLiteral(
               "; The %1 dialog of the Ombrel skin, made by skingen. Rectangles are x,y,w,h in client pixels.\n")
               .arg(g.name);
    out += QStringLiteral("[SCREEN]\nMain=%1\nMask=%2\n").arg(background, mask);
    if (!link.isEmpty()) out += QStringLiteral("Link=%1\n").arg(link);
    out += QStringLiteral("\n[BUTTONINFO]\n");
    for (const SkinElement& e : g.elements)
        out += QStringLiteral("%1=%2\n").arg(e.key, RectText(e.rect));
    bool icons = false;
    for (const SkinElement& e : g.elements) {
        const bool tab = e.kind == Kind::Tab;
        if ((!e.glyphLeft && !tab) || e.glyph == Glyph::None) continue;
        if (!icons) out += QStringLiteral("\n[ICONINFO]\n");
        icons = true;
        const QRectF button(QPointF(0, 0), QSizeF(e.rect.size()));
        const QRect icon = (tab ? TabIconRect(button) : CaptionIconRect(button)).toAlignedRect();
        out += QStringLiteral("%1=%2\n").arg(e.key, RectText(icon));
    }
    bool second = false;
    for (const SkinElement& e : g.extras) {
        if (e.group != QStringLiteral("BUTTONINFO2")) continue;
        if (!second) out += QStringLiteral("\n[BUTTONINFO2]\n");
        second = true;
        out += QStringLiteral("%1=%2\n").arg(e.key, RectText(e.rect));
    }
    return text(g.name + QStringLiteral(".ini"), out.toUtf8());
}

} // namespace skingen
