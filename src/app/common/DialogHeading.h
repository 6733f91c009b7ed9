#pragma once
// The title line and small labels the profile manager and the firmware dialog draw over their background: the
// pictures carry only the frame, so these words follow the chosen language.

#include "ColorStatic.h"
#include "SkinPlacement.h"
#include "SkinScale.h"
#include "SkinStyle.h"

namespace ombrel {

inline ColorStatic* MakeDialogLabel(QWidget* dialog, const QString& layoutFile, const QString& skinKey,
                                    const QString& text, bool title) {
    auto* label = new ColorStatic(dialog);
    label->setObjectName(skinKey);
    placeControl(label, layoutFile, QStringLiteral("BUTTONINFO"), skinKey);
    label->setTextColor(title ? palette::kText.ref() : palette::kTextDim.ref());
    QFont f = label->font();
    f.setFamily(SkinFontFace());
    f.setPixelSize(ScaleSkinPixels(title ? 15 : 13));
    f.setBold(title);
    label->setFont(f);
    label->setText(text);
    return label;
}

} // namespace ombrel
