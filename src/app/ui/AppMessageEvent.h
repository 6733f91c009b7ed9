#pragma once
// A numbered message carried as a Qt event: the event type is the message number and two parameters travel with
// it. Handlers check the tag in the first one, so a stray event of the same number does nothing.

#include <QEvent>

#include <cstdint>

namespace ombrel {

class AppMessageEvent : public QEvent {
public:
    AppMessageEvent(int message, std::uintptr_t wParam, std::intptr_t lParam)
        : QEvent(static_cast<QEvent::Type>(message)), m_wParam(wParam), m_lParam(lParam) {}

    int message() const { return static_cast<int>(type()); }
    std::uintptr_t wParam() const { return m_wParam; }
    std::intptr_t lParam() const { return m_lParam; }

private:
    std::uintptr_t m_wParam;
    std::intptr_t m_lParam;
};

} // namespace ombrel
