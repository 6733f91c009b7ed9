#pragma once
// A window message carried as a Qt event: the event type is the message number, and the two parameters travel
// with it unchanged, so handlers check the same tags and values as the messages they stand for.

#include <QEvent>

#include <cstdint>

namespace ombrel {

// Messages the skinned controls send to their owners.
inline constexpr int UM_SLIDER = 10449;           // wParam: control id, lParam: position (posted)
inline constexpr int kReportCheckChanged = 42768; // wParam: item, lParam: the mouse message (sent)
inline constexpr int kReportSorted = 42769;       // wParam: column, lParam: ascending flag (sent)
inline constexpr int kReportCellEdited = 42770;   // wParam: item, lParam: column (sent)

// The mouse messages that a check change can come from, as the owner is told about them.
inline constexpr std::intptr_t kMsgLButtonDown = 0x0201;
inline constexpr std::intptr_t kMsgLButtonDblClk = 0x0203;
inline constexpr std::intptr_t kMsgKeyDown = 0x0100;

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
