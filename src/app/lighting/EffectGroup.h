#pragma once
// The effect's part of the lighting panel: the effect list, brightness and speed, the direction, the effect colour
// with its colourful switch (group A or B, as the effect's layout says) and the four-colour choice. Each control
// writes its change to the keyboard at once; the panel decides what the keyboard's answer shows.

#include "keyboard/LightingEffect.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class QColor;
class QComboBox;
class QLabel;
class QPixmap;
class QWidget;

namespace ombrel {

class ClickablePicture;
class ColorButton;
class ColorStatic;
class LightingSession;
class SkinSlider;
class WindowContext;

class EffectGroup : public QObject {
    Q_OBJECT
public:
    // Places the group's controls on `panel`; `adopt` hands each one to the panel. `session` gives the lighting
    // session a change is written through, or null while there is no keyboard.
    EffectGroup(WindowContext& context, QWidget* panel, const std::function<void(QWidget*)>& adopt,
                std::function<LightingSession*()> session);

    // The labels with their "LIGHT" text keys.
    const QList<std::pair<ColorStatic*, QString>>& labels() const { return m_labels; }
    // The texts that are no "LIGHT" labels: the speed's tooltip and the words under its ends.
    void applyTexts();

    // The effect list, the values and the pictures as `session` holds them.
    void refresh(const LightingSession& session);
    // Shows the controls `effect` uses while the panel is on, where its layout puts them; none while it is off.
    void showControlsOf(LightingEffect effect, bool panelOn);

    QComboBox* effectList() const { return m_effects; }
    SkinSlider* speedSlider() const { return m_speed; }

signals:
    // The user chose another effect in the list.
    void effectChosen(LightingEffect effect);
    // The user picked a colour with an effect colour button.
    void colorPicked(const QColor& colour);
    // A direction, colourful or four-colour choice was written (its result): the panel shows the keyboard again.
    void written(int result);
    // A brightness or speed write failed (its result).
    void writeFailed(int result);

private:
    void onEffectChosen(int index);
    const QPixmap* picture(const QString& file) const;

    WindowContext& m_context;
    std::function<LightingSession*()> m_session;
    QList<std::pair<ColorStatic*, QString>> m_labels;
    QComboBox* m_effects = nullptr;
    SkinSlider* m_brightness = nullptr;
    SkinSlider* m_speed = nullptr;
    QList<QWidget*> m_brightnessRow, m_speedRow;
    QLabel* m_speedEnds[2] = {}; // "slow" under the left end, "fast" under the right
    QLabel* m_directionLabel = nullptr;
    ClickablePicture* m_directionPictures[2] = {};
    // Colour groups A and B: label, colour button, colourful picture, colourful label.
    struct ColorGroupControls {
        QLabel* label = nullptr;
        ColorButton* button = nullptr;
        ClickablePicture* colorful = nullptr;
        QLabel* colorfulLabel = nullptr;
    };
    ColorGroupControls m_groups[2];
    ClickablePicture* m_fourColor[4] = {};
    bool m_filling = false; // the effect list is being filled by the program
};

} // namespace ombrel
