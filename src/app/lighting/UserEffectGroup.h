#pragma once
// The user effect's part of the lighting panel: the list of the profile's three patterns (typing renames the
// current one), the brush and base colours and the two painting tools. Painting itself happens on the map.
//
// Its controls are made by build(), not with the group: they are hidden unless the user effect is shown, so the
// panel makes them once the window is up (or at once when the user effect is on at the start) rather than while
// the user waits for the window.

#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class QComboBox;
class QWidget;

namespace ombrel {

class ClickablePicture;
class ColorStatic;
class ColorButton;
class LightingSession;
class WindowContext;

class UserEffectGroup : public QObject {
    Q_OBJECT
public:
    // The group's controls go on `panel` when they are built; `adopt` hands each one to the panel.
    UserEffectGroup(WindowContext& context, QWidget* panel, std::function<void(QWidget*)> adopt);

    // Makes the controls (hidden), once; each goes to `adopt`.
    void build();
    bool built() const { return m_built; }

    void setSession(LightingSession* session) { m_session = session; }
    // The controls in the order they were made, labels included; empty until built.
    const QList<QWidget*>& controls() const { return m_controls; }
    // The labels with their "LIGHT" text keys.
    const QList<std::pair<ColorStatic*, QString>>& labels() const { return m_labels; }

    // The pattern names, the current pattern, both colours and the tool, as the session holds them.
    void refresh();
    // The brush takes `colour` (the swatches and colour fields pick it while the user effect is shown).
    void setBrushColor(const QColor& colour);

    QComboBox* patternList() const { return m_patterns; }
    ColorButton* brushButton() const { return m_brush; }
    ColorButton* baseButton() const { return m_base; }
    ClickablePicture* toolPicture(int tool) const { return m_tools[tool == 0 ? 0 : 1]; }

signals:
    // The user colours changed (another pattern, a new base colour): the map shows them again.
    void colorsChanged();
    // The brush has another colour (from its colour button).
    void brushColorChanged();
    // A write to the keyboard failed (its result).
    void writeFailed(int result);

private:
    void onPatternChosen(int index);
    void onNameTyped(const QString& text);
    void showTool();

    WindowContext& m_context;
    QWidget* m_panel;
    std::function<void(QWidget*)> m_adopt;
    LightingSession* m_session = nullptr;
    QList<QWidget*> m_controls;
    QList<std::pair<ColorStatic*, QString>> m_labels;
    QComboBox* m_patterns = nullptr;
    ColorButton* m_brush = nullptr;
    ColorButton* m_base = nullptr;
    ClickablePicture* m_tools[2] = {};
    bool m_built = false;
    bool m_filling = false; // the list is being filled or renamed by the program, not by the user
};

} // namespace ombrel
