#pragma once
// The ring a skinned control draws while it has the keyboard focus. Only focus that came from the keyboard (Tab,
// Shift+Tab) shows it, so a mouse click does not leave a ring behind.

#include "SkinStyle.h"

#include <QColor>
#include <QFocusEvent>
#include <QPainter>

namespace ombrel {

inline const QColor kFocusRingColour = ToQColor(palette::kAccent);

inline bool CameFromKeyboard(const QFocusEvent* event) {
    return event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
}

inline void DrawFocusRing(QPainter& painter, const QRect& rect) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    // Two pixels of the accent: seen at once on the dark faces, and on a lit key as well.
    painter.setPen(QPen(kFocusRingColour, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect).adjusted(1, 1, -1, -1));
    painter.restore();
}

} // namespace ombrel
