// ombrel-skin-gallery: opens every skinned dialog's frame with its controls in place.
//   ombrel-skin-gallery [--skin DIR] [--render OUT_DIR] [--scale FACTOR] [DIALOG ...]
// --render draws each dialog to OUT_DIR/<name>.png and exits, which works without a display. --scale shows the
// dialogs shrunk as on a screen smaller than the main window (for example 0.8).
#include "SkinGallery.h"
#include "SkinImageCache.h"
#include "SkinnedDialog.h"

#include <QApplication>

#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString skin = ombrel::DefaultSkinFolder();
    QString render;
    QStringList names;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--skin") && i + 1 < args.size())
            skin = args[++i];
        else if (args[i] == QLatin1String("--render") && i + 1 < args.size())
            render = args[++i];
        else if (args[i] == QLatin1String("--scale") && i + 1 < args.size())
            ombrel::SetSkinWindowScale(args[++i].toDouble());
        else
            names << args[i];
    }
    ombrel::SkinImageCache::instance().setSkinFolder(skin);
    if (!render.isEmpty()) return ombrel::RenderGallery(skin, render) == 0 ? 0 : 1;
    if (names.isEmpty()) names = ombrel::GalleryDialogNames();
    std::vector<std::unique_ptr<ombrel::SkinnedDialog>> open;
    int x = 40;
    for (const QString& name : names) {
        auto dlg = ombrel::BuildGalleryDialog(name, skin);
        if (!dlg) {
            std::fprintf(stderr, "ombrel-skin-gallery: no dialog %s\n", qPrintable(name));
            continue;
        }
        dlg->move(x, 40);
        x += 60;
        dlg->show();
        open.push_back(std::move(dlg));
    }
    return open.empty() ? 1 : app.exec();
}
