#include "ProgramIcon.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>

#include <future>
#include <vector>

namespace ombrel {

namespace {

struct MadeIcon {
    QString folder;
    QIcon icon;
};

struct PendingIcon {
    QString folder;
    std::future<std::vector<QImage>> pictures;
};

// Kept until the application ends: its pixmaps must go while the application still exists.
MadeIcon*& LastIcon() {
    static MadeIcon* made = nullptr;
    return made;
}

PendingIcon& Pending() {
    static PendingIcon pending;
    return pending;
}

QString& PreparedFolder() {
    static QString folder;
    return folder;
}

void ForgetIcon() {
    delete LastIcon();
    LastIcon() = nullptr;
}

// Plain images only, so this may run on any thread.
std::vector<QImage> MakePictures(const QString& skinFolder) {
    const QImage picture(QDir(skinFolder).filePath(QStringLiteral("Ombrel.png")));
    std::vector<QImage> pictures;
    if (picture.isNull()) return pictures;
    for (int size : {16, 22, 24, 32, 48, 64, 96})
        pictures.push_back(picture.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    return pictures;
}

} // namespace

void PrepareProgramIcon(const QString& skinFolder) {
    PendingIcon& pending = Pending();
    if (pending.pictures.valid()) pending.pictures.wait();
    PreparedFolder() = skinFolder;
    pending = {skinFolder, std::async(std::launch::async, MakePictures, skinFolder)};
}

void EnsureApplicationIcon() {
    if (QGuiApplication::windowIcon().isNull() && !PreparedFolder().isEmpty())
        QGuiApplication::setWindowIcon(ProgramIcon(PreparedFolder()));
}

QIcon ProgramIcon(const QString& skinFolder) {
    // The start asks twice (the program's icon, then the window's), and each icon is a decode and seven smooth
    // scalings, which need not happen twice.
    MadeIcon*& made = LastIcon();
    if (made && made->folder == skinFolder) return made->icon;
    PendingIcon& pending = Pending();
    std::vector<QImage> pictures;
    if (pending.pictures.valid() && pending.folder == skinFolder)
        pictures = pending.pictures.get();
    else
        pictures = MakePictures(skinFolder);
    QIcon icon;
    if (pictures.empty()) return icon;
    for (const QImage& picture : pictures)
        icon.addPixmap(QPixmap::fromImage(picture));
    if (!made && QCoreApplication::instance()) {
        made = new MadeIcon;
        qAddPostRoutine(ForgetIcon);
    }
    if (made) *made = {skinFolder, icon};
    return icon;
}

} // namespace ombrel
