#pragma once
// A label that opens a web address: blue, underlined while the pointer is over it, a hand cursor, purple once
// visited.

#include <QLabel>

#include <cstdint>
#include <functional>

namespace ombrel {

class LinkLabel : public QLabel {
    Q_OBJECT
public:
    // How a link is opened; the default hands it to the desktop. Tests replace it.
    using Opener = std::function<bool(const QString& target)>;
    static void setOpener(Opener opener);

    explicit LinkLabel(QWidget* parent = nullptr);

    void setTarget(const QString& target) { m_target = target; }
    QString target() const { return m_target; }
    void setColours(std::uint32_t link, std::uint32_t visited, std::uint32_t hover);
    void setUnderlineOnHover(bool on) { m_underlineOnHover = on; }
    void setAdjustToFit(bool on);
    void setTooltipText(const QString& text) { setToolTip(text); }
    bool isVisited() const { return m_visited; }
    void setVisited(bool visited);

signals:
    void opened(const QString& target);

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
    bool m_underlineOnHover = true;
    bool m_adjustToFit = true;
    bool m_visited = false;
    bool m_hover = false;
};

} // namespace ombrel
