#include "CComboBox4ListCtrl.h"

#include "AppMessageEvent.h"

#include <QCoreApplication>

namespace ombrel {

CComboBox4ListCtrl::CComboBox4ListCtrl(QWidget* parent) : QComboBox(parent) {
    setFocusPolicy(Qt::StrongFocus);
    // Only a choice of the user counts; filling the list in code does not notify.
    connect(this, &QComboBox::activated, this, [this](int) {
        if (m_target && m_message > 0)
            QCoreApplication::postEvent(m_target, new AppMessageEvent(m_message, m_wParam, m_lParam));
    });
}

void CComboBox4ListCtrl::SetTarget(QObject* target, int message, std::uintptr_t wParam, std::intptr_t lParam) {
    m_target = target;
    m_message = message;
    m_wParam = wParam;
    m_lParam = lParam;
}

} // namespace ombrel
