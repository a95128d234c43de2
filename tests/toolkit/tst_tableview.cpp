// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/animation.h"
#include "toolkit/button.h"
#include "toolkit/label.h"
#include "toolkit/tableview.h"

#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{

const QString kCellId = u"Cell"_s;

class CountingCell : public ui::TableViewCell
{
public:
    CountingCell(ui::TableViewCellStyle style, const QString &id) : ui::TableViewCell(style, id)
    {
        ++made;
    }
    static inline int made = 0;
};

// A list of numbered rows that records what the table asks of it.
class Rows final : public ui::TableViewDataSource, public ui::TableViewDelegate
{
public:
    QList<int> values;
    QList<int> editable;
    bool useIndexPathDequeue = false;
    int created = 0;
    QList<int> committed;
    QList<int> selected;
    std::optional<int> refuseSelection;

    int numberOfRowsInSection(ui::TableView *, int) override { return int(values.size()); }
    ui::TableViewCell *cellForRowAtIndexPath(ui::TableView *table,
                                             const ui::IndexPath &path) override
    {
        ui::TableViewCell *cell = useIndexPathDequeue
                                      ? table->dequeueReusableCellWithIdentifier(kCellId, path)
                                      : table->dequeueReusableCellWithIdentifier(kCellId);
        if (!cell) {
            cell = new ui::TableViewCell(ui::TableViewCellStyle::Default, kCellId);
            ++created;
        }
        cell->setTag(path.row + 1);
        cell->textLabel()->setText(QString::number(values.at(path.row)));
        return cell;
    }
    bool canEditRowAtIndexPath(ui::TableView *, const ui::IndexPath &path) override
    {
        return editable.contains(path.row);
    }
    void commitEditingStyle(ui::TableView *table, ui::TableViewCellEditingStyle style,
                            const ui::IndexPath &path) override
    {
        if (style != ui::TableViewCellEditingStyle::Delete)
            return;
        committed.append(path.row);
        values.removeAt(path.row);
        table->deleteRowsAtIndexPaths({path}, ui::TableViewRowAnimation::Automatic);
        table->setEditing(false, true);
    }
    std::optional<ui::IndexPath> willSelectRowAtIndexPath(ui::TableView *,
                                                          const ui::IndexPath &path) override
    {
        if (refuseSelection == path.row)
            return std::nullopt;
        return path;
    }
    void didSelectRowAtIndexPath(ui::TableView *, const ui::IndexPath &path) override
    {
        selected.append(path.row);
    }
};

QList<int> shownValues(const ui::TableView &table)
{
    QList<int> shown;
    for (const ui::IndexPath &path : table.indexPathsForVisibleRows())
        shown.append(table.cellForRowAtIndexPath(path)->textLabel()->text().toInt());
    return shown;
}

int cellChildren(const ui::TableView &table)
{
    return int(
        table.contentView()->findChildren<ui::TableViewCell *>(Qt::FindDirectChildrenOnly).size());
}

} // namespace

class TestTableView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        ui::Animation::setDisabledForTests(true);
    }

    void onlyVisibleRowsHaveCells_data()
    {
        QTest::addColumn<qreal>("offset");
        QTest::addColumn<int>("firstRow");
        QTest::addColumn<int>("lastRow");
        // 568 / 44 = 12.9: rows 0..12 at the top.
        QTest::newRow("top") << 0.0 << 0 << 12;
        QTest::newRow("row boundary") << 44.0 * 10 << 10 << 22;
        QTest::newRow("mid-row") << 44.0 * 50 + 20 << 50 << 63;
        QTest::newRow("end") << 44.0 * 100 - 568 << 87 << 99;
    }
    void onlyVisibleRowsHaveCells()
    {
        QFETCH(qreal, offset);
        QFETCH(int, firstRow);
        QFETCH(int, lastRow);
        Rows rows;
        for (int i = 0; i < 100; ++i)
            rows.values.append(i);
        ui::TableView table(QRectF(0, 0, 320, 568));
        table.setDataSource(&rows);
        table.setDelegate(&rows);
        table.reloadData();
        QCOMPARE(table.contentSize(), QSizeF(320, 4400));
        table.setContentOffset(QPointF(0, offset));
        const QList<ui::IndexPath> visible = table.indexPathsForVisibleRows();
        QCOMPARE(visible.size(), lastRow - firstRow + 1);
        QCOMPARE(visible.first().row, firstRow);
        QCOMPARE(visible.last().row, lastRow);
        QCOMPARE(table.cellForRowAtIndexPath({0, firstRow})->frame(),
                 QRectF(0, 44.0 * firstRow, 320, 44));
        QCOMPARE(table.cellForRowAtIndexPath({0, lastRow + 1}), nullptr);
        // No more cell widgets than one screenful ever needed.
        QVERIFY(rows.created <= 14);
        QCOMPARE(cellChildren(table), rows.created);
    }

    void scrollingReusesCells()
    {
        Rows rows;
        for (int i = 0; i < 100; ++i)
            rows.values.append(i);
        ui::TableView table(QRectF(0, 0, 320, 568));
        table.setDataSource(&rows);
        table.reloadData();
        const int first = rows.created;
        for (int step = 1; step <= 200; ++step)
            table.setContentOffset(QPointF(0, step * 17.0));
        QVERIFY(rows.created <= first + 1);
        QCOMPARE(shownValues(table).first(), int(table.contentOffset().y() / 44));
        // Every shown cell carries the tag of its row.
        for (const ui::IndexPath &path : table.indexPathsForVisibleRows())
            QCOMPARE(table.cellForRowAtIndexPath(path)->tag(), path.row + 1);
    }

    void reloadWithFewerRows()
    {
        Rows rows;
        for (int i = 0; i < 100; ++i)
            rows.values.append(i);
        ui::TableView table(QRectF(0, 0, 320, 568));
        table.setDataSource(&rows);
        table.reloadData();
        table.setContentOffset(QPointF(0, 3000));
        rows.values = {7, 8, 9};
        table.reloadData();
        QCOMPARE(table.numberOfRowsInSection(0), 3);
        QCOMPARE(table.contentSize().height(), 132.0);
        QCOMPARE(table.contentOffset(), QPointF(0, 0));
        QCOMPARE(shownValues(table), QList<int>({7, 8, 9}));
        QCOMPARE(table.visibleCells().size(), 3);
        // The surplus cells wait hidden in the pool.
        QVERIFY(table.pooledCellCount() >= 10);
        for (ui::TableViewCell *cell : table.visibleCells())
            QVERIFY(cell->isVisibleTo(&table));
    }

    void dequeueWithIndexPathUsesRegisteredClass()
    {
        CountingCell::made = 0;
        Rows rows;
        rows.values = {1, 2, 3};
        rows.useIndexPathDequeue = true;
        ui::TableView table(QRectF(0, 0, 320, 568));
        table.registerClass<CountingCell>(kCellId);
        table.setDataSource(&rows);
        table.reloadData();
        QCOMPARE(CountingCell::made, 3);
        QCOMPARE(rows.created, 0);
        QVERIFY(dynamic_cast<CountingCell *>(table.cellForRowAtIndexPath({0, 2})));
        // Unregistered identifiers still give a cell, never null.
        QVERIFY(table.dequeueReusableCellWithIdentifier(u"Other"_s, {0, 0}) != nullptr);
        QCOMPARE(table.dequeueReusableCellWithIdentifier(u"Other"_s), nullptr);
    }

    void rowHeightsFromDelegateAndFooter()
    {
        class Tall final : public ui::TableViewDelegate
        {
        public:
            qreal heightForRowAtIndexPath(ui::TableView *, const ui::IndexPath &path) override
            {
                return path.row == 1 ? 100 : 40;
            }
        } tall;
        Rows rows;
        rows.values = {1, 2, 3};
        ui::TableView table(QRectF(0, 0, 320, 400));
        table.setDataSource(&rows);
        table.setDelegate(&tall);
        table.setTableFooterView(new ui::View(QRectF(0, 0, 320, 5)));
        table.reloadData();
        QCOMPARE(table.rectForRowAtIndexPath({0, 2}), QRectF(0, 140, 320, 40));
        QCOMPARE(table.contentSize().height(), 185.0);
        QCOMPARE(table.tableFooterView()->frame(), QRectF(0, 180, 320, 5));
        QCOMPARE(table.indexPathForRowAtPoint({10, 139})->row, 1);
    }

    void swipeToDeleteCommitsTheRightRow_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QList<int>>("remaining");
        QTest::newRow("first") << 0 << QList<int>({11, 12});
        QTest::newRow("middle") << 1 << QList<int>({10, 12});
        QTest::newRow("last") << 2 << QList<int>({10, 11});
    }
    void swipeToDeleteCommitsTheRightRow()
    {
        QFETCH(int, row);
        QFETCH(QList<int>, remaining);
        Rows rows;
        rows.values = {10, 11, 12};
        rows.editable = {0, 1, 2};
        ui::TableView table(QRectF(0, 0, 320, 568));
        table.setDataSource(&rows);
        table.reloadData();
        QVERIFY(table.beginSwipeToDelete({0, row}));
        QVERIFY(table.isEditing());
        ui::Button *button = table.deleteConfirmationButton();
        QVERIFY(!button->isHidden());
        QCOMPARE(button->currentTitle(), u"删除"_s);
        QVERIFY(table.rectForRowAtIndexPath({0, row}).contains(button->frame().center()));
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
        QCOMPARE(rows.committed, QList<int>({row}));
        QCOMPARE(table.numberOfRowsInSection(0), 2);
        QCOMPARE(shownValues(table), remaining);
        QVERIFY(!table.isEditing());
        QVERIFY(button->isHidden());
        QCOMPARE(table.cellForRowAtIndexPath({0, 1})->frame().top(), 44.0);
    }

    void swipeGestureOnlyOnEditableRows_data()
    {
        QTest::addColumn<int>("dx");
        QTest::addColumn<bool>("editable");
        QTest::addColumn<bool>("shown");
        QTest::newRow("left, editable") << -80 << true << true;
        QTest::newRow("right, editable") << 80 << true << true;
        QTest::newRow("left, not editable") << -80 << false << false;
        QTest::newRow("too short") << -10 << true << false;
    }
    void swipeGestureOnlyOnEditableRows()
    {
        QFETCH(int, dx);
        QFETCH(bool, editable);
        QFETCH(bool, shown);
        Rows rows;
        rows.values = {10, 11, 12};
        if (editable)
            rows.editable = {1};
        ui::TableView table(QRectF(0, 0, 320, 568));
        table.setDataSource(&rows);
        table.setDelegate(&rows);
        table.reloadData();
        const QPoint start(160, 44 + 22);
        QTest::mousePress(&table, Qt::LeftButton, {}, start);
        QTest::mouseMove(&table, start + QPoint(dx / 2, 0));
        QTest::mouseMove(&table, start + QPoint(dx, 0));
        QTest::mouseRelease(&table, Qt::LeftButton, {}, start + QPoint(dx, 0));
        QCOMPARE(table.swipedIndexPath().has_value(), shown);
        if (shown)
            QCOMPARE(table.swipedIndexPath()->row, 1);
        // A swipe selects nothing; only a short move counts as a tap.
        QCOMPARE(rows.selected.isEmpty(), dx != -10);
        QVERIFY(rows.committed.isEmpty());
    }

    void deleteWithMismatchedCountReloads()
    {
        Rows rows;
        rows.values = {1, 2, 3, 4};
        ui::TableView table(QRectF(0, 0, 320, 568));
        table.setDataSource(&rows);
        table.reloadData();
        rows.values = {1};
        table.deleteRowsAtIndexPaths({{0, 0}}, ui::TableViewRowAnimation::None);
        QCOMPARE(table.numberOfRowsInSection(0), 1);
        QCOMPARE(shownValues(table), QList<int>({1}));
    }

    void tapSelectsUnlessRefused()
    {
        Rows rows;
        rows.values = {1, 2, 3};
        rows.refuseSelection = 2;
        ui::TableView table(QRectF(0, 0, 320, 568));
        table.setDataSource(&rows);
        table.setDelegate(&rows);
        table.reloadData();
        QTest::mouseClick(table.cellForRowAtIndexPath({0, 1}), Qt::LeftButton, {}, QPoint(100, 20));
        QCOMPARE(rows.selected, QList<int>({1}));
        QCOMPARE(table.indexPathForSelectedRow()->row, 1);
        QVERIFY(table.cellForRowAtIndexPath({0, 1})->isSelected());
        table.tapRowAtIndexPath({0, 2});
        QCOMPARE(rows.selected, QList<int>({1}));
        table.deselectRowAtIndexPath({0, 1}, true);
        QVERIFY(!table.indexPathForSelectedRow());
        QVERIFY(!table.cellForRowAtIndexPath({0, 1})->isSelected());
    }

    void loadsByItselfOnceTheDataSourceIsSet()
    {
        Rows rows;
        rows.values = {1, 2};
        ui::TableView table(QRectF(0, 0, 320, 568));
        table.setDataSource(&rows);
        QTRY_COMPARE(table.visibleCells().size(), 2);
    }
};

QTEST_MAIN(TestTableView)
#include "tst_tableview.moc"
