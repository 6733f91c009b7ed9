#include "SkinAccessibility.h"

#include "SkinControl.h"
#include "SkinSlider.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QFocusFrame>
#include <QMenu>

namespace ombrel {

namespace {

// The children a screen reader should find: shown, not windows of their own, not parts of the picture.
QList<QWidget*> ShownChildren(const QWidget* parent) {
    QList<QWidget*> shown;
    if (!parent) return shown;
    for (QObject* o : parent->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w->isWindow() || w->isHidden() || qobject_cast<QMenu*>(w) || qobject_cast<QFocusFrame*>(w)) continue;
        if (!IsHiddenFromScreenReaders(w)) shown << w;
    }
    return shown;
}

// A window, dialog or panel whose tree holds only what is shown; the skin keeps the controls of other lighting
// effects and other pages as hidden children, which a screen reader would otherwise list.
class ShownChildrenAccessible : public QAccessibleWidget {
public:
    ShownChildrenAccessible(QWidget* w, QAccessible::Role role) : QAccessibleWidget(w, role) {}

    // A plain panel with a name is a group of controls.
    QAccessible::Role role() const override {
        const QAccessible::Role r = QAccessibleWidget::role();
        return r == QAccessible::Client && !widget()->accessibleName().isEmpty() ? QAccessible::Grouping : r;
    }

    int childCount() const override { return static_cast<int>(ShownChildren(widget()).size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> shown = ShownChildren(widget());
        if (index < 0 || index >= shown.size()) return nullptr;
        return QAccessible::queryAccessibleInterface(shown.at(index));
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child || !child->object() || !child->object()->isWidgetType()) return -1;
        return static_cast<int>(ShownChildren(widget()).indexOf(static_cast<QWidget*>(child->object())));
    }
};

// A skinned button, toggle or choice: its role by its kind, its caption as the name when it has no other.
class SkinControlAccessible : public QAccessibleWidget {
public:
    SkinControlAccessible(QWidget* w, SkinControl* control)
        : QAccessibleWidget(w, RoleOf(control->accessibleKind())), m_control(control) {}

    QAccessible::Role role() const override { return RoleOf(m_control->accessibleKind()); }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        const AccessibleKind kind = m_control->accessibleKind();
        if (kind == AccessibleKind::Toggle || kind == AccessibleKind::Choice) {
            s.checkable = true;
            s.checked = m_control->accessibleChecked();
        } else if (kind == AccessibleKind::Tab) {
            s.selectable = true;
            s.selected = m_control->accessibleChecked();
        }
        if (const auto* button = qobject_cast<const QAbstractButton*>(widget()); button && button->isDown())
            s.pressed = true;
        return s;
    }

    QString text(QAccessible::Text t) const override {
        QString s = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && s.isEmpty())
            if (const auto* button = qobject_cast<const QAbstractButton*>(widget())) s = button->text();
        return s;
    }

    QStringList actionNames() const override {
        QStringList names;
        if (widget()->isEnabled())
            names << (m_control->accessibleKind() == AccessibleKind::Toggle ? toggleAction() : pressAction());
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (!widget()->isEnabled()) return;
        if (action == pressAction() || action == toggleAction())
            m_control->accessiblePress();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    static QAccessible::Role RoleOf(AccessibleKind kind) {
        switch (kind) {
        case AccessibleKind::Toggle:
            return QAccessible::CheckBox;
        case AccessibleKind::Choice:
            return QAccessible::RadioButton;
        case AccessibleKind::Tab:
            return QAccessible::PageTab;
        default:
            return QAccessible::PushButton;
        }
    }

    SkinControl* m_control;
};

// The picture slider as a slider with its value and range.
class SliderAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit SliderAccessible(SkinSlider* slider) : QAccessibleWidget(slider, QAccessible::Slider) {}

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        if (!slider()->isSliderEnabled()) s.disabled = true;
        return s;
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return QString::number(slider()->position());
        return QAccessibleWidget::text(t);
    }

    QVariant currentValue() const override { return slider()->position(); }
    void setCurrentValue(const QVariant& value) override {
        if (slider()->isSliderEnabled()) slider()->moveByUser(value.toInt());
    }
    QVariant maximumValue() const override { return slider()->range().max; }
    QVariant minimumValue() const override { return slider()->range().min; }
    QVariant minimumStepSize() const override { return 1; }

private:
    SkinSlider* slider() const { return static_cast<SkinSlider*>(widget()); }
};

QAccessibleInterface* SkinInterfaceFactory(const QString& className, QObject* object) {
    if (!object || !object->isWidgetType()) return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (auto* control = dynamic_cast<SkinControl*>(object)) return new SkinControlAccessible(widget, control);
    if (auto* slider = qobject_cast<SkinSlider*>(object)) return new SliderAccessible(slider);
    // The main window is the program's window, the skinned dialogs are dialogs; both, and every plain panel,
    // list only the children that are shown.
    if (className == QLatin1String("ombrel::MainWindow"))
        return new ShownChildrenAccessible(widget, QAccessible::Window);
    if (className == QLatin1String("ombrel::SkinnedDialog"))
        return new ShownChildrenAccessible(widget, QAccessible::Dialog);
    if (className == QLatin1String("QWidget")) return new ShownChildrenAccessible(widget, QAccessible::Client);
    return nullptr;
}

} // namespace

void InstallSkinAccessibility() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(SkinInterfaceFactory);
}

} // namespace ombrel
