// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/animation.h"
#include "toolkit/collectionview.h"

#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{
class Grid final : public ui::CollectionViewDataSource, public ui::CollectionViewDelegate
{
public:
    int count = 5;
    QList<int> selected;
    int numberOfItemsInSection(ui::CollectionView *, int) override { return count; }
    ui::CollectionViewCell *cellForItemAtIndexPath(ui::CollectionView *view,
                                                   const ui::IndexPath &path) override
    {
        auto *cell = view->dequeueReusableCellWithReuseIdentifier(u"ReusableCell"_s, path);
        cell->setTag(path.row);
        return cell;
    }
    void didSelectItemAtIndexPath(ui::CollectionView *, const ui::IndexPath &path) override
    {
        selected.append(path.row);
    }
    std::optional<QSizeF> sizeForItemAtIndexPath(ui::CollectionView *,
                                                 const ui::IndexPath &) override
    {
        return QSizeF(73, 100);
    }
    std::optional<ui::EdgeInsets> insetForSectionAtIndex(ui::CollectionView *, int) override
    {
        return ui::EdgeInsets{15, 20, 10, 20};
    }
    std::optional<qreal> minimumLineSpacingForSectionAtIndex(ui::CollectionView *, int) override
    {
        return 10;
    }
    std::optional<qreal> minimumInteritemSpacingForSectionAtIndex(ui::CollectionView *,
                                                                  int) override
    {
        return 20;
    }
};
} // namespace

class TestCollectionView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        ui::Animation::setDisabledForTests(true);
    }

    void flowLayoutPlacesItems_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<QRectF>("frame");
        // 3 per row in 280 points: the 61 points left over go between the items.
        QTest::newRow("first") << 0 << QRectF(20, 15, 73, 100);
        QTest::newRow("second") << 1 << QRectF(123.5, 15, 73, 100);
        QTest::newRow("third") << 2 << QRectF(227, 15, 73, 100);
        QTest::newRow("next row") << 3 << QRectF(20, 125, 73, 100);
        QTest::newRow("fifth") << 4 << QRectF(123.5, 125, 73, 100);
    }
    void flowLayoutPlacesItems()
    {
        QFETCH(int, item);
        QFETCH(QRectF, frame);
        Grid grid;
        ui::CollectionView view(QRectF(0, 0, 320, 300));
        view.registerClass<ui::CollectionViewCell>(u"ReusableCell"_s);
        view.setDataSource(&grid);
        view.setDelegate(&grid);
        view.reloadData();
        QCOMPARE(view.numberOfItemsInSection(0), 5);
        QCOMPARE(view.cellForItemAtIndexPath({0, item})->frame(), frame);
        QCOMPARE(view.contentSize(), QSizeF(320, 15 + 210 + 10));
    }

    void tapSelectsAndReloadReuses()
    {
        Grid grid;
        ui::CollectionView view(QRectF(0, 0, 320, 300));
        view.registerClass<ui::CollectionViewCell>(u"ReusableCell"_s);
        view.setDataSource(&grid);
        view.setDelegate(&grid);
        view.reloadData();
        const QList<ui::CollectionViewCell *> before = view.visibleCells();
        ui::CollectionViewCell *fourth = view.cellForItemAtIndexPath({0, 3});
        QTest::mouseClick(fourth, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(grid.selected, QList<int>({3}));
        QVERIFY(fourth->isSelected());
        grid.count = 2;
        view.reloadData();
        QCOMPARE(view.visibleCells().size(), 2);
        for (ui::CollectionViewCell *cell : view.visibleCells()) {
            QVERIFY(before.contains(cell)); // taken from the pool, not made anew
            QVERIFY(!cell->isSelected());
        }
        QCOMPARE(view.cellForItemAtIndexPath({0, 1})->tag(), 1);
        QCOMPARE(view.contentView()->findChildren<ui::CollectionViewCell *>().size(), 5);
    }
};

QTEST_MAIN(TestCollectionView)
#include "tst_collectionview.moc"
