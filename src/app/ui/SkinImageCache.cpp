#include "SkinImageCache.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>

namespace ombrel {

SkinImageCache::SkinImageCache() : m_skinFolder(DefaultSkinFolder()) {}

SkinImageCache& SkinImageCache::instance() {
    static SkinImageCache cache;
    return cache;
}

void SkinImageCache::setSkinFolder(const QString& folder) {
    m_skinFolder = folder;
}

QString SkinImageCache::resolve(const QString& name) const {
    if (QFileInfo(name).isAbsolute()) return QDir::cleanPath(name);
    return QDir::cleanPath(m_skinFolder + QLatin1Char('/') + name);
}

const QPixmap* SkinImageCache::pixmap(const QString& path) {
    const QString key = resolve(path);
    auto it = m_pixmaps.constFind(key);
    if (it != m_pixmaps.constEnd()) return it.value();
    auto* pm = new QPixmap(QPixmap::fromImage(readSkinPicture(key)));
    m_pixmaps.insert(key, pm);
    return pm;
}

std::size_t SkinImageCache::byteCount() const {
    std::size_t total = 0;
    for (const QPixmap* pm : m_pixmaps) {
        if (pm->isNull()) continue;
        total += static_cast<std::size_t>(pm->width()) * static_cast<std::size_t>(pm->height()) * // device pixels
                 static_cast<std::size_t>(pm->depth() / 8);
    }
    return total;
}

void SkinImageCache::clear() {
    qDeleteAll(m_pixmaps);
    m_pixmaps.clear();
}

QImage loadSkinPicture(const QString& relativeName) {
    return readSkinPicture(SkinImageCache::instance().resolve(relativeName));
}

qreal SkinPictureScale() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? qGuiApp->devicePixelRatio() : 1.0;
}

QString SkinTwinPath(const QString& path) {
    const QFileInfo info(path);
    const QString suffix = info.suffix();
    const QString stem = suffix.isEmpty() ? path : path.left(path.size() - suffix.size() - 1);
    return suffix.isEmpty() ? stem + QStringLiteral("@2x") : stem + QStringLiteral("@2x.") + suffix;
}

QImage readSkinPicture(const QString& path, qreal density, double windowScale) {
    auto read = [](const QString& file) {
        QImageReader reader(file);
        reader.setAutoTransform(false);
        return reader.read();
    };
    if (density * windowScale > 1.0) {
        QImage twin = read(SkinTwinPath(path));
        if (!twin.isNull()) {
            twin.setDevicePixelRatio(2.0 / windowScale);
            return twin;
        }
    }
    QImage picture = read(path);
    picture.setDevicePixelRatio(1.0 / windowScale);
    return picture;
}

QString DefaultSkinFolder() {
    const QByteArray env = qgetenv("OMBREL_SKIN_DIR");
    if (!env.isEmpty()) return QString::fromLocal8Bit(env);
    const QString appDir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    return QDir::cleanPath(appDir + QStringLiteral("/../share/ombrel/Skins"));
}

} // namespace ombrel
