#include "TabOrder.h"

#include <QWidget>

namespace ombrel {

namespace {

bool TakesTab(const QWidget* w) {
    return (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && !w->isHidden() && !w->focusProxy();
}

} // namespace

QList<QWidget*> TabStops(const QWidget* window) {
    QList<QWidget*> stops;
    for (QWidget* w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain())
        if (window->isAncestorOf(w) && TakesTab(w)) stops << w;
    return stops;
}

void ArrangeTabOrder(QWidget* window, const QList<QWidget*>& first, const QList<QWidget*>& last) {
    QList<QWidget*> middle;
    // Every control of the chain that can take the focus, now or later (on a hidden panel, a disabled button).
    // Containers stay out: Qt moves a container's whole chain with it, which would undo the order.
    for (QWidget* w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain())
        if (window->isAncestorOf(w) && w->focusPolicy() != Qt::NoFocus && !first.contains(w) && !last.contains(w))
            middle << w;
    QList<QWidget*> order;
    for (QWidget* w : first + middle + last)
        if (w) order << w;
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

} // namespace ombrel
