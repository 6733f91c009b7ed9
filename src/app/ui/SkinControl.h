#pragma once
// What a skinned control is to a screen reader. The skin draws toggles, choices and plain buttons alike as pictures,
// so each control says which it is; the accessible interfaces (SkinAccessibility.h) turn that into a role and a
// checked state.

class QWidget;

namespace ombrel {

enum class AccessibleKind {
    Button,     // does something when pressed
    Toggle,     // on or off (spoken as a check box)
    Choice,     // one of a group, the checked one is the current choice (spoken as a radio button)
    Tab,        // a page of a dialog, the checked one is shown (spoken as a page tab)
    Decoration, // part of the picture only: not in the accessible tree
};

// Keeps a widget that only paints over others (an overlay) out of the accessible tree.
void HideFromScreenReaders(QWidget* widget);
bool IsHiddenFromScreenReaders(const QWidget* widget);

class SkinControl {
public:
    virtual ~SkinControl() = default;

    AccessibleKind accessibleKind() const { return m_kind; }
    void setAccessibleKind(AccessibleKind kind) { m_kind = kind; }
    // The checked state a screen reader hears; meaningful for toggles and choices only.
    virtual bool accessibleChecked() const = 0;
    // What the screen reader's "press" action does: the same as a click.
    virtual void accessiblePress() = 0;

protected:
    // Tells screen readers that a toggle or choice changed its checked state.
    void announceChecked(QWidget* self, bool checked) const;

private:
    AccessibleKind m_kind = AccessibleKind::Button;
};

} // namespace ombrel
