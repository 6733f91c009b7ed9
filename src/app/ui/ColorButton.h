#pragma once
// A colour-picker button: shows its colour; a click opens a palette of five columns with an "Other..." choice that
// opens the full colour dialog. There is no "automatic" choice.

#include <QAbstractButton>
#include <QColor>
#include <QList>

#include <functional>

namespace ombrel {

class ColorButton : public QAbstractButton {
    Q_OBJECT
public:
    // Picks a colour in the full dialog; the default runs QColorDialog. Tests replace it.
    using OtherPicker = std::function<QColor(const QColor& current, QWidget* parent)>;
    static void setOtherPicker(OtherPicker picker);
    static inline constexpr int kColumns = 5;

    explicit ColorButton(QWidget* parent = nullptr);

    void setColor(const QColor& colour);
    QColor color() const { return m_colour; }
    void setOtherText(const QString& text) { m_otherText = text; }
    const QList<QColor>& paletteColours() const { return m_palette; }

    // Opens the palette; returns the popup so tests can drive it.
    QWidget* openPalette();
    // What the palette's "Other..." choice does.
    void chooseOther();

signals:
    void colorChanged(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void choose(const QColor& colour);

    QColor m_colour = Qt::white;
    QList<QColor> m_palette;
    QString m_otherText = QStringLiteral("Other...");
    bool m_hover = false;
    bool m_keyboardFocus = false;
};

} // namespace ombrel
