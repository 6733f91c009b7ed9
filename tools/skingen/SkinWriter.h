#pragma once
// Writes the skin's files. Every file is written whole to a temporary file and renamed, and the same input always
// gives the same bytes.

#include "SkinElement.h"

#include <QImage>
#include <QString>

namespace skingen {

class SkinWriter {
public:
    explicit SkinWriter(QString folder) : m_folder(std::move(folder)) {}

    // The pass at 2x writes only the pictures drawn at 2x, each as the twin "name@2x.ext" of its 1x picture; the
    // text files, the masks and the icons are written by the 1x pass alone.
    void setScale(int scale) { m_scale = scale; }
    // "main_bg.jpg" -> "main_bg@2x.jpg".
    static QString twinName(const QString& name, int scale);

    bool jpeg(const QString& name, const QImage& image);
    bool bmp(const QString& name, const QImage& image);
    bool png(const QString& name, const QImage& image);
    bool text(const QString& name, const QByteArray& content);
    // The layout file: [SCREEN] with the background, the mask and (main window only) the link, then [BUTTONINFO]
    // with every element and [BUTTONINFO2] with the extras that belong there.
    bool layout(const DialogGeometry& g, const QString& background, const QString& mask, const QString& link);

    int failures() const { return m_failures; }
    QString folder() const { return m_folder; }

private:
    bool image(const QString& name, const QImage& image, const char* format, int quality);
    bool write(const QString& name, const QByteArray& content);
    QString m_folder;
    int m_failures = 0;
    int m_scale = 1;
};

} // namespace skingen
