#include "ScreenFit.h"

#include "SkinScale.h"
#include "rules/WindowFit.h"

#include "platform/IniFile.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QImageReader>
#include <QScreen>

#include <algorithm>
#include <cstdio>

namespace ombrel {

double MainWindowFitScale(const QString& skinFolder) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return 1.0;
    const std::string layout = QDir(skinFolder).filePath(QStringLiteral("Main.ini")).toStdString();
    const QString background = QString::fromStdString(ReadIniString(layout, "SCREEN", "Main", ""));
    if (background.isEmpty()) return 1.0;
    // Only the picture's header is read.
    const QSize window = QImageReader(QDir(skinFolder).filePath(background)).size();
    const QRect area = screen->availableGeometry();
    return WindowFitScale(window.width(), window.height(), area.width(), area.height());
}

double FitProgramToScreen(const QString& skinFolder) {
    const double fit = MainWindowFitScale(skinFolder);
    SetSkinWindowScale(fit);
    if (fit >= 1.0) return 1.0;
    std::fprintf(stderr, "ombrel: the window is larger than the screen; showing it at %d %%\n",
                 static_cast<int>(fit * 100 + 0.5));
    QFont font = QApplication::font();
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * fit);
    else
        font.setPixelSize(std::max(1, ScaleSkinPixels(font.pixelSize())));
    QApplication::setFont(font);
    return fit;
}

} // namespace ombrel
