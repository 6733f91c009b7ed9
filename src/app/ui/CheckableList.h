#pragma once
// A list of rows and columns with check boxes in four modes, sorting by a header click and editing in the cell.
// It tells about check changes, sorts and edited cells with signals; the owner may take over the editing of a
// cell (its own editor, or dropping the edit) through the two edit hooks.

#include "rules/ReportSortRule.h"

#include <QPointer>
#include <QTreeWidget>

#include <functional>

class QLineEdit;

namespace ombrel {

class CheckableList : public QTreeWidget {
    Q_OBJECT
public:
    enum CheckMode { kNoChecks = 0, kFreeChecks = 1, kSingleCheck = 2, kFixedChecks = 3 };
    // What changed a check: a click (also a change from code, or the first one), a double click, or a key.
    enum class CheckInput { Click, DoubleClick, Key };
    static inline constexpr int kEditNumber = 0x2000; // extra editor style: digits only

    // Returns 0 when the owner shows an editor of its own; may add extra editor styles.
    using BeginEditFn = std::function<int(QWidget* owner, CheckableList* list, int& extraStyles)>;
    // Returns 0 to drop the edit.
    using EndEditFn = std::function<int(QWidget* owner, CheckableList* list, bool commit, bool changed)>;

    explicit CheckableList(QWidget* parent = nullptr);
    ~CheckableList() override;

    int insertColumn(int column, const QString& heading, Qt::Alignment alignment, int width);
    int insertRow(int index, const QString& text); // returns the index the row got
    bool removeRow(int item);
    void removeAllRows();
    int rowCount() const { return topLevelItemCount(); }
    void setCellText(int item, int column, const QString& text);
    QString cellText(int item, int column) const;
    void setRowData(int item, const QVariant& data);
    QVariant rowData(int item) const;
    void setRowChecked(int item, bool checked); // from code: no message, mode rules do not apply
    bool isRowChecked(int item) const;
    void selectOnly(int item); // deselects all, selects and focuses the row
    int selectedRow() const;   // the first selected row or -1

    void setCheckMode(int mode);
    int checkMode() const { return m_checkMode; }
    void setSortable(bool on) { m_sortable = on; }
    void setEditable(bool on) { m_editable = on; }
    bool isEditable() const { return m_editable; }
    SortState sortState() const { return m_sort; }
    void sortByHeader(int column); // what a header click does

    bool startEdit(int item, int column);
    void endEdit(bool commit);
    int editingRow() const { return m_editItem; }
    int editingColumn() const { return m_editColumn; }
    QLineEdit* cellEditor() const;
    QRect cellRect(int item, int column) const; // in viewport coordinates

    void setOwner(QWidget* owner) { m_owner = owner; }
    void setBusyFlag(int* busy) { m_busy = busy; }
    void setBeginEditHandler(BeginEditFn fn) { m_beginEdit = std::move(fn); }
    void setEndEditHandler(EndEditFn fn) { m_endEdit = std::move(fn); }

signals:
    // The user changed the check of `item`, after the mode's rules were applied.
    void checkChanged(int item, ombrel::CheckableList::CheckInput input);
    // A header click sorted by `column`.
    void sorted(int column, bool ascending);
    // An edit of the cell was committed with a changed text.
    void cellEdited(int item, int column);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void handlePress(QMouseEvent* event, bool doubleClick);
    void onItemChanged(QTreeWidgetItem* item, int column);
    bool onCheckIndicator(const QPoint& pos) const;
    QWidget* owner() const;
    void setBusy(bool on);
    void setCheckSilently(QTreeWidgetItem* item, bool checked);

    int m_checkMode = kFreeChecks;
    bool m_sortable = true;
    bool m_editable = false;
    SortState m_sort;
    int m_editItem = -1;
    int m_editColumn = -1;
    QPointer<QLineEdit> m_editor;
    bool m_ending = false;
    bool m_internalChange = false;
    CheckInput m_lastInput = CheckInput::Click;
    QPointer<QWidget> m_owner;
    int* m_busy = nullptr;
    BeginEditFn m_beginEdit;
    EndEditFn m_endEdit;
};

} // namespace ombrel
