#pragma once
// A label for a web address: underlined while the pointer or the focus is on it, a hand cursor, another colour once
// followed. A click, Enter or Space emits linkActivated; the owner opens the address.

#include <QLabel>

#include <cstdint>

namespace ombrel {

class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(QWidget* parent = nullptr);

    void setTarget(const QString& target) { m_target = target; }
    QString target() const { return m_target; }

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void follow();
    void restyle();

    QString m_target;
    std::uint32_t m_link = 0xEE0000;
    std::uint32_t m_visitedColour = 0x8B1A55;
    std::uint32_t m_hoverColour = 0x0000FF;
    bool m_visited = false;
    bool m_hover = false;
};

} // namespace ombrel
