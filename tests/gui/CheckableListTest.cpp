// The report list: check modes, sorting, in-cell editing, owner callbacks and the three signals.
#include "CheckableList.h"
#include "ScreenTest.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

using namespace ombrel;

namespace {

// What the list told, in order: which signal and its two values.
struct Told {
    enum What { Check, Sorted, Edited } what;
    int a;
    int b;
};

struct ListFixture {
    QWidget owner;
    CheckableList* list = new CheckableList(&owner);
    int busy = 0;
    std::vector<Told> told;

    explicit ListFixture(int mode) {
        QObject::connect(list, &CheckableList::checkChanged, [this](int item, CheckableList::CheckInput how) {
            told.push_back({Told::Check, item, static_cast<int>(how)});
        });
        QObject::connect(list, &CheckableList::sorted, [this](int column, bool ascending) {
            told.push_back({Told::Sorted, column, ascending});
        });
        QObject::connect(list, &CheckableList::cellEdited, [this](int item, int column) {
            told.push_back({Told::Edited, item, column});
        });
        owner.resize(400, 300);
        list->setGeometry(0, 0, 400, 300);
        list->setBusyFlag(&busy);
        list->setCheckMode(mode);
        list->insertColumn(0, QStringLiteral("Name"), Qt::AlignLeft, 120);
        list->insertColumn(1, QStringLiteral("Size"), Qt::AlignRight, 80);
        const char* rows[][2] = {{"beta", "10"}, {"Alpha", "9"}, {"gamma", "100"}};
        for (int i = 0; i < 3; ++i) {
            list->insertRow(i, QString::fromLatin1(rows[i][0]));
            list->setCellText(i, 1, QString::fromLatin1(rows[i][1]));
            list->setRowData(i, i);
        }
    }
    // What a click on the check box does to the row.
    void userToggles(int row) {
        QTreeWidgetItem* it = list->topLevelItem(row);
        it->setCheckState(0, it->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
    QStringList column(int c) const {
        QStringList out;
        for (int i = 0; i < list->rowCount(); ++i)
            out << list->cellText(i, c);
        return out;
    }
};

} // namespace

class CheckableListTest : public QObject {
    Q_OBJECT
private slots:
    void freeChecksReportEveryChange() {
        ListFixture f(CheckableList::kFreeChecks);
        f.userToggles(0);
        f.userToggles(2);
        QVERIFY(f.list->isRowChecked(0) && f.list->isRowChecked(2));
        QCOMPARE(f.told.size(), std::size_t(2));
        QCOMPARE(f.told[1].what, Told::Check);
        QCOMPARE(f.told[1].a, 2);
        QCOMPARE(f.list->selectedRow(), 2); // the changed row becomes the selected one
        QCOMPARE(f.busy, 0);
    }

    void singleCheckKeepsAtMostOne() {
        ListFixture f(CheckableList::kSingleCheck);
        f.userToggles(0);
        f.userToggles(1);
        QVERIFY(!f.list->isRowChecked(0) && f.list->isRowChecked(1) && !f.list->isRowChecked(2));
        QCOMPARE(f.told.size(), std::size_t(2));
    }

    void fixedChecksCannotBeChangedByTheUser() {
        ListFixture f(CheckableList::kFixedChecks);
        f.list->setRowChecked(1, true); // code may set them
        f.userToggles(1);
        f.userToggles(0);
        QVERIFY(f.list->isRowChecked(1) && !f.list->isRowChecked(0));
        QVERIFY(f.told.empty());
    }

    void noChecksShowNoBoxes() {
        ListFixture f(CheckableList::kNoChecks);
        QVERIFY(!f.list->topLevelItem(0)->data(0, Qt::CheckStateRole).isValid());
        f.list->setRowChecked(0, true);
        QVERIFY(!f.list->isRowChecked(0));
    }

    void headerClicksSortAscendingThenDescending() {
        ListFixture f(CheckableList::kFreeChecks);
        f.list->sortByHeader(1);
        QCOMPARE(f.column(1), QStringList({"9", "10", "100"})); // numbers as numbers
        QCOMPARE(f.list->rowData(0).toInt(), 1);                // data travels with its row
        f.list->sortByHeader(1);
        QCOMPARE(f.column(1), QStringList({"100", "10", "9"}));
        f.list->sortByHeader(0);
        QCOMPARE(f.column(0), QStringList({"Alpha", "beta", "gamma"}));
        QCOMPARE(f.told.size(), std::size_t(3));
        QCOMPARE(f.told[1].what, Told::Sorted);
        QCOMPARE(f.told[1].a, 1);
        QCOMPARE(f.told[1].b, 0); // descending
        f.list->setSortable(false);
        emit f.list->header()->sectionClicked(1);
        QCOMPARE(f.told.size(), std::size_t(3));
    }

    void editingACellCommitsAndReports() {
        ListFixture f(CheckableList::kFreeChecks);
        f.list->setEditable(true);
        QVERIFY(f.list->startEdit(1, 0));
        QCOMPARE(f.list->editingRow(), 1);
        QVERIFY(f.list->cellEditor() && !f.list->cellEditor()->isHidden());
        QCOMPARE(f.list->cellEditor()->text(), QStringLiteral("Alpha"));
        f.list->cellEditor()->setText(QStringLiteral("Omega"));
        f.list->endEdit(true);
        QCOMPARE(f.list->cellText(1, 0), QStringLiteral("Omega"));
        QCOMPARE(f.list->editingRow(), -1);
        QCOMPARE(f.told.back().what, Told::Edited);
        QCOMPARE(f.told.back().a, 1);
        QCOMPARE(f.told.back().b, 0);
        const std::size_t sent = f.told.size();

        // Cancelled, unchanged, or dropped by the owner: no new text, no message.
        f.list->startEdit(0, 0);
        f.list->cellEditor()->setText(QStringLiteral("zeta"));
        f.list->endEdit(false);
        f.list->startEdit(0, 0);
        f.list->endEdit(true);
        f.list->setEndEditHandler([](QWidget*, CheckableList*, bool, bool) { return 0; });
        f.list->startEdit(0, 0);
        f.list->cellEditor()->setText(QStringLiteral("eta"));
        f.list->endEdit(true);
        QCOMPARE(f.list->cellText(0, 0), QStringLiteral("beta"));
        QCOMPARE(f.told.size(), sent);
    }

    void beginEditCallbackCanTakeOverOrRestrictTheEditor() {
        ListFixture f(CheckableList::kFreeChecks);
        f.list->setBeginEditHandler([](QWidget*, CheckableList* list, int& extra) {
            if (list->editingColumn() == 0) return 0; // the owner shows its own editor for names
            extra |= CheckableList::kEditNumber;
            return 1;
        });
        f.list->startEdit(0, 0);
        QVERIFY(!f.list->cellEditor() || f.list->cellEditor()->isHidden());
        QCOMPARE(f.list->editingColumn(), 0);
        f.list->startEdit(0, 1);
        QVERIFY(!f.list->cellEditor()->isHidden());
        QVERIFY(f.list->cellEditor()->validator() != nullptr);
        f.list->cellEditor()->setText(QString());
        QTest::keyClicks(f.list->cellEditor(), QStringLiteral("4x2"));
        QCOMPARE(f.list->cellEditor()->text(), QStringLiteral("42"));
    }

    void clickOnTheSelectedRowStartsEditingAndScrollingEndsIt() {
        ListFixture f(CheckableList::kNoChecks);
        for (int i = 3; i < 60; ++i)
            f.list->insertRow(i, QStringLiteral("row %1").arg(i));
        f.list->setEditable(true);
        f.owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.owner));
        const QPoint cell = f.list->cellRect(1, 0).center();
        QTest::mouseClick(f.list->viewport(), Qt::LeftButton, {}, cell);
        QCOMPARE(f.list->editingRow(), -1); // first click selects
        QTest::mouseClick(f.list->viewport(), Qt::LeftButton, {}, cell);
        QCOMPARE(f.list->editingRow(), 1); // a click on the selected row edits it
        f.list->cellEditor()->setText(QStringLiteral("changed"));
        f.list->verticalScrollBar()->setValue(5);
        QCOMPARE(f.list->editingRow(), -1);
        QCOMPARE(f.list->cellText(1, 0), QStringLiteral("Alpha")); // scrolling drops the edit
    }
};

OMBREL_SCREEN_TEST_MAIN(CheckableListTest)
#include "CheckableListTest.moc"
