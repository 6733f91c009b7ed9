#pragma once
// A window's tab order in reading order: the controls named first, then every other control that takes Tab in the
// order it already has (the order it was made in), then the controls named last.

#include <QList>

class QWidget;

namespace ombrel {

// The controls of `window` (itself excluded) that Tab stops at now, in the order Tab visits them.
QList<QWidget*> TabStops(const QWidget* window);

// Puts `first` at the start of `window`'s tab order and `last` at its end; null entries are skipped.
void ArrangeTabOrder(QWidget* window, const QList<QWidget*>& first, const QList<QWidget*>& last);

} // namespace ombrel
