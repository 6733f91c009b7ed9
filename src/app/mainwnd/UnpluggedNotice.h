#pragma once
// What an open window shows while its keyboard is unplugged: the window stays where the user left it, its
// controls below the caption bar are covered (nothing there can reach the keyboard) and a message in the middle
// says what happened and what to do. The caption bar stays usable, so the window can still be hidden or closed.

#include <QWidget>

class QLabel;

namespace ombrel {

class UnpluggedNotice : public QWidget {
    Q_OBJECT
public:
    explicit UnpluggedNotice(QWidget* window);

    // Covers the window below `top` (the caption bar's bottom edge) and says `text`.
    void showOver(int top, const QString& text);
    void setText(const QString& text);
    QString text() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void fit();

    QLabel* m_label;
    int m_top = 0;
};

} // namespace ombrel
