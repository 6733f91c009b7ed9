#pragma once
// The history of writes: every snapshot the write history kept before a write to the keyboard, with when, which
// program and what the write changed, and the keyboard put back as one of them held it.

#include <QDialog>

#include <optional>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace ombrel {

class WindowContext;

class HistoryDialog : public QDialog {
    Q_OBJECT
public:
    HistoryDialog(WindowContext& context, QWidget* parent);

    // The snapshots, newest first, each as "time", "writer", "what changed" (tests read it).
    QTreeWidget* list() const { return m_list; }
    // Puts the keyboard back as the selected snapshot held it, after asking. True when it was written.
    bool restoreSelected();

signals:
    // The keyboard was written: what the window shows must be read again.
    void restored();

private:
    void fill();
    void showDetails();

    WindowContext& m_context;
    QLabel* m_explain = nullptr;
    QTreeWidget* m_list = nullptr;
    QPlainTextEdit* m_details = nullptr;
    QPushButton* m_restore = nullptr;
};

} // namespace ombrel
