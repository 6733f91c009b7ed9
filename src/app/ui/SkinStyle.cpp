#include "SkinStyle.h"

#include "ColorStatic.h"
#include "SkinButton.h"
#include "SkinScale.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QStyleFactory>

namespace ombrel {

using namespace palette;

QString SkinFontFace() {
    return QStringLiteral("Inter");
}

QStringList SkinFontFamilies() {
    return {SkinFontFace(), QStringLiteral("Droid Sans Fallback")};
}

void StyleTextButton(SkinButton* button, int pointSize) {
    button->setTextStyle(true, pointSize, SkinFontFace(), kText.ref(), kText.ref(), kAccent.ref(), kTextDisabled.ref(),
                         kAccent.ref());
}

void StyleVersionButton(SkinButton* button) {
    button->setTextStyle(true, 9, SkinFontFace(), kTextDisabled.ref(), kTextDisabled.ref(), kTextDisabled.ref(),
                         kTextDim.ref(), kTextDisabled.ref());
}

void StyleDimLabel(ColorStatic* label) {
    label->setTextColor(kTextDim.ref());
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
                          "QListWidget:disabled,QTreeWidget:disabled{selection-background-color:%11;"
                          "selection-color:%9;}"
                          "QComboBox QAbstractItemView{background:%8;color:%2;}"
                          "QHeaderView::section{background:%8;color:%9;border:none;border-bottom:1px solid %3;"
                          "padding:4px;}QCheckBox{color:%2;}"
                          "QTreeView::indicator,QCheckBox::indicator{width:13px;height:13px;border:1px solid %5;"
                          "border-radius:3px;background:%8;}"
                          "QTreeView::indicator:checked,QCheckBox::indicator:checked{background:%7;border-color:%7;}"
                          "QToolTip{background:%8;color:%2;border:1px solid %7;padding:3px;}")
        .arg(Hex(kWell), Hex(kText), Hex(kEdge), Hex(kAccentDeep), Hex(kTextMuted), Hex(kEdgeDisabled), Hex(kAccent),
             Hex(kPanel), Hex(kTextDim), QString::number(ScaleSkinPixels(13)), Hex(kAccentDisabled));
}

QPalette DarkPalette() {
    QPalette p;
    const auto set = [&p](QPalette::ColorRole role, Rgb colour, Rgb disabled) {
        p.setColor(QPalette::All, role, ToQColor(colour));
        p.setColor(QPalette::Disabled, role, ToQColor(disabled));
    };
    set(QPalette::Window, kDialog, kDialog);
    set(QPalette::WindowText, kText, kTextDisabled);
    set(QPalette::Base, kWell, kFaceDisabled);
    set(QPalette::AlternateBase, kPanel, kFaceDisabled);
    set(QPalette::ToolTipBase, kPanel, kPanel);
    set(QPalette::ToolTipText, kText, kText);
    set(QPalette::PlaceholderText, kTextMuted, kTextDisabled);
    set(QPalette::Text, kText, kTextDisabled);
    set(QPalette::Button, kButton, kFaceDisabled);
    set(QPalette::ButtonText, kText, kTextDisabled);
    set(QPalette::BrightText, kRecord, kRecord);
    set(QPalette::Light, kFaceHover, kFaceDisabled);
    set(QPalette::Midlight, kFace, kFaceDisabled);
    set(QPalette::Mid, kEdge, kEdgeDisabled);
    set(QPalette::Dark, kFacePressed, kFacePressed);
    set(QPalette::Shadow, kWell, kWell);
    // A list that is switched off still shows which row is chosen, dimmed.
    set(QPalette::Highlight, kAccentDeep, kAccentDisabled);
    set(QPalette::HighlightedText, kText, kTextDim);
    set(QPalette::Link, kAccent, kTextDim);
    set(QPalette::LinkVisited, kAccent, kTextDim);
    return p;
}

QPixmap PromptIconPixmap(PromptIcon icon) {
    const int side = ScaleSkinPixels(40);
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(QSize(side, side) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF ring = QRectF(0, 0, side, side).adjusted(2, 2, -2, -2);
    p.setPen(QPen(ToQColor(kAccent), 2.5));
    p.setBrush(ToQColor(kAccentDeep, 90));
    p.drawEllipse(ring);
    QFont f;
    f.setFamilies(SkinFontFamilies());
    f.setPixelSize(side / 2);
    f.setWeight(QFont::Bold);
    p.setFont(f);
    p.setPen(ToQColor(kText));
    p.drawText(ring, Qt::AlignCenter, icon == PromptIcon::Question ? QStringLiteral("?") : QStringLiteral("i"));
    return pixmap;
}

void ApplyProgramLook() {
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(fusion);
    QApplication::setPalette(DarkPalette());
    // One font everywhere: lists, fields and message boxes too, not only the skinned buttons.
    QFont font = QApplication::font();
    font.setFamilies(SkinFontFamilies());
    QApplication::setFont(font);
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app) return;
    // The rules Fusion's palette alone does not give: the accent on the focused button and on the chosen menu
    // item, a frame around menus so they stand out from the dark window below, and plain captions (no stock
    // icons) on the buttons of message boxes and dialogs.
    app->setStyleSheet(
        QStringLiteral("QMenu{background:%1;color:%2;border:1px solid %3;padding:4px;}"
                       "QMenu::item{padding:5px 24px 5px 16px;border-radius:3px;}"
                       "QMenu::item:selected{background:%4;color:%2;}QMenu::item:disabled{color:%5;}"
                       "QMenu::separator{height:1px;background:%3;margin:4px 8px;}"
                       "QMessageBox QPushButton,QDialogButtonBox QPushButton{min-width:72px;padding:5px 14px;}"
                       "QDialogButtonBox{dialogbuttonbox-buttons-have-icons:0;}"
                       "QPushButton{background:%6;color:%2;border:1px solid %3;border-radius:4px;padding:5px 14px;}"
                       "QPushButton:hover{border-color:%7;}QPushButton:focus{border:2px solid %7;}"
                       "QPushButton:default{border-color:%7;}QPushButton:disabled{color:%5;border-color:%8;}"
                       "QToolTip{background:%1;color:%2;border:1px solid %7;padding:3px;}")
            .arg(Hex(kPopup), Hex(kText), Hex(kPopupEdge), Hex(kAccentDeep), Hex(kTextDisabled), Hex(kButton),
                 Hex(kAccent), Hex(kEdgeDisabled)));
}

} // namespace ombrel
