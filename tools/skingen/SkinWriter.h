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
    QString m_folder;
    int m_failures = 0;
};

} // namespace skingen
