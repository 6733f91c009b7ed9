#pragma once
// A list of rows and columns with check boxes in four modes, sorting by a header click and editing in the cell.
// It tells about check changes, sorts and edited cells with signals, and asks the owner through optional
// callbacks before and after each of those steps.

#include "rules/ReportSortRule.h"

#include <QPointer>
#include <QTreeWidget>

#include <functional>

class QLineEdit;

namespace ombrel {

class CReportCtrl : public QTreeWidget {
    Q_OBJECT
public:
    enum CheckMode { kNoChecks = 0, kFreeChecks = 1, kSingleCheck = 2, kFixedChecks = 3 };
    // What changed a check: a click (also a change from code, or the first one), a double click, or a key.
    enum class CheckInput { Click, DoubleClick, Key };
    static inline constexpr int kEditNumber = 0x2000; // extra editor style: digits only

    using CheckChangedFn = std::function<void(int item, CReportCtrl* list)>;
    // Returns 0 when the owner shows an editor of its own; may add extra editor styles.
    using BeginEditFn = std::function<int(QWidget* owner, CReportCtrl* list, int& extraStyles)>;
    // Returns 0 to drop the edit.
    using EndEditFn = std::function<int(QWidget* owner, CReportCtrl* list, bool commit, bool changed)>;
    // Returns 0 to reject the editor's text; may change it.
    using ValidateFn = std::function<int(QLineEdit* editor, CReportCtrl* list)>;
    using SortFn = std::function<void(QWidget* owner, CReportCtrl* list)>;

    explicit CReportCtrl(QWidget* parent = nullptr);
    ~CReportCtrl() override;

    int InsertColumn(int column, const QString& heading, Qt::Alignment alignment, int width);
    int InsertItem(int index, const QString& text); // returns the index the row got
    bool DeleteItem(int item);
    void DeleteAllItems();
    int GetItemCount() const { return topLevelItemCount(); }
    void SetItemText(int item, int column, const QString& text);
    QString GetItemText(int item, int column) const;
    void SetItemData(int item, const QVariant& data);
    QVariant GetItemData(int item) const;
    void SetCheck(int item, bool checked); // from code: no message, mode rules do not apply
    bool GetCheck(int item) const;
    void SelectOnly(int item);   // deselects all, selects and focuses the row
    int GetSelectedItem() const; // the first selected row or -1

    void SetCheckMode(int mode);
    int CheckMode() const { return m_checkMode; }
    void SetSortable(bool on) { m_sortable = on; }
    void SetEditable(bool on) { m_editable = on; }
    bool IsEditable() const { return m_editable; }
    SortState Sorting() const { return m_sort; }
    void SortByColumn(int column); // what a header click does

    bool StartEdit(int item, int column);
    void EndEdit(bool commit);
    int EditingItem() const { return m_editItem; }
    int EditingColumn() const { return m_editColumn; }
    QLineEdit* Editor() const;
    QRect CellRect(int item, int column) const; // in viewport coordinates

    void SetOwner(QWidget* owner) { m_owner = owner; }
    void SetBusyFlag(int* busy) { m_busy = busy; }
    void SetCheckChanged(CheckChangedFn fn) { m_checkChanged = std::move(fn); }
    void SetBeginEdit(BeginEditFn fn) { m_beginEdit = std::move(fn); }
    void SetEndEdit(EndEditFn fn) { m_endEdit = std::move(fn); }
    void SetValidate(ValidateFn fn) { m_validate = std::move(fn); }
    void SetBeforeSort(SortFn fn) { m_beforeSort = std::move(fn); }
    void SetAfterSort(SortFn fn) { m_afterSort = std::move(fn); }

signals:
    // The user changed the check of `item`, after the mode's rules were applied.
    void checkChanged(int item, ombrel::CReportCtrl::CheckInput input);
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
    CheckChangedFn m_checkChanged;
    BeginEditFn m_beginEdit;
    EndEditFn m_endEdit;
    ValidateFn m_validate;
    SortFn m_beforeSort;
    SortFn m_afterSort;
};

} // namespace ombrel
