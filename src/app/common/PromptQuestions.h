#pragma once
// The core's questions and messages as message boxes over a window (through UserPrompts, so tests answer them).

#include "UserPrompts.h"

#include "platform/UserQuestions.h"

#include <QPointer>
#include <QWidget>

namespace ombrel {

class PromptQuestions : public UserQuestions {
public:
    explicit PromptQuestions(QWidget* parent) : m_parent(parent) {}

    bool askYesNo(const std::string& text) override {
        return UserPrompts::ask(m_parent, QString::fromStdString(text), QString(), QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::No) == QMessageBox::Yes;
    }
    void tell(const std::string& text) override { UserPrompts::information(m_parent, QString::fromStdString(text)); }

private:
    QPointer<QWidget> m_parent;
};

} // namespace ombrel
