#include "CheckableList.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionViewItem>

namespace ombrel {

namespace {

constexpr int kLastCheckRole = Qt::UserRole + 1; // the check state the list last accepted for the row
constexpr int kDataRole = Qt::UserRole;

class ReportItem : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        return CompareReportCells(text(column).toStdString(), other.text(column).toStdString()) < 0;
    }
};

} // namespace

CheckableList::CheckableList(QWidget* parent) : QTreeWidget(parent) {
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setColumnCount(0);
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);
    header()->setStretchLastSection(true);
    setFocusPolicy(Qt::StrongFocus);
    connect(header(), &QHeaderView::sectionClicked, this, [this](int column) {
        if (m_sortable) sortByHeader(column);
    });
    connect(this, &QTreeWidget::itemChanged, this, &CheckableList::onItemChanged);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { endEdit(false); });
}

CheckableList::~CheckableList() {
    m_endEdit = nullptr;
}

int CheckableList::insertColumn(int column, const QString& heading, Qt::Alignment alignment, int width) {
    const int count = columnCount();
    column = std::clamp(column, 0, count);
    QTreeWidgetItem* head = headerItem();
    // Columns are appended; inserting in the middle shifts the headings to the right.
    setColumnCount(count + 1);
    for (int c = count; c > column; --c) {
        head->setText(c, head->text(c - 1));
        head->setData(c, Qt::TextAlignmentRole, head->data(c - 1, Qt::TextAlignmentRole));
        setColumnWidth(c, columnWidth(c - 1));
    }
    head->setText(column, heading);
    head->setData(column, Qt::TextAlignmentRole, static_cast<int>(alignment | Qt::AlignVCenter));
    setColumnWidth(column, width);
    return column;
}

int CheckableList::insertRow(int index, const QString& text) {
    index = std::clamp(index, 0, topLevelItemCount());
    auto* item = new ReportItem;
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable |
                   (m_checkMode == kNoChecks ? Qt::NoItemFlags : Qt::ItemIsUserCheckable));
    m_internalChange = true;
    item->setText(0, text);
    for (int c = 0; c < columnCount(); ++c)
        item->setData(c, Qt::TextAlignmentRole, headerItem()->data(c, Qt::TextAlignmentRole));
    if (m_checkMode != kNoChecks) item->setCheckState(0, Qt::Unchecked);
    item->setData(0, kLastCheckRole, false);
    insertTopLevelItem(index, item);
    m_internalChange = false;
    return index;
}

bool CheckableList::removeRow(int item) {
    if (item < 0 || item >= topLevelItemCount()) return false;
    if (m_editItem == item) endEdit(false);
    delete takeTopLevelItem(item);
    return true;
}

void CheckableList::removeAllRows() {
    endEdit(false);
    clear();
}

void CheckableList::setCellText(int item, int column, const QString& text) {
    if (QTreeWidgetItem* it = topLevelItem(item)) {
        m_internalChange = true;
        it->setText(column, text);
        m_internalChange = false;
    }
}

QString CheckableList::cellText(int item, int column) const {
    const QTreeWidgetItem* it = topLevelItem(item);
    return it ? it->text(column) : QString();
}

void CheckableList::setRowData(int item, const QVariant& value) {
    if (QTreeWidgetItem* it = topLevelItem(item)) {
        m_internalChange = true;
        it->setData(0, kDataRole, value);
        m_internalChange = false;
    }
}

QVariant CheckableList::rowData(int item) const {
    const QTreeWidgetItem* it = topLevelItem(item);
    return it ? it->data(0, kDataRole) : QVariant();
}

void CheckableList::setCheckSilently(QTreeWidgetItem* item, bool checked) {
    const bool was = m_internalChange;
    m_internalChange = true;
    item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    item->setData(0, kLastCheckRole, checked);
    m_internalChange = was;
}

void CheckableList::setRowChecked(int item, bool checked) {
    if (QTreeWidgetItem* it = topLevelItem(item); it && m_checkMode != kNoChecks) setCheckSilently(it, checked);
}

bool CheckableList::isRowChecked(int item) const {
    const QTreeWidgetItem* it = topLevelItem(item);
    return it && it->checkState(0) == Qt::Checked;
}

void CheckableList::selectOnly(int item) {
    QTreeWidgetItem* it = topLevelItem(item);
    if (!it) return;
    clearSelection();
    setCurrentItem(it);
    it->setSelected(true);
}

int CheckableList::selectedRow() const {
    for (int i = 0; i < topLevelItemCount(); ++i)
        if (topLevelItem(i)->isSelected()) return i;
    return -1;
}

void CheckableList::setCheckMode(int mode) {
    m_checkMode = std::clamp(mode, 0, 3);
    m_internalChange = true;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem* it = topLevelItem(i);
        Qt::ItemFlags f = it->flags() & ~Qt::ItemIsUserCheckable;
        if (m_checkMode == kNoChecks) {
            it->setData(0, Qt::CheckStateRole, QVariant());
        } else {
            f |= Qt::ItemIsUserCheckable;
            if (!it->data(0, Qt::CheckStateRole).isValid()) it->setCheckState(0, Qt::Unchecked);
        }
        it->setFlags(f);
    }
    m_internalChange = false;
}

QWidget* CheckableList::owner() const {
    return m_owner ? m_owner.data() : parentWidget();
}

void CheckableList::setBusy(bool on) {
    if (m_busy) *m_busy = on ? 1 : 0;
}

void CheckableList::onItemChanged(QTreeWidgetItem* item, int column) {
    if (m_internalChange || column != 0) return;
    const bool now = item->checkState(0) == Qt::Checked;
    const bool before = item->data(0, kLastCheckRole).toBool();
    if (now == before) return;
    const int row = indexOfTopLevelItem(item);
    switch (m_checkMode) {
    case kNoChecks:
        return;
    case kFixedChecks:
        setCheckSilently(item, before);
        return;
    case kSingleCheck:
        if (now) {
            for (int i = 0; i < topLevelItemCount(); ++i)
                if (i != row) setCheckSilently(topLevelItem(i), false);
        }
        break;
    default:
        break;
    }
    setCheckSilently(item, now);
    setBusy(true);
    selectOnly(row);
    setBusy(false);
    emit checkChanged(row, m_lastInput);
}

bool CheckableList::onCheckIndicator(const QPoint& pos) const {
    if (m_checkMode == kNoChecks) return false;
    const QModelIndex index = indexAt(pos);
    if (!index.isValid() || index.column() != 0) return false;
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    const QRect box = style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, this);
    return box.adjusted(-2, -2, 2, 2).contains(pos);
}

void CheckableList::handlePress(QMouseEvent* event, bool doubleClick) {
    const QPoint pos = event->position().toPoint();
    const QModelIndex index = indexAt(pos);
    const bool wasEditing = m_editItem >= 0;
    if (wasEditing) endEdit(true);
    const int row = index.isValid() ? index.row() : -1;
    QTreeWidgetItem* item = row >= 0 ? topLevelItem(row) : nullptr;
    const bool wasSelectedAndFocused = item && item->isSelected() && currentItem() == item;
    const bool checkBefore = item && item->checkState(0) == Qt::Checked;
    const bool onCheck = onCheckIndicator(pos);
    m_lastInput = doubleClick ? CheckInput::DoubleClick : CheckInput::Click;
    if (doubleClick)
        QTreeWidget::mouseDoubleClickEvent(event);
    else
        QTreeWidget::mousePressEvent(event);
    const bool checkAfter = item && item->checkState(0) == Qt::Checked;
    if (event->button() == Qt::LeftButton && m_editable && !onCheck && checkBefore == checkAfter && !wasEditing &&
        wasSelectedAndFocused) {
        startEdit(row, index.column());
    }
}

void CheckableList::mousePressEvent(QMouseEvent* event) {
    handlePress(event, false);
}

void CheckableList::mouseDoubleClickEvent(QMouseEvent* event) {
    handlePress(event, true);
}

void CheckableList::keyPressEvent(QKeyEvent* event) {
    m_lastInput = CheckInput::Key;
    if (m_editable && event->key() == Qt::Key_F2 && currentItem()) {
        startEdit(indexOfTopLevelItem(currentItem()), std::max(0, currentColumn()));
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void CheckableList::sortByHeader(int column) {
    if (column < 0 || column >= columnCount()) return;
    endEdit(true);
    m_sort = NextSortState(m_sort, column);
    sortItems(column, m_sort.ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    header()->setSortIndicatorShown(true);
    header()->setSortIndicator(column, m_sort.ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    emit sorted(column, m_sort.ascending);
}

QRect CheckableList::cellRect(int item, int column) const {
    QTreeWidgetItem* it = topLevelItem(item);
    return it ? visualItemRect(it).intersected(
                    QRect(columnViewportPosition(column), 0, columnWidth(column), viewport()->height() * 4))
              : QRect();
}

QLineEdit* CheckableList::cellEditor() const {
    return m_editor;
}

bool CheckableList::startEdit(int item, int column) {
    if (item < 0 || item >= topLevelItemCount() || column < 0 || column >= columnCount()) return false;
    endEdit(true);
    m_editItem = item;
    m_editColumn = column;
    setBusy(true);
    selectOnly(item);
    setBusy(false);
    int extra = 0;
    if (m_beginEdit && m_beginEdit(owner(), this, extra) == 0) return true;
    QLineEdit* editor = m_editor.data();
    if (!editor) {
        editor = new QLineEdit(viewport());
        editor->setObjectName(QStringLiteral("reportCellEditor"));
        editor->installEventFilter(this);
        m_editor = editor;
    }
    editor->setValidator(nullptr);
    if (extra & kEditNumber) {
        editor->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), editor));
    }
    editor->setAlignment(Qt::Alignment(headerItem()->data(column, Qt::TextAlignmentRole).toInt()) &
                         Qt::AlignHorizontal_Mask);
    editor->setText(cellText(item, column));
    editor->setGeometry(cellRect(item, column));
    editor->show();
    editor->setFocus(Qt::OtherFocusReason);
    editor->selectAll();
    return true;
}

void CheckableList::endEdit(bool commit) {
    if (m_editItem < 0 || m_ending) return;
    m_ending = true;
    const int item = m_editItem;
    const int column = m_editColumn;
    QLineEdit* editor = m_editor.data();
    const bool ownEditor = editor && !editor->isHidden();
    const QString text = ownEditor ? editor->text() : QString();
    const bool changed = ownEditor && text != cellText(item, column);
    bool keep = true;
    if (m_endEdit && m_endEdit(owner(), this, commit, changed) == 0) keep = false;
    if (keep && ownEditor && commit && changed) {
        setCellText(item, column, editor->text());
        emit cellEdited(item, column);
    }
    m_editItem = -1;
    m_editColumn = -1;
    if (ownEditor) {
        const bool hadFocus = editor->hasFocus();
        editor->hide();
        if (hadFocus) setFocus(Qt::OtherFocusReason);
    }
    m_ending = false;
}

bool CheckableList::eventFilter(QObject* watched, QEvent* event) {
    QLineEdit* editor = m_editor.data();
    if (editor && watched == editor) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                endEdit(true);
                return true;
            }
            if (key == Qt::Key_Escape) {
                endEdit(false);
                return true;
            }
        } else if (event->type() == QEvent::FocusOut && !editor->isHidden()) {
            endEdit(true);
        }
    }
    return QTreeWidget::eventFilter(watched, event);
}

} // namespace ombrel
