#include "SkinControl.h"

#include <QAccessible>
#include <QWidget>

namespace ombrel {

namespace {
constexpr char kHiddenProperty[] = "ombrelHiddenFromScreenReaders";
}

void HideFromScreenReaders(QWidget* widget) {
    widget->setProperty(kHiddenProperty, true);
}

bool IsHiddenFromScreenReaders(const QWidget* widget) {
    if (widget->property(kHiddenProperty).toBool()) return true;
    const auto* skin = dynamic_cast<const SkinControl*>(widget);
    return skin && skin->accessibleKind() == AccessibleKind::Decoration;
}

void SkinControl::announceChecked(QWidget* self, bool) const {
    if (!QAccessible::isActive() || m_kind == AccessibleKind::Button || m_kind == AccessibleKind::Decoration) return;
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(self, changed);
    QAccessible::updateAccessibility(&event);
}

} // namespace ombrel
