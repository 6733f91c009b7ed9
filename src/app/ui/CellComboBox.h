#pragma once
// A drop-down list that a report list places over a cell as its editor. A change of selection is posted to a
// target chosen by the list, as a message with fixed parameters.

#include <QComboBox>
#include <QPointer>

#include <cstdint>

namespace ombrel {

class CellComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit CellComboBox(QWidget* parent = nullptr);

    void setTarget(QObject* target, int message, std::uintptr_t tag, std::intptr_t value);
    void ClearTarget() { m_target = nullptr; }

private:
    QPointer<QObject> m_target;
    int m_message = 0;
    std::uintptr_t m_tag = 0;
    std::intptr_t m_value = 0;
};

} // namespace ombrel
