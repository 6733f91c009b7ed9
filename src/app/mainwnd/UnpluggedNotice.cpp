#include "UnpluggedNotice.h"

#include "SkinStyle.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace ombrel {

namespace {

constexpr int kCoverAlpha = 215;
constexpr int kMessageWidth = 520;

} // namespace

UnpluggedNotice::UnpluggedNotice(QWidget* window) : QWidget(window), m_label(new QLabel(this)) {
    setObjectName(QStringLiteral("unpluggedNotice"));
    // The cover takes every click and key meant for the controls under it.
    setAttribute(Qt::WA_NoMousePropagation);
    setFocusPolicy(Qt::StrongFocus);
    m_label->setObjectName(QStringLiteral("unpluggedText"));
    m_label->setWordWrap(true);
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setFixedWidth(kMessageWidth);
    m_label->setStyleSheet(QStringLiteral("QLabel { color: %1; background: %2; border: 1px solid %3; "
                                          "border-radius: 6px; padding: 18px; font-family: '%4'; font-size: 15px; }")
                               .arg(Hex(palette::kText), Hex(palette::kPopup), Hex(palette::kAccent), SkinFontFace()));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label, 0, Qt::AlignCenter);
    window->installEventFilter(this);
    hide();
}

void UnpluggedNotice::showOver(int top, const QString& text) {
    m_top = top;
    setText(text);
    fit();
    show();
    raise();
    setFocus();
}

void UnpluggedNotice::setText(const QString& text) {
    m_label->setText(text);
    setAccessibleName(text);
}

QString UnpluggedNotice::text() const {
    return m_label->text();
}

void UnpluggedNotice::fit() {
    const QWidget* window = parentWidget();
    setGeometry(0, m_top, window->width(), std::max(0, window->height() - m_top));
}

bool UnpluggedNotice::eventFilter(QObject* watched, QEvent* event) {
    // The window may be scaled to the screen while the notice shows.
    if (watched == parentWidget() && event->type() == QEvent::Resize && isVisible()) fit();
    return QWidget::eventFilter(watched, event);
}

void UnpluggedNotice::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(palette::kWindow, kCoverAlpha));
}

} // namespace ombrel
