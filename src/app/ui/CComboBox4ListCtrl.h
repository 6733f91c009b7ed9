#pragma once
// A drop-down list that a report list places over a cell as its editor. A change of selection is posted to a
// target chosen by the list, as a message with fixed parameters.

#include <QComboBox>
#include <QPointer>

#include <cstdint>

namespace ombrel {

class CComboBox4ListCtrl : public QComboBox {
    Q_OBJECT
public:
    explicit CComboBox4ListCtrl(QWidget* parent = nullptr);

    void SetTarget(QObject* target, int message, std::uintptr_t wParam, std::intptr_t lParam);
    void ClearTarget() { m_target = nullptr; }

private:
    QPointer<QObject> m_target;
    int m_message = 0;
    std::uintptr_t m_wParam = 0;
    std::intptr_t m_lParam = 0;
};

} // namespace ombrel
