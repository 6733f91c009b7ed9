#include "ProgramIcon.h"

#include <QDir>
#include <QImage>
#include <QPixmap>

namespace ombrel {

QIcon ProgramIcon(const QString& skinFolder) {
    const QImage picture(QDir(skinFolder).filePath(QStringLiteral("Ombrel.png")));
    QIcon icon;
    if (picture.isNull()) return icon;
    for (int size : {16, 22, 24, 32, 48, 64, 96})
        icon.addPixmap(QPixmap::fromImage(picture.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    return icon;
}

} // namespace ombrel
