#pragma once
// A label of the lighting panel: dim text, named and placed by its skin key.

#include "ColorStatic.h"
#include "SkinPlacement.h"
#include "SkinStyle.h"

namespace ombrel {

inline ColorStatic* MakePanelLabel(QWidget* panel, const QString& layoutFile, const char* skinKey) {
    auto* label = new ColorStatic(panel);
    label->setObjectName(QString::fromLatin1(skinKey));
    StyleDimLabel(label);
    placeControl(label, layoutFile, QStringLiteral("BUTTONINFO"), label->objectName());
    return label;
}

} // namespace ombrel
