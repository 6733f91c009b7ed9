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
    painter.setPen(QPen(kFocusRingColour, 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(1, 1, -2, -2));
    painter.restore();
}

} // namespace ombrel
