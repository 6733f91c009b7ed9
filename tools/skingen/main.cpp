// skingen: draws the whole skin (layout files, pictures, icons, the colour template) into one folder.
//   skingen --out DIR --font-regular FILE --font-bold FILE --font-cjk FILE
// The fonts are named by file so every machine draws the same pixels.
#include "SkinParts.h"
#include "SkinWriter.h"
#include "Theme.h"

#include <QDir>
#include <QGuiApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv) {
    // Drawing needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    auto value = [&](const char* name) {
        const int i = static_cast<int>(args.indexOf(QString::fromLatin1(name)));
        return i >= 0 && i + 1 < args.size() ? args[i + 1] : QString();
    };
    const QString out = value("--out");
    const QString regular = value("--font-regular");
    const QString bold = value("--font-bold");
    const QString cjk = value("--font-cjk");
    if (out.isEmpty() || regular.isEmpty() || bold.isEmpty() || cjk.isEmpty()) {
        std::fprintf(stderr, "usage: skingen --out DIR --font-regular FILE --font-bold FILE --font-cjk FILE\n");
        return 2;
    }
    skingen::Theme theme;
    if (!theme.loadFonts(regular, bold, cjk)) {
        std::fprintf(stderr, "skingen: cannot load the fonts %s, %s, %s (run scripts/install-deps)\n",
                     qPrintable(regular), qPrintable(bold), qPrintable(cjk));
        return 2;
    }
    if (!QDir().mkpath(out + QStringLiteral("/AppIcon"))) {
        std::fprintf(stderr, "skingen: cannot create %s\n", qPrintable(out));
        return 1;
    }
    skingen::SkinWriter writer(out);
    // The 1x pass writes everything; the 2x pass adds the sharp twin of every picture.
    for (int scale : {1, 2}) {
        theme.setScale(scale);
        writer.setScale(scale);
        skingen::WriteMainSkin(theme, writer);
        skingen::WriteCompositeSkin(theme, writer);
        skingen::WriteProfileSkin(theme, writer);
        skingen::WriteUpdateSkin(theme, writer);
        skingen::WritePanelBitmaps(theme, writer);
        skingen::WriteIcons(theme, writer);
    }
    // Last, so that its presence means a whole skin.
    writer.setScale(1);
    skingen::WriteColourTemplate(writer);
    return writer.failures() == 0 ? 0 : 1;
}
