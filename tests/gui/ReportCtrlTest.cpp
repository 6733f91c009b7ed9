// The report list: check modes, sorting, in-cell editing, owner callbacks and the three signals.
#include "CReportCtrl.h"

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
    CReportCtrl* list = new CReportCtrl(&owner);
    int busy = 0;
    std::vector<Told> told;

    explicit ListFixture(int mode) {
        QObject::connect(list, &CReportCtrl::checkChanged, [this](int item, CReportCtrl::CheckInput how) {
            told.push_back({Told::Check, item, static_cast<int>(how)});
        });
        QObject::connect(list, &CReportCtrl::sorted, [this](int column, bool ascending) {
            told.push_back({Told::Sorted, column, ascending});
        });
        QObject::connect(list, &CReportCtrl::cellEdited, [this](int item, int column) {
            told.push_back({Told::Edited, item, column});
        });
        owner.resize(400, 300);
        list->setGeometry(0, 0, 400, 300);
        list->SetBusyFlag(&busy);
        list->SetCheckMode(mode);
        list->InsertColumn(0, QStringLiteral("Name"), Qt::AlignLeft, 120);
        list->InsertColumn(1, QStringLiteral("Size"), Qt::AlignRight, 80);
        const char* rows[][2] = {{"beta", "10"}, {"Alpha", "9"}, {"gamma", "100"}};
        for (int i = 0; i < 3; ++i) {
            list->InsertItem(i, QString::fromLatin1(rows[i][0]));
            list->SetItemText(i, 1, QString::fromLatin1(rows[i][1]));
            list->SetItemData(i, i);
        }
    }
    // What a click on the check box does to the row.
    void userToggles(int row) {
        QTreeWidgetItem* it = list->topLevelItem(row);
        it->setCheckState(0, it->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
    QStringList column(int c) const {
        QStringList out;
        for (int i = 0; i < list->GetItemCount(); ++i)
            out << list->GetItemText(i, c);
        return out;
    }
};

} // namespace

class ReportCtrlTest : public QObject {
    Q_OBJECT
private slots:
    void freeChecksReportEveryChange() {
        ListFixture f(CReportCtrl::kFreeChecks);
        f.userToggles(0);
        f.userToggles(2);
        QVERIFY(f.list->GetCheck(0) && f.list->GetCheck(2));
        QCOMPARE(f.told.size(), std::size_t(2));
        QCOMPARE(f.told[1].what, Told::Check);
        QCOMPARE(f.told[1].a, 2);
        QCOMPARE(f.list->GetSelectedItem(), 2); // the changed row becomes the selected one
        QCOMPARE(f.busy, 0);
    }

    void singleCheckKeepsAtMostOne() {
        ListFixture f(CReportCtrl::kSingleCheck);
        int callbacks = 0;
        f.list->SetCheckChanged([&](int, CReportCtrl*) { ++callbacks; });
        f.userToggles(0);
        f.userToggles(1);
        QVERIFY(!f.list->GetCheck(0) && f.list->GetCheck(1) && !f.list->GetCheck(2));
        QCOMPARE(callbacks, 2);
        QCOMPARE(f.told.size(), std::size_t(2));
    }

    void fixedChecksCannotBeChangedByTheUser() {
        ListFixture f(CReportCtrl::kFixedChecks);
        f.list->SetCheck(1, true); // code may set them
        f.userToggles(1);
        f.userToggles(0);
        QVERIFY(f.list->GetCheck(1) && !f.list->GetCheck(0));
        QVERIFY(f.told.empty());
    }

    void noChecksShowNoBoxes() {
        ListFixture f(CReportCtrl::kNoChecks);
        QVERIFY(!f.list->topLevelItem(0)->data(0, Qt::CheckStateRole).isValid());
        f.list->SetCheck(0, true);
        QVERIFY(!f.list->GetCheck(0));
    }

    void headerClicksSortAscendingThenDescending() {
        ListFixture f(CReportCtrl::kFreeChecks);
        std::vector<QString> calls;
        f.list->SetBeforeSort([&](QWidget*, CReportCtrl*) { calls.push_back(QStringLiteral("before")); });
        f.list->SetAfterSort([&](QWidget*, CReportCtrl*) { calls.push_back(QStringLiteral("after")); });
        f.list->SortByColumn(1);
        QCOMPARE(f.column(1), QStringList({"9", "10", "100"})); // numbers as numbers
        QCOMPARE(f.list->GetItemData(0).toInt(), 1);            // data travels with its row
        f.list->SortByColumn(1);
        QCOMPARE(f.column(1), QStringList({"100", "10", "9"}));
        f.list->SortByColumn(0);
        QCOMPARE(f.column(0), QStringList({"Alpha", "beta", "gamma"}));
        QCOMPARE(calls.size(), std::size_t(6));
        QCOMPARE(f.told.size(), std::size_t(3));
        QCOMPARE(f.told[1].what, Told::Sorted);
        QCOMPARE(f.told[1].a, 1);
        QCOMPARE(f.told[1].b, 0); // descending
        f.list->SetSortable(false);
        emit f.list->header()->sectionClicked(1);
        QCOMPARE(f.told.size(), std::size_t(3));
    }

    void editingACellCommitsValidatesAndReports() {
        ListFixture f(CReportCtrl::kFreeChecks);
        f.list->SetEditable(true);
        QVERIFY(f.list->StartEdit(1, 0));
        QCOMPARE(f.list->EditingItem(), 1);
        QVERIFY(f.list->Editor() && !f.list->Editor()->isHidden());
        QCOMPARE(f.list->Editor()->text(), QStringLiteral("Alpha"));
        f.list->Editor()->setText(QStringLiteral("Omega"));
        f.list->EndEdit(true);
        QCOMPARE(f.list->GetItemText(1, 0), QStringLiteral("Omega"));
        QCOMPARE(f.list->EditingItem(), -1);
        QCOMPARE(f.told.back().what, Told::Edited);
        QCOMPARE(f.told.back().a, 1);
        QCOMPARE(f.told.back().b, 0);
        const std::size_t sent = f.told.size();

        // Rejected by the validator, cancelled, unchanged, or dropped by the owner: no new text, no message.
        f.list->SetValidate([](QLineEdit* editor, CReportCtrl*) { return editor->text().isEmpty() ? 0 : 1; });
        f.list->StartEdit(0, 0);
        f.list->Editor()->setText(QString());
        f.list->EndEdit(true);
        f.list->StartEdit(0, 0);
        f.list->Editor()->setText(QStringLiteral("zeta"));
        f.list->EndEdit(false);
        f.list->StartEdit(0, 0);
        f.list->EndEdit(true);
        f.list->SetEndEdit([](QWidget*, CReportCtrl*, bool, bool) { return 0; });
        f.list->StartEdit(0, 0);
        f.list->Editor()->setText(QStringLiteral("eta"));
        f.list->EndEdit(true);
        QCOMPARE(f.list->GetItemText(0, 0), QStringLiteral("beta"));
        QCOMPARE(f.told.size(), sent);
    }

    void beginEditCallbackCanTakeOverOrRestrictTheEditor() {
        ListFixture f(CReportCtrl::kFreeChecks);
        f.list->SetBeginEdit([](QWidget*, CReportCtrl* list, int& extra) {
            if (list->EditingColumn() == 0) return 0; // the owner shows its own editor for names
            extra |= CReportCtrl::kEditNumber;
            return 1;
        });
        f.list->StartEdit(0, 0);
        QVERIFY(!f.list->Editor() || f.list->Editor()->isHidden());
        QCOMPARE(f.list->EditingColumn(), 0);
        f.list->StartEdit(0, 1);
        QVERIFY(!f.list->Editor()->isHidden());
        QVERIFY(f.list->Editor()->validator() != nullptr);
        f.list->Editor()->setText(QString());
        QTest::keyClicks(f.list->Editor(), QStringLiteral("4x2"));
        QCOMPARE(f.list->Editor()->text(), QStringLiteral("42"));
    }

    void clickOnTheSelectedRowStartsEditingAndScrollingEndsIt() {
        ListFixture f(CReportCtrl::kNoChecks);
        for (int i = 3; i < 60; ++i)
            f.list->InsertItem(i, QStringLiteral("row %1").arg(i));
        f.list->SetEditable(true);
        f.owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.owner));
        const QPoint cell = f.list->CellRect(1, 0).center();
        QTest::mouseClick(f.list->viewport(), Qt::LeftButton, {}, cell);
        QCOMPARE(f.list->EditingItem(), -1); // first click selects
        QTest::mouseClick(f.list->viewport(), Qt::LeftButton, {}, cell);
        QCOMPARE(f.list->EditingItem(), 1); // a click on the selected row edits it
        f.list->Editor()->setText(QStringLiteral("changed"));
        f.list->verticalScrollBar()->setValue(5);
        QCOMPARE(f.list->EditingItem(), -1);
        QCOMPARE(f.list->GetItemText(1, 0), QStringLiteral("Alpha")); // scrolling drops the edit
    }
};

QTEST_MAIN(ReportCtrlTest)
#include "ReportCtrlTest.moc"
