#include "ColorPicker.h"

#include "ClickablePicture.h"
#include "SkinPlacement.h"
#include "WindowContext.h"

#include "lighting/EffectCatalogue.h"

#include <QColor>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include <algorithm>

namespace ombrel {

namespace {
const QString kSection = QStringLiteral("BUTTONINFO");
}

ColorPicker::ColorPicker(WindowContext& context, QWidget* panel, const std::function<void(QWidget*)>& adopt)
    : QObject(panel), m_context(context) {
    const QString layoutFile = context.layoutFile();
    auto* digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), this);
    const char* fieldKeys[3] = {"COLOR_R", "COLOR_G", "COLOR_B"};
    for (std::size_t i = 0; i < 3; ++i) {
        auto* e = new QLineEdit(panel);
        e->setObjectName(QString::fromLatin1(fieldKeys[i]));
        e->setValidator(digits);
        placeControl(e, layoutFile, kSection, e->objectName());
        adopt(e);
        m_fields[i] = e;
        // A component cannot be more than 255: a larger number is corrected as it is typed.
        connect(e, &QLineEdit::textEdited, this, [e](const QString& text) {
            if (text.toInt() > 255) e->setText(QStringLiteral("255"));
        });
        connect(e, &QLineEdit::returnPressed, this, &ColorPicker::onTypedColor);
    }
    for (int i = 0; i < 8; ++i) {
        auto* swatch = new ClickablePicture(panel);
        swatch->setObjectName(QStringLiteral("CONTROL_Color%1").arg(i + 1));
        placeControl(swatch, layoutFile, kSection, swatch->objectName());
        swatch->showPicture(context.skinPicture(QStringLiteral("Color%1.bmp").arg(i + 1)));
        adopt(swatch);
        m_swatches[static_cast<std::size_t>(i)] = swatch;
        connect(swatch, &ClickablePicture::clicked, this, [this, i] { onSwatch(i); });
    }
}

void ColorPicker::showColor(Rgb colour) {
    const std::array<int, 3> rgb{colour.r, colour.g, colour.b};
    for (std::size_t i = 0; i < 3; ++i)
        if (!m_fields[i]->hasFocus()) m_fields[i]->setText(QString::number(rgb[i]));
}

void ColorPicker::applyAccessibleTexts() {
    for (std::size_t i = 0; i < m_swatches.size(); ++i) {
        m_swatches[i]->setAccessibleName(m_context.text("ACC_LIGHT_SWATCH") + QStringLiteral(" %1").arg(i + 1));
        m_swatches[i]->setAccessibleDescription(m_context.text("ACC_LIGHT_SWATCH_DESC"));
    }
}

QRect ColorPicker::area() const {
    const QRect first = m_swatches[0]->geometry(), blue = m_fields[2]->geometry();
    return QRect(first.topLeft(), QPoint(blue.right(), first.bottom()));
}

void ColorPicker::onTypedColor() {
    // Enter in a colour field uses the typed colour as picking it with the colour button would.
    std::array<int, 3> rgb{};
    for (std::size_t i = 0; i < 3; ++i)
        rgb[i] = std::clamp(m_fields[i]->text().toInt(), 0, 255);
    for (QLineEdit* e : m_fields)
        e->clearFocus();
    emit colorChosen(QColor(rgb[0], rgb[1], rgb[2]));
}

void ColorPicker::onSwatch(int index) {
    const Rgb c = PresetColors()[static_cast<std::size_t>(index)];
    const std::array<int, 3> rgb{c.r, c.g, c.b};
    for (std::size_t i = 0; i < 3; ++i)
        m_fields[i]->setText(QString::number(rgb[i]));
    emit colorChosen(QColor(c.r, c.g, c.b));
}

} // namespace ombrel
