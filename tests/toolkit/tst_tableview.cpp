// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/animation.h"
#include "toolkit/button.h"
#include "toolkit/label.h"
#include "toolkit/tableview.h"

#include <QImage>
#include <QPointer>
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

// Section header and footer views made by the delegate, as tall as told (or as their frame).
class Sections final : public ui::TableViewDelegate
{
public:
    // Far from the row tags the data source gives its cells.
    static constexpr int kHeaderTag = 1001;
    static constexpr int kFooterTag = 1002;
    qreal headerFrame = 0;
    qreal headerHeight = -1;
    qreal footerFrame = 0;
    qreal footerHeight = -1;
    int made = 0;

    ui::View *viewForHeaderInSection(ui::TableView *, int) override
    {
        return make(headerFrame, kHeaderTag);
    }
    qreal heightForHeaderInSection(ui::TableView *, int) override { return headerHeight; }
    ui::View *viewForFooterInSection(ui::TableView *, int) override
    {
        return make(footerFrame, kFooterTag);
    }
    qreal heightForFooterInSection(ui::TableView *, int) override { return footerHeight; }

private:
    ui::View *make(qreal height, int tag)
    {
        if (height <= 0)
            return nullptr;
        ++made;
        auto *view = new ui::View(QRectF(0, 0, 320, height));
        view->setTag(tag);
        return view;
    }
};

QImage cellPicture(ui::TableViewCell &cell)
{
    return cell.grab().toImage().convertToFormat(QImage::Format_RGB32);
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

    void sectionHeaderAndFooterFrameTheRows_data()
    {
        QTest::addColumn<qreal>("headerFrame");
        QTest::addColumn<qreal>("headerHeight");
        QTest::addColumn<qreal>("footerFrame");
        QTest::addColumn<qreal>("footerHeight");
        QTest::addColumn<qreal>("rowsTop");
        QTest::addColumn<qreal>("footerTop");
        // Three rows of 44 = 132.
        QTest::newRow("none") << 0.0 << -1.0 << 0.0 << -1.0 << 0.0 << -1.0;
        QTest::newRow("header as tall as its frame") << 30.0 << -1.0 << 0.0 << -1.0 << 30.0 << -1.0;
        QTest::newRow("header height from the delegate")
            << 30.0 << 50.0 << 0.0 << -1.0 << 50.0 << -1.0;
        QTest::newRow("height without a view leaves a gap")
            << 0.0 << 20.0 << 0.0 << -1.0 << 20.0 << -1.0;
        QTest::newRow("the 5-point clear footer") << 0.0 << -1.0 << 5.0 << -1.0 << 0.0 << 132.0;
        QTest::newRow("both") << 30.0 << -1.0 << 10.0 << 40.0 << 30.0 << 162.0;
    }
    void sectionHeaderAndFooterFrameTheRows()
    {
        QFETCH(qreal, headerFrame);
        QFETCH(qreal, headerHeight);
        QFETCH(qreal, footerFrame);
        QFETCH(qreal, footerHeight);
        QFETCH(qreal, rowsTop);
        QFETCH(qreal, footerTop);
        Rows rows;
        rows.values = {1, 2, 3};
        Sections sections;
        sections.headerFrame = headerFrame;
        sections.headerHeight = headerHeight;
        sections.footerFrame = footerFrame;
        sections.footerHeight = footerHeight;
        ui::TableView table(QRectF(0, 0, 320, 568));
        table.setDataSource(&rows);
        table.setDelegate(&sections);
        table.reloadData();
        QCOMPARE(table.rectForRowAtIndexPath({0, 0}).top(), rowsTop);
        ui::View *footer = table.viewWithTag(Sections::kFooterTag);
        QCOMPARE(footer != nullptr, footerTop >= 0);
        const qreal footerH = footer ? (footerHeight >= 0 ? footerHeight : footerFrame) : 0;
        if (footer)
            QCOMPARE(footer->frame(), QRectF(0, footerTop, 320, footerH));
        QCOMPARE(table.contentSize().height(), rowsTop + 132 + footerH);
        // A reload asks for new views and lets the old ones go.
        const int madeBefore = sections.made;
        table.reloadData();
        QCOMPARE(sections.made, 2 * madeBefore);
        QCoreApplication::processEvents();
        QCOMPARE(table.contentView()->findChildren<ui::View *>(Qt::FindDirectChildrenOnly).size(),
                 3 + madeBefore + 1 /* the hidden delete button */);
    }

    void selectionStyleDecidesTheLook_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<bool>("lit");
        QTest::newRow("blue") << int(ui::TableViewCellSelectionStyle::Blue) << true;
        QTest::newRow("gray") << int(ui::TableViewCellSelectionStyle::Gray) << true;
        QTest::newRow("none: selected, but looks the same")
            << int(ui::TableViewCellSelectionStyle::None) << false;
    }
    void selectionStyleDecidesTheLook()
    {
        QFETCH(int, style);
        QFETCH(bool, lit);
        ui::TableViewCell cell(ui::TableViewCellStyle::Default, kCellId);
        cell.setFrame(QRectF(0, 0, 320, 44));
        cell.textLabel()->setText(u"挂号"_s);
        cell.setSelectionStyle(ui::TableViewCellSelectionStyle(style));
        const QImage plain = cellPicture(cell);
        cell.setSelected(true);
        QVERIFY(cell.isSelected());
        QCOMPARE(cell.textLabel()->isHighlighted(), lit);
        QCOMPARE(cellPicture(cell) != plain, lit);
        // Reuse clears the selection look.
        cell.prepareForReuse();
        QVERIFY(!cell.isSelected());
        QCOMPARE(cellPicture(cell), plain);
    }

    void accessoryTakesRoomFromTheContent_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QSizeF>("viewSize");
        QTest::addColumn<bool>("narrower");
        QTest::newRow("none") << int(ui::TableViewCellAccessoryType::None) << QSizeF() << false;
        QTest::newRow("disclosure")
            << int(ui::TableViewCellAccessoryType::DisclosureIndicator) << QSizeF() << true;
        QTest::newRow("checkmark")
            << int(ui::TableViewCellAccessoryType::Checkmark) << QSizeF() << true;
        QTest::newRow("a text field as accessory view")
            << int(ui::TableViewCellAccessoryType::None) << QSizeF(280, 31) << true;
    }
    void accessoryTakesRoomFromTheContent()
    {
        QFETCH(int, type);
        QFETCH(QSizeF, viewSize);
        QFETCH(bool, narrower);
        ui::TableViewCell cell(ui::TableViewCellStyle::Default, kCellId);
        cell.setFrame(QRectF(0, 0, 320, 44));
        cell.setAccessoryType(ui::TableViewCellAccessoryType(type));
        if (viewSize.isValid()) {
            auto *accessory = new ui::View(QRectF(QPointF(0, 0), viewSize));
            cell.setAccessoryView(accessory);
            // Right-aligned and centred vertically; a subview of the cell, not of its content.
            QCOMPARE(accessory->superview(), &cell);
            QVERIFY(accessory->frame().right() <= 320);
            QVERIFY(accessory->frame().right() >= 300);
            QCOMPARE(accessory->frame().center().y(), 22.0);
            QVERIFY(accessory->frame().left() >= cell.contentView()->frame().right());
        }
        QCOMPARE(cell.contentView()->frame().width() < 320, narrower);
        QVERIFY(cell.textLabel()->frame().right() <= cell.contentView()->frame().right());
    }

    void reusedCellKeepsWhatWasAddedToIt()
    {
        // A cell handed out again keeps its subviews and tag; the data source decides what
        // to replace, as the screens do with the views they add to a cell.
        Rows rows;
        for (int i = 0; i < 40; ++i)
            rows.values.append(i);
        ui::TableView table(QRectF(0, 0, 320, 200));
        table.setDataSource(&rows);
        table.reloadData();
        ui::TableViewCell *first = table.cellForRowAtIndexPath({0, 0});
        QVERIFY(first);
        auto *extra = new ui::View(QRectF(0, 0, 5, 5));
        extra->setTag(99);
        first->contentView()->addSubview(extra);
        first->setSelected(true);
        table.setContentOffset(QPointF(0, 44 * 20));
        QCOMPARE(table.cellForRowAtIndexPath({0, 0}), nullptr);
        // The cell went back to the pool and came out for a row now in sight.
        QVERIFY(table.visibleCells().contains(first));
        QCOMPARE(first->viewWithTag(99), extra);
        QVERIFY(!first->isSelected());
        QCOMPARE(first->tag(), table.indexPathForCell(first)->row + 1);
        // A removed subview goes once control returns to the event loop.
        QPointer<ui::View> watch(extra);
        extra->removeFromSuperview();
        QCOMPARE(first->viewWithTag(99), nullptr);
        QTRY_VERIFY(!watch);
    }
};

QTEST_MAIN(TestTableView)
#include "tst_tableview.moc"
