#pragma once
// A label drawn straight onto the dialog's background picture in a colour of its own.

#include <QLabel>

#include <cstdint>

namespace ombrel {

class ColorStatic : public QLabel {
    Q_OBJECT
public:
    explicit ColorStatic(QWidget* parent = nullptr);

    void setTextColor(std::uint32_t colour); // 0x00BBGGRR; redraws at once
    std::uint32_t textColor() const { return m_colour; }

private:
    std::uint32_t m_colour = 0xFFFFFF;
};

} // namespace ombrel
