#include "SkinPlacement.h"

#include "SkinButton.h"
#include "SkinScale.h"
#include "rules/SkinRect.h"

#include <QWidget>

#include <algorithm>

namespace ombrel {

namespace {

QRect GeometryOf(const SkinRect& r) {
    // A window cannot have a negative size; what the file says beyond that is kept.
    return ScaleSkinRect(QRect(r.x, r.y, std::max(0, r.w), std::max(0, r.h)));
}

} // namespace

SkinRect readSkinRect(const QString& layoutFile, const QString& section, const QString& key) {
    return ReadSkinRect(layoutFile.toStdString(), section.toStdString(), key.toStdString());
}

void placeSkinButton(SkinButton* button, const QString& layoutFile, const QString& section, const QString& key,
                     const QPixmap* normal, const QPixmap* hover, const QPixmap* pressed, const QPixmap* disabled,
                     const QPixmap* checked) {
    const SkinRect r = readSkinRect(layoutFile, section, key);
    button->setGeometry(GeometryOf(r));
    button->setFaces(r.x, r.y, normal, hover, pressed, disabled, checked, true);
    if (!r.usable()) button->setEnabled(false);
    // An icon the picture draws beside the caption, relative to the button.
    const SkinRect icon = readSkinRect(layoutFile, QStringLiteral("ICONINFO"), key);
    button->setIconRect(
        icon.fields >= 4 && icon.w > 0 && icon.h > 0 ? ScaleSkinRect(QRect(icon.x, icon.y, icon.w, icon.h)) : QRect());
}

void placeControl(QWidget* widget, const QString& layoutFile, const QString& section, const QString& key) {
    const SkinRect r = readSkinRect(layoutFile, section, key);
    widget->setGeometry(GeometryOf(r));
    if (r.fields < 4) widget->setEnabled(false);
}

void moveControl(QWidget* widget, const QString& layoutFile, const QString& section, const QString& key) {
    const SkinRect r = readSkinRect(layoutFile, section, key);
    widget->move(ScaleSkinPoint(QPoint(r.x, r.y)));
    if (r.fields < 4) widget->setEnabled(false);
    widget->update();
}

void placeArrowButton(SkinButton* button, const QString& layoutFile, const QString& section, const QString& key,
                      const QString& section2, const QString& key2, const QPixmap* image) {
    placeControl(button, layoutFile, section, key);
    const SkinRect source = readSkinRect(layoutFile, section2, key2);
    button->setFaces(source.x, source.y, image, image, image, image, image, true);
}

} // namespace ombrel
