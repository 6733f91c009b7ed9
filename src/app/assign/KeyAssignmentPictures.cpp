#include "KeyAssignmentPictures.h"

#include "SkinButton.h"
#include "SkinImageCache.h"
#include "SkinPlacement.h"
#include "SkinStyle.h"

#include <QDir>

namespace ombrel {

KeyAssignmentPictures KeyAssignmentPictures::load(const QString& skinFolder) {
    KeyAssignmentPictures p;
    auto& cache = SkinImageCache::instance();
    auto read = [&](const char* prefix, const char* state) -> const QPixmap* {
        const QString path = QDir(skinFolder).filePath(QStringLiteral("%1_%2.jpg").arg(prefix, state));
        const QPixmap* pixmap = cache.pixmap(path);
        if ((!pixmap || pixmap->isNull()) && p.missing.isEmpty()) p.missing = path;
        return pixmap;
    };
    // The key, media and function sets use their normal face for the disabled look.
    auto set = [&](const char* prefix, bool ownDisabled) {
        PictureSet s{read(prefix, "normal"), read(prefix, "over"), read(prefix, "down"), nullptr};
        s.disable = ownDisabled ? read(prefix, "disable") : s.normal;
        return s;
    };
    p.key = set("key", false);
    p.macro = set("macro", true);
    p.macro2 = set("macro2", true);
    p.media = set("media", false);
    p.function = set("function", false);
    return p;
}

SkinButton* MakeSkinButton(QWidget* parent, const QString& layoutFile, const char* key, const PictureSet& set) {
    auto* b = new SkinButton(parent);
    b->setObjectName(QString::fromLatin1(key));
    placeSkinButton(b, layoutFile, QStringLiteral("BUTTONINFO"), QString::fromLatin1(key), set.normal, set.over,
                    set.down, set.disable, set.down);
    StyleTextButton(b);
    return b;
}

void UseSet(SkinButton* button, const PictureSet& set) {
    button->setStateFaces(set.normal, set.over, set.down, set.disable, set.down);
}

} // namespace ombrel
