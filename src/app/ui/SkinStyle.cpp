#include "SkinStyle.h"

#include "CPngButton.h"
#include "ColorStatic.h"
#include "SkinScale.h"

namespace ombrel {

using namespace palette;

QString SkinFontFace() {
    return QStringLiteral("Inter");
}

void StyleTextButton(CPngButton* button, int pointSize) {
    button->SetTextStyle(true, pointSize, SkinFontFace(), kText.ref(), kText.ref(), kAccent.ref(), kTextDisabled.ref(),
                         kAccent.ref());
}

void StyleVersionButton(CPngButton* button) {
    button->SetTextStyle(true, 9, SkinFontFace(), kTextDisabled.ref(), kTextDisabled.ref(), kTextDisabled.ref(),
                         kTextDim.ref(), kTextDisabled.ref());
}

void StyleDimLabel(ColorStatic* label) {
    label->SetTextColor(kTextDim.ref());
    QFont f = label->font();
    f.setPixelSize(ScaleSkinPixels(13));
    label->setFont(f);
}

QString ControlStyleSheet() {
    return QStringLiteral("QLineEdit,QComboBox,QListWidget,QTreeWidget{background:%1;color:%2;border:1px solid %3;"
                          "border-radius:4px;selection-background-color:%4;font-size:%10px;}"
                          "QLineEdit,QComboBox{padding:2px 8px;}"
                          "QLineEdit:disabled,QComboBox:disabled{color:%5;border-color:%6;}"
                          "QLineEdit:focus,QComboBox:focus,QListWidget:focus,QTreeWidget:focus{border-color:%7;}"
                          "QComboBox QAbstractItemView{background:%8;color:%2;}"
                          "QHeaderView::section{background:%8;color:%9;border:none;border-bottom:1px solid %3;"
                          "padding:4px;}QCheckBox{color:%2;}"
                          "QTreeView::indicator,QCheckBox::indicator{width:13px;height:13px;border:1px solid %5;"
                          "border-radius:3px;background:%8;}"
                          "QTreeView::indicator:checked,QCheckBox::indicator:checked{background:%7;border-color:%7;}"
                          "QToolTip{background:%8;color:%2;border:1px solid %7;padding:3px;}")
        .arg(Hex(kWell), Hex(kText), Hex(kEdge), Hex(kAccentDeep), Hex(kTextMuted), Hex(kEdgeDisabled), Hex(kAccent),
             Hex(kPanel), Hex(kTextDim), QString::number(ScaleSkinPixels(13)));
}

} // namespace ombrel
