#pragma once
// The lighting panel's colour entry: three fields for red, green and blue and the eight preset swatches below them.
// Enter in a field or a click on a swatch picks that colour; what it is for (the effect's colour or the brush's)
// is the panel's business.

#include "util/Rgb.h"

#include <QObject>
#include <QRect>

#include <array>
#include <functional>

class QColor;
class QLineEdit;
class QWidget;

namespace ombrel {

class ClickablePicture;
class WindowContext;

class ColorPicker : public QObject {
    Q_OBJECT
public:
    // Places the controls on `panel` from the skin's layout; `adopt` hands each one to the panel.
    ColorPicker(WindowContext& context, QWidget* panel, const std::function<void(QWidget*)>& adopt);

    // Shows `colour` in the fields, leaving alone the one the user is typing in.
    void showColor(Rgb colour);
    void applyAccessibleTexts();
    // From the first swatch's top left to the last field's right edge: where messages below it go.
    QRect area() const;

signals:
    void colorChosen(const QColor& colour);

private:
    void onTypedColor();
    void onSwatch(int index);

    WindowContext& m_context;
    std::array<QLineEdit*, 3> m_fields{};
    std::array<ClickablePicture*, 8> m_swatches{};
};

} // namespace ombrel
