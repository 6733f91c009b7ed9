#include "SkinImageCache.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QTimer>

#include <cmath>

#include <malloc.h>

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

const QPixmap* SkinImageCache::sheet(const QString& path, QColor veil) {
    const QString file = resolve(path);
    const QString key = veil.alpha() == 0 ? file : file + QLatin1Char('#') + veil.name(QColor::HexArgb);
    if (Sheet* s = m_sheetsByName.value(key)) return &s->handle;
    auto* s = new Sheet;
    s->path = file;
    s->veil = veil;
    // Only headers are read here: whether the picture can be read, and which of the two files will be.
    s->missing = !QImageReader(file).canRead();
    const bool twin = SkinPictureScale() * SkinWindowScale() > 1.0 && QImageReader(SkinTwinPath(file)).canRead();
    s->ratio = (twin ? 2.0 : 1.0) / SkinWindowScale();
    m_sheetsByName.insert(key, s);
    m_sheets.insert(&s->handle, s);
    return &s->handle;
}

qreal SkinImageCache::pixelRatio(const QPixmap* picture) const {
    if (const Sheet* s = m_sheets.value(picture)) return s->ratio;
    return picture ? picture->devicePixelRatio() : 1.0;
}

void SkinImageCache::drawFace(QPainter& painter, const QRectF& target, const QPixmap* picture, const QRectF& source,
                              FaceMemo* memo) {
    if (!picture) return;
    const qreal screen = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
    const bool remembered = memo && memo->picture == picture && memo->generation == m_generation &&
                            memo->source == source && memo->size == target.size() && memo->screen == screen;
    QPixmap cut;
    if (remembered) {
        cut = memo->face;
    } else {
        const qreal ratio = pixelRatio(picture);
        const QRectF pixels(source.topLeft() * ratio, source.size() * ratio);
        Sheet* s = m_sheets.value(picture);
        if (!s) {
            if (!picture->isNull()) painter.drawPixmap(target, *picture, pixels);
            return;
        }
        if (!s->missing) cut = face(*s, pixels, (target.size() * screen).toSize());
        if (memo) *memo = FaceMemo{picture, source, target.size(), screen, m_generation, cut};
    }
    if (cut.isNull()) return;
    // The face holds the target's own pixels: copied 1:1, the cheapest draw a painter has. It is placed in screen
    // pixels: through a fractional scale (1.5) the painter would resample the face on every paint instead of
    // copying it, even where the sizes match.
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.scale(1 / screen, 1 / screen);
    painter.drawPixmap(target.topLeft() * screen, cut);
    painter.restore();
}

SkinImageCache::FaceKey SkinImageCache::keyOf(const QRectF& pixels, const QSize& size) {
    // Places are kept to a sixteenth of a pixel: a window shown smaller than the skin cuts between pixels.
    auto sixteenths = [](qreal v) { return static_cast<int>(std::lround(v * 16)); };
    return {sixteenths(pixels.x()),      sixteenths(pixels.y()), sixteenths(pixels.width()),
            sixteenths(pixels.height()), size.width(),           size.height()};
}

QPixmap SkinImageCache::cut(const QImage& whole, const FaceKey& key) {
    const QRectF source(key[0] / 16.0, key[1] / 16.0, key[2] / 16.0, key[3] / 16.0);
    QImage face;
    if (source.size() == QSizeF(key[4], key[5]) && source.topLeft().toPoint() == source.topLeft()) {
        face = whole.copy(source.toRect());
    } else {
        // Scaled to the screen's pixels once here, smoothly, as the whole picture was on every paint before.
        face = QImage(key[4], key[5], whole.format());
        face.fill(Qt::black);
        QPainter p(&face);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(QRectF(face.rect()), whole, source);
    }
    return QPixmap::fromImage(face);
}

const QPixmap& SkinImageCache::face(Sheet& s, const QRectF& pixels, const QSize& size) {
    static const QPixmap none;
    if (size.isEmpty()) return none;
    const FaceKey key = keyOf(pixels, size);
    if (auto it = s.faces.find(key); it != s.faces.end()) return it->second;
    m_facePlaces.insert(key);
    decode(s);
    if (s.whole.isNull()) {
        s.missing = true;
        return none;
    }
    // The faces of the paint at hand are cut while the picture is decoded. A picture that has to be decoded again
    // serves faces one at a time (a hover face, a newly checked button): then every known place is cut, so that the
    // next hover does not decode it once more. A veiled sheet serves a few keys only.
    if (s.veil.alpha() == 0 && s.decodes > 1) {
        for (const FaceKey& k : m_facePlaces)
            if (!s.faces.count(k)) s.faces.emplace(k, cut(s.whole, k));
    } else {
        s.faces.emplace(key, cut(s.whole, key));
    }
    return s.faces.at(key);
}

void SkinImageCache::decode(Sheet& s) {
    if (!s.whole.isNull()) return;
    s.whole = readSkinPicture(s.path);
    if (s.whole.isNull()) return;
    ++s.decodes;
    s.whole.setDevicePixelRatio(1.0); // faces are cut in the picture's own pixels
    if (s.veil.alpha() != 0) {
        QPainter p(&s.whole);
        p.fillRect(s.whole.rect(), s.veil);
    }
    dropWholeSoon();
}

void SkinImageCache::dropWholeSoon() {
    if (m_dropPending) return;
    m_dropPending = true;
    // The faces a paint needs are cut in one go; the whole picture goes when the event loop is idle again.
    auto drop = [this] {
        m_dropPending = false;
        for (Sheet* s : std::as_const(m_sheets))
            s->whole = QImage();
        // The C library keeps freed blocks of this size for the next ones; none are coming, so the memory goes
        // back to the system.
        malloc_trim(0);
    };
    if (QCoreApplication::instance())
        QTimer::singleShot(0, QCoreApplication::instance(), drop);
    else
        drop();
}

int SkinImageCache::decodedSheetCount() const {
    int n = 0;
    for (const Sheet* s : m_sheets)
        n += s->whole.isNull() ? 0 : 1;
    return n;
}

std::size_t SkinImageCache::byteCount() const {
    auto bytes = [](const QPixmap& pm) {
        return pm.isNull() ? std::size_t{0}
                           : static_cast<std::size_t>(pm.width()) * static_cast<std::size_t>(pm.height()) *
                                 static_cast<std::size_t>(pm.depth() / 8); // device pixels
    };
    std::size_t total = 0;
    for (const QPixmap* pm : m_pixmaps)
        total += bytes(*pm);
    for (const Sheet* s : m_sheets) {
        total += static_cast<std::size_t>(s->whole.sizeInBytes());
        for (const auto& [key, pm] : s->faces)
            total += bytes(pm);
    }
    return total;
}

void SkinImageCache::clear() {
    ++m_generation;
    qDeleteAll(m_pixmaps);
    m_pixmaps.clear();
    m_sheets.clear();
    qDeleteAll(m_sheetsByName);
    m_sheetsByName.clear();
    m_facePlaces.clear();
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

namespace {

QSize scaledSize(const QSize& size, qreal factor) {
    return QSize(static_cast<int>(std::lround(size.width() * factor)),
                 static_cast<int>(std::lround(size.height() * factor)));
}

ScreenPicturePlan planFile(const QString& file, qreal native, qreal density, double windowScale) {
    ScreenPicturePlan plan;
    QImageReader reader(file);
    if (!reader.canRead()) return plan;
    plan.file = file;
    plan.native = native;
    plan.density = density;
    plan.factor = density * windowScale / native;
    const QSize full = reader.size();
    if (full.isValid()) plan.pixels = scaledSize(full, plan.factor);
    return plan;
}

} // namespace

QSize ScreenPicturePlan::shownSize() const {
    return pixels.isValid() ? (QSizeF(pixels) / density).toSize() : QSize();
}

ScreenPicturePlan planSkinPictureAtScreenSize(const QString& path, qreal density, double windowScale) {
    if (density * windowScale > 1.0) {
        ScreenPicturePlan twin = planFile(SkinTwinPath(path), 2.0, density, windowScale);
        if (!twin.file.isEmpty()) return twin;
    }
    return planFile(path, 1.0, density, windowScale);
}

QImage readPlannedPicture(const ScreenPicturePlan& plan) {
    if (plan.file.isEmpty()) return {};
    QImageReader reader(plan.file);
    reader.setAutoTransform(false);
    const QSize full = reader.size();
    // A reader that can scale while it decodes (JPEG) saves the full-size image and a second pass over it.
    if (plan.pixels.isValid() && plan.pixels != full && reader.supportsOption(QImageIOHandler::ScaledSize))
        reader.setScaledSize(plan.pixels);
    QImage image = reader.read();
    if (image.isNull()) return image;
    // Otherwise scaled once here, smoothly, so that the faces are copied 1:1 when painted.
    const QSize target = plan.pixels.isValid() ? plan.pixels : scaledSize(image.size(), plan.factor);
    if (image.size() != target) image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    image.setDevicePixelRatio(plan.density);
    return image;
}

QImage readSkinPictureAtScreenSize(const QString& path, qreal density, double windowScale) {
    const ScreenPicturePlan plan = planSkinPictureAtScreenSize(path, density, windowScale);
    QImage image = readPlannedPicture(plan);
    // A twin whose header reads but whose pixels do not: the picture itself.
    if (image.isNull() && plan.twin()) image = readPlannedPicture(planFile(path, 1.0, density, windowScale));
    return image;
}

QString DefaultSkinFolder() {
    const QByteArray env = qgetenv("OMBREL_SKIN_DIR");
    if (!env.isEmpty()) return QString::fromLocal8Bit(env);
    const QString appDir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    return QDir::cleanPath(appDir + QStringLiteral("/../share/ombrel/Skins"));
}

} // namespace ombrel
