// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/activityindicatorview.h"
#include "toolkit/button.h"
#include "toolkit/searchbar.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewcell.h"

#include <QPointer>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{

enum class Part { DeleteButton, CancelButton, Indicator, PlainHidden, PlainShown };

// Builds the view that holds the part, still without a parent, and returns the part.
ui::View *makePart(Part part, std::unique_ptr<ui::View> &holder)
{
    switch (part) {
    case Part::DeleteButton: {
        auto *table = new ui::TableView(QRectF(0, 0, 320, 400));
        holder.reset(table);
        return table->deleteConfirmationButton();
    }
    case Part::CancelButton: {
        auto *bar = new ui::SearchBar(QRectF(0, 0, 320, 44));
        holder.reset(bar);
        return bar->cancelButton();
    }
    case Part::Indicator:
    case Part::PlainHidden:
    case Part::PlainShown: {
        ui::View *view = part == Part::Indicator
                             ? new ui::ActivityIndicatorView(ui::ActivityIndicatorViewStyle::Gray)
                             : new ui::View(QRectF(0, 0, 40, 40));
        if (part == Part::PlainHidden)
            view->setHidden(true);
        holder.reset(view);
        return view;
    }
    }
    return nullptr;
}

} // namespace

Q_DECLARE_METATYPE(Part)

class TestView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void hiddenBeforeAttachingStaysHidden_data()
    {
        QTest::addColumn<Part>("part");
        QTest::addColumn<bool>("showFirst");
        QTest::addColumn<bool>("visible");
        QTest::newRow("table delete button, window shown after")
            << Part::DeleteButton << false << false;
        QTest::newRow("table delete button, window shown before")
            << Part::DeleteButton << true << false;
        QTest::newRow("search bar cancel button") << Part::CancelButton << false << false;
        QTest::newRow("activity indicator not animating") << Part::Indicator << false << false;
        QTest::newRow("view hidden by the caller") << Part::PlainHidden << false << false;
        QTest::newRow("view hidden, window shown before") << Part::PlainHidden << true << false;
        QTest::newRow("view never hidden is shown") << Part::PlainShown << false << true;
        QTest::newRow("view never hidden, window shown before") << Part::PlainShown << true << true;
    }
    void hiddenBeforeAttachingStaysHidden()
    {
        QFETCH(Part, part);
        QFETCH(bool, showFirst);
        QFETCH(bool, visible);
        ui::View window(QRectF(0, 0, 320, 568));
        if (showFirst)
            window.show();
        std::unique_ptr<ui::View> holder;
        ui::View *target = makePart(part, holder);
        window.addSubview(holder.release());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(target->QWidget::isVisible(), visible);
        QCOMPARE(target->isHidden(), !visible);
        // And it still appears when asked to.
        target->setHidden(false);
        QVERIFY(target->QWidget::isVisible());
    }

    void removedViewIsReleasedUnlessAddedAgain_data()
    {
        QTest::addColumn<bool>("addedAgain");
        QTest::newRow("released") << false;
        QTest::newRow("added to another view in the same turn") << true;
    }
    void removedViewIsReleasedUnlessAddedAgain()
    {
        QFETCH(bool, addedAgain);
        ui::View first(QRectF(0, 0, 100, 100));
        ui::View second(QRectF(0, 0, 100, 100));
        auto *child = new ui::View(QRectF(0, 0, 10, 10));
        QPointer<ui::View> watch(child);
        first.addSubview(child);
        child->removeFromSuperview();
        QVERIFY(first.subviews().isEmpty());
        QCOMPARE(child->superview(), nullptr);
        if (addedAgain)
            second.addSubview(child);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(!watch.isNull(), addedAgain);
        if (addedAgain)
            QCOMPARE(second.subviews(), QList<ui::View *>{child});
    }

    void subviewOrderFollowsInsertion()
    {
        ui::View parent(QRectF(0, 0, 100, 100));
        auto *a = new ui::View;
        auto *b = new ui::View;
        auto *c = new ui::View;
        parent.addSubview(a);
        parent.addSubview(b);
        parent.insertSubviewAtIndex(c, 0);
        QCOMPARE(parent.subviews(), (QList<ui::View *>{c, a, b}));
        parent.bringSubviewToFront(c);
        QCOMPARE(parent.subviews(), (QList<ui::View *>{a, b, c}));
        parent.sendSubviewToBack(b);
        QCOMPARE(parent.subviews(), (QList<ui::View *>{b, a, c}));
        // A view that is not a subview is left alone.
        ui::View stranger;
        parent.bringSubviewToFront(&stranger);
        QCOMPARE(parent.subviews().size(), 3);
    }
};

QTEST_MAIN(TestView)
#include "tst_view.moc"
