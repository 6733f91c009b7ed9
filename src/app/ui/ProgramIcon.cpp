#include "ProgramIcon.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPixmap>

namespace ombrel {

namespace {

struct MadeIcon {
    QString folder;
    QIcon icon;
};

// Kept until the application ends: its pixmaps must go while the application still exists.
MadeIcon*& LastIcon() {
    static MadeIcon* made = nullptr;
    return made;
}

void ForgetIcon() {
    delete LastIcon();
    LastIcon() = nullptr;
}

} // namespace

QIcon ProgramIcon(const QString& skinFolder) {
    // The start asks twice (the program's icon, then the window's), and each icon is a decode and seven smooth
    // scalings on the main thread while the user waits for the window.
    MadeIcon*& made = LastIcon();
    if (made && made->folder == skinFolder) return made->icon;
    const QImage picture(QDir(skinFolder).filePath(QStringLiteral("Ombrel.png")));
    QIcon icon;
    if (picture.isNull()) return icon;
    for (int size : {16, 22, 24, 32, 48, 64, 96})
        icon.addPixmap(QPixmap::fromImage(picture.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    if (!made && QCoreApplication::instance()) {
        made = new MadeIcon;
        qAddPostRoutine(ForgetIcon);
    }
    if (made) *made = {skinFolder, icon};
    return icon;
}

} // namespace ombrel
