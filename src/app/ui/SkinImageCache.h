#pragma once
// The process-wide store of decoded skin pictures. Every picture is decoded once and shared by all the buttons
// that cut their faces from it; asking again for the same file returns the same pixmap, never a second copy.

#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QString>

#include "SkinScale.h"

#include <cstddef>

namespace ombrel {

class SkinImageCache {
public:
    static SkinImageCache& instance();

    // The picture at `path` (absolute, or relative to the skin folder). A missing or unreadable file gives a null
    // pixmap that is cached too, so a face cut from it shows nothing and the file is not tried again.
    const QPixmap* pixmap(const QString& path);

    // Where relative picture names are looked up; the data folder's Skins folder by default.
    void setSkinFolder(const QString& folder);
    QString skinFolder() const { return m_skinFolder; }
    QString resolve(const QString& name) const;

    int pictureCount() const { return static_cast<int>(m_pixmaps.size()); }
    std::size_t byteCount() const; // memory the decoded pictures hold
    void clear();                  // frees every picture: at the program's end (before the application object goes)
                                   // and in tests; pointers handed out become invalid

private:
    SkinImageCache();
    QHash<QString, QPixmap*> m_pixmaps; // owned; the pointers stay valid until clear()
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

// The data folder's Skins folder: $OMBREL_SKIN_DIR when set, else ../share/ombrel/Skins beside the program.
QString DefaultSkinFolder();

} // namespace ombrel
