#pragma once
// The process-wide store of decoded skin pictures. Every picture is decoded once and shared by all the buttons
// that cut their faces from it; asking again for the same file returns the same pixmap, never a second copy.
//
// The whole-window state pictures of the main window (a picture of every button in one state) are large and each
// button shows only its own small piece of them, so they are kept as face sheets instead: only the faces the
// buttons have shown are held, each already at the size and density of the screen (so painting is a 1:1 copy), and
// the whole picture is decoded when a face is missing and dropped again as soon as the event loop is idle.

#include <QColor>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QString>

#include "SkinScale.h"

#include <array>
#include <cstddef>
#include <map>
#include <set>

class QPainter;

namespace ombrel {

class SkinImageCache {
public:
    static SkinImageCache& instance();

    // The picture at `path` (absolute, or relative to the skin folder). A missing or unreadable file gives a null
    // pixmap that is cached too, so a face cut from it shows nothing and the file is not tried again.
    const QPixmap* pixmap(const QString& path);

    // A face sheet of the whole-window picture at `path`; `veil` (when not transparent) is laid over the picture,
    // as for keys that are switched off. The returned handle identifies the sheet for setFaces and drawFace; it
    // holds no pixels itself. Asking again returns the same handle.
    const QPixmap* sheet(const QString& path, QColor veil = Qt::transparent);
    bool isSheet(const QPixmap* picture) const { return m_sheets.contains(picture); }
    // The face drawFace cut last for one control: a control painted again in the same state (twenty times a second
    // under the lighting preview) is drawn without looking its face up again.
    struct FaceMemo {
        const QPixmap* picture = nullptr;
        QRectF source;
        QSizeF size;
        qreal screen = 0;
        quint64 generation = 0;
        QPixmap face;
    };
    // Draws the part `source` (in the window's coordinates) of `picture`, a sheet or a plain pixmap, into `target`.
    // Nothing is drawn from a missing picture.
    void drawFace(QPainter& painter, const QRectF& target, const QPixmap* picture, const QRectF& source,
                  FaceMemo* memo = nullptr);
    // Pixels of `picture` per unit of the window's coordinates.
    qreal pixelRatio(const QPixmap* picture) const;

    // Where relative picture names are looked up; the data folder's Skins folder by default.
    void setSkinFolder(const QString& folder);
    QString skinFolder() const { return m_skinFolder; }
    QString resolve(const QString& name) const;

    int pictureCount() const { return static_cast<int>(m_pixmaps.size() + m_sheets.size()); }
    std::size_t byteCount() const; // memory the decoded pictures and faces hold
    // Whole sheet pictures decoded at the moment (they are dropped when the event loop is idle).
    int decodedSheetCount() const;
    void clear(); // frees every picture: at the program's end (before the application object goes)
                  // and in tests; pointers handed out become invalid

private:
    // The source rectangle in the picture's pixels, in sixteenths, and the size of the face on the screen.
    using FaceKey = std::array<int, 6>;
    struct Sheet {
        QString path;
        QColor veil;
        qreal ratio = 1.0; // the picture's pixels per unit of the window's coordinates
        QPixmap handle;    // never holds pixels; its address names the sheet
        QImage whole;      // while decoded
        bool missing = false;
        int decodes = 0;
        std::map<FaceKey, QPixmap> faces;
    };
    SkinImageCache();
    const QPixmap& face(Sheet& sheet, const QRectF& pixels, const QSize& size);
    static FaceKey keyOf(const QRectF& pixels, const QSize& size);
    static QPixmap cut(const QImage& whole, const FaceKey& key);
    void decode(Sheet& sheet);
    void dropWholeSoon();

    QHash<QString, QPixmap*> m_pixmaps;    // owned; the pointers stay valid until clear()
    QHash<QString, Sheet*> m_sheetsByName; // owned, keyed by path and veil
    QHash<const QPixmap*, Sheet*> m_sheets;
    // Every face place asked for: a sheet decoded for one face cuts them all, so that the first hover over each
    // button does not decode the picture again.
    std::set<FaceKey> m_facePlaces;
    bool m_dropPending = false;
    quint64 m_generation = 1; // counts clear(): a memo of an earlier generation names freed sheets
    QString m_skinFolder;
};

// Decodes a picture of the skin folder (JPEG, BMP or PNG) without caching it. A missing file gives a null image.
QImage loadSkinPicture(const QString& relativeName);

// The density the skin's pictures are chosen for: the highest device pixel ratio of the screens (1 without an
// application object). Above 1 the 2x twins are read, which stay sharp when Qt scales them to the screen.
qreal SkinPictureScale();
// "main_bg.jpg" -> "main_bg@2x.jpg": the twin drawn at twice the size.
QString SkinTwinPath(const QString& path);
// Reads the picture at `path` (full path) for a screen of the given density and a window shown at `windowScale`:
// the 2x twin when the two together call for more than 1x and the twin can be read, else the picture itself. Its
// device pixel ratio makes it as large, in the window's coordinates, as the 1x picture times the window's scale.
QImage readSkinPicture(const QString& path, qreal density = SkinPictureScale(), double windowScale = SkinWindowScale());

// Reads the picture at `path` for a screen of the given density and a window shown at `windowScale`, decoded at the
// size it is shown at: `density` pixels per unit of the window's coordinates (its device pixel ratio), from the 2x
// twin when the screen needs more than 1x and the twin can be read.
QImage readSkinPictureAtScreenSize(const QString& path, qreal density = SkinPictureScale(),
                                   double windowScale = SkinWindowScale());

// Which file readSkinPictureAtScreenSize decodes and at which size, told from the files' headers alone: a window
// can take its size from it while the picture is still being decoded.
struct ScreenPicturePlan {
    QString file;        // empty when neither the picture nor its twin can be read
    qreal native = 1.0;  // 2 for the twin
    qreal factor = 1.0;  // decoded pixels per pixel of the file
    qreal density = 1.0; // decoded pixels per unit of the window's coordinates
    QSize pixels;        // the decoded size; invalid when the header does not tell it
    bool twin() const { return native != 1.0; }
    // The picture's size in the window's coordinates; invalid when the header does not tell it.
    QSize shownSize() const;
};
ScreenPicturePlan planSkinPictureAtScreenSize(const QString& path, qreal density = SkinPictureScale(),
                                              double windowScale = SkinWindowScale());
// Decodes a planned picture (any thread). A null image when it cannot be read after all.
QImage readPlannedPicture(const ScreenPicturePlan& plan);

// The data folder's Skins folder: $OMBREL_SKIN_DIR when set, else ../share/ombrel/Skins beside the program.
QString DefaultSkinFolder();

} // namespace ombrel
