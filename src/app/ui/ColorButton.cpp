#include "ColorButton.h"

#include "SkinStyle.h"

#include "FocusRing.h"

#include <QColorDialog>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace ombrel {

namespace {

ColorButton::OtherPicker& Picker() {
    static ColorButton::OtherPicker picker = [](const QColor& current, QWidget* parent) {
        // Qt's own dialog, so the picker wears the program's dark look.
        return QColorDialog::getColor(current, parent, QString(), QColorDialog::DontUseNativeDialog);
    };
    return picker;
}

const QColor kFrame = ToQColor(palette::kPopupEdge);

} // namespace

void ColorButton::setOtherPicker(OtherPicker picker) {
    Picker() = std::move(picker);
}

ColorButton::ColorButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    // Four rows of five: the spectrum, light tints, deep shades and greys.
    const char* names[] = {"#ff0000", "#ff8000", "#ffff00", "#00ff00", "#00ffff", "#0080ff", "#0000ff",
                           "#8000ff", "#ff00ff", "#ff0080", "#ff8080", "#ffd080", "#80ff80", "#80d0ff",
                           "#d080ff", "#800000", "#806000", "#008040", "#004080", "#ffffff"};
    for (const char* n : names)
        m_palette.append(QColor(QString::fromLatin1(n)));
    connect(this, &QAbstractButton::clicked, this, [this] { openPalette(); });
}

void ColorButton::setColor(const QColor& colour) {
    m_colour = colour;
    update();
}

void ColorButton::choose(const QColor& colour) {
    if (!colour.isValid()) return;
    const bool changed = colour != m_colour;
    setColor(colour);
    if (changed) emit colorChanged(colour);
}

void ColorButton::chooseOther() {
    choose(Picker()(m_colour, window()));
}

QWidget* ColorButton::openPalette() {
    auto* popup = new QFrame(this, Qt::Popup);
    popup->setAttribute(Qt::WA_DeleteOnClose, true);
    popup->setObjectName(QStringLiteral("colourPalette"));
    using namespace palette;
    popup->setStyleSheet(QStringLiteral("QFrame#colourPalette{background:%1;border:1px solid %2;}"
                                        "QToolButton{border:1px solid %2;}"
                                        "QToolButton:hover,QToolButton:focus{border:2px solid %3;}"
                                        "QPushButton{color:%4;background:%5;border:1px solid %2;"
                                        "padding:4px;}QPushButton:hover,QPushButton:focus{border-color:%3;}")
                             .arg(Hex(kPopup), Hex(kPopupEdge), Hex(kAccent), Hex(kText), Hex(kPopupButton)));
    auto* grid = new QGridLayout;
    grid->setSpacing(4);
    for (int i = 0; i < m_palette.size(); ++i) {
        auto* swatch = new QToolButton(popup);
        swatch->setFixedSize(22, 22);
        swatch->setAutoRaise(false);
        swatch->setStyleSheet(QStringLiteral("background:%1;").arg(m_palette[i].name()));
        swatch->setToolTip(m_palette[i].name());
        const QColor c = m_palette[i];
        connect(swatch, &QToolButton::clicked, popup, [this, popup, c] {
            popup->close();
            choose(c);
        });
        grid->addWidget(swatch, i / kColumns, i % kColumns);
    }
    auto* other = new QPushButton(m_otherText, popup);
    other->setObjectName(QStringLiteral("otherButton"));
    connect(other, &QPushButton::clicked, popup, [this, popup] {
        popup->close();
        chooseOther();
    });
    auto* box = new QVBoxLayout(popup);
    box->setContentsMargins(6, 6, 6, 6);
    box->addLayout(grid);
    box->addWidget(other);
    popup->move(mapToGlobal(QPoint(0, height())));
    popup->show();
    return popup;
}

void ColorButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRectF outer = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(m_hover || isDown() ? kFocusRingColour : kFrame, 1));
    painter.setBrush(ToQColor(palette::kPopup));
    painter.drawRoundedRect(outer, 4, 4);
    const QRectF swatch = outer.adjusted(4, 4, -4, -4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_colour);
    painter.drawRoundedRect(swatch, 2, 2);
    if (m_keyboardFocus && hasFocus()) {
        painter.setPen(QPen(kFocusRingColour, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(outer.adjusted(1.5, 1.5, -1.5, -1.5), 3, 3);
    }
}

void ColorButton::enterEvent(QEnterEvent* event) {
    m_hover = true;
    update();
    QAbstractButton::enterEvent(event);
}

void ColorButton::leaveEvent(QEvent* event) {
    m_hover = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void ColorButton::focusInEvent(QFocusEvent* event) {
    m_keyboardFocus = CameFromKeyboard(event);
    QAbstractButton::focusInEvent(event);
}

void ColorButton::focusOutEvent(QFocusEvent* event) {
    // Losing the focus ends a press and the hover look at once.
    m_keyboardFocus = false;
    m_hover = false;
    setDown(false);
    repaint();
    QAbstractButton::focusOutEvent(event);
}

} // namespace ombrel
