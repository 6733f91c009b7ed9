#include "CellComboBox.h"

#include "AppMessageEvent.h"

#include <QCoreApplication>

namespace ombrel {

CellComboBox::CellComboBox(QWidget* parent) : QComboBox(parent) {
    setFocusPolicy(Qt::StrongFocus);
    // Only a choice of the user counts; filling the list in code does not notify.
    connect(this, &QComboBox::activated, this, [this](int) {
        if (m_target && m_message > 0)
            QCoreApplication::postEvent(m_target, new AppMessageEvent(m_message, m_tag, m_value));
    });
}

void CellComboBox::setTarget(QObject* target, int message, std::uintptr_t tag, std::intptr_t value) {
    m_target = target;
    m_message = message;
    m_tag = tag;
    m_value = value;
}

} // namespace ombrel
