#pragma once
// A numbered message carried as a Qt event: the event type is the message number and two parameters travel with
// it. Handlers check the tag in the first one, so a stray event of the same number does nothing.

#include <QEvent>

#include <cstdint>

namespace ombrel {

class AppMessageEvent : public QEvent {
public:
    AppMessageEvent(int message, std::uintptr_t tag, std::intptr_t value)
        : QEvent(static_cast<QEvent::Type>(message)), m_tag(tag), m_value(value) {}

    int message() const { return static_cast<int>(type()); }
    std::uintptr_t tag() const { return m_tag; }
    std::intptr_t value() const { return m_value; }

private:
    std::uintptr_t m_tag;
    std::intptr_t m_value;
};

} // namespace ombrel
