// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "components/pvxrefreshtableheaderdelegate.h"
#include "components/pvxrefreshtableheaderview.h"

#include "platform/userdefaults.h"
#include "toolkit/activityindicatorview.h"
#include "toolkit/animation.h"
#include "toolkit/imageview.h"
#include "toolkit/label.h"
#include "toolkit/scrollview.h"
#include "toolkit/scrollviewdelegate.h"

#include <QStandardPaths>
#include <QTest>

#include <memory>
#include <numbers>

using namespace Qt::StringLiterals;

namespace
{

constexpr qreal kContentHeight = 760; // eight rows of 95 points
constexpr qreal kViewHeight = 480;
constexpr qreal kMaxOffset = kContentHeight - kViewHeight;

// A list owner wired as the doctor list wires itself: it forwards the scroll view's events
// to the header and starts "loading" when the header triggers.
class Owner : public ui::ScrollViewDelegate, public PvxRefreshTableHeaderDelegate
{
public:
    void scrollViewDidScroll(ui::ScrollView *scrollView) override
    {
        header->pvxRefreshScrollViewDidScroll(scrollView);
    }
    void scrollViewDidEndDragging(ui::ScrollView *scrollView, bool) override
    {
        header->pvxRefreshScrollViewDidEndDragging(scrollView);
    }
    void pvxRefreshTableHeaderDidTriggerRefresh(PvxRefreshTableHeaderView *) override
    {
        ++triggers;
        loading = true;
    }
    bool pvxRefreshTableHeaderDataSourceIsLoading(PvxRefreshTableHeaderView *) override
    {
        return loading;
    }

    PvxRefreshTableHeaderView *header = nullptr;
    int triggers = 0;
    bool loading = false;
};

class DatedOwner : public Owner
{
public:
    std::optional<QDateTime>
    pvxRefreshTableHeaderDataSourceLastUpdated(PvxRefreshTableHeaderView *) override
    {
        return date;
    }
    QDateTime date;
};

} // namespace

class TestPvxRefreshTableHeaderView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void thresholds_data();
    void thresholds();
    void loadingOwnerBlocksPullAndTrigger();
    void pullingFollowsTheDrag();
    void insetHeldWhileLoadingAndClosedAfter();
    void lastUpdatedText_data();
    void lastUpdatedText();
    void noDateOperationLeavesLineEmpty();
    void animatedTransitionsReachTheirEnds();
    void restingOffsetKeepsTheLoadingHeaderInSight_data();
    void restingOffsetKeepsTheLoadingHeaderInSight();
    void goneOwnerIsNotAsked();

private:
    // The finger's offset that gives this overshoot past the end, through the edge's
    // half-speed resistance.
    static qreal fingerFor(qreal overshoot) { return kMaxOffset + 2 * overshoot; }
    qreal overshoot() const
    {
        return m_scroll->contentOffset().y() + m_scroll->frame().height() -
               m_scroll->contentSize().height();
    }
    void attach(Owner *owner);

    std::unique_ptr<ui::ScrollView> m_scroll;
    PvxRefreshTableHeaderView *m_header = nullptr;
    std::unique_ptr<Owner> m_owner;
};

void TestPvxRefreshTableHeaderView::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    ui::Animation::setDisabledForTests(true);
}

void TestPvxRefreshTableHeaderView::init()
{
    m_scroll = std::make_unique<ui::ScrollView>(QRectF(0, 0, 320, kViewHeight));
    m_scroll->setContentSize(QSizeF(320, kContentHeight));
    m_header = new PvxRefreshTableHeaderView(QRectF(0, kContentHeight, 320, 480));
    m_scroll->addSubview(m_header);
    attach(new Owner);
}

void TestPvxRefreshTableHeaderView::attach(Owner *owner)
{
    m_owner.reset(owner);
    m_owner->header = m_header;
    m_header->setDelegate(owner);
    m_scroll->setDelegate(owner);
}

void TestPvxRefreshTableHeaderView::cleanup()
{
    m_scroll.reset();
    m_owner.reset();
    ui::Animation::setDisabledForTests(true);
}

void TestPvxRefreshTableHeaderView::thresholds_data()
{
    QTest::addColumn<qreal>("pull");
    QTest::addColumn<bool>("arms");

    QTest::newRow("short of the threshold") << 40.0 << false;
    QTest::newRow("exactly 65") << 65.0 << false;
    QTest::newRow("65.5") << 65.5 << true;
    QTest::newRow("far past") << 150.0 << true;
}

void TestPvxRefreshTableHeaderView::thresholds()
{
    QFETCH(qreal, pull);
    QFETCH(bool, arms);

    QCOMPARE(m_header->state(), PvxRefreshHeaderNormal);
    m_scroll->beginDragging();
    m_scroll->dragTo(QPointF(0, fingerFor(pull)));
    QCOMPARE(overshoot(), pull);
    QCOMPARE(m_header->state(), arms ? PvxRefreshHeaderPulling : PvxRefreshHeaderNormal);

    m_scroll->endDragging();
    QCOMPARE(m_owner->triggers, arms ? 1 : 0);
    QCOMPARE(m_header->state(), arms ? PvxRefreshHeaderLoading : PvxRefreshHeaderNormal);
    QCOMPARE(m_scroll->contentInset().bottom, arms ? 65.0 : 0.0);
}

void TestPvxRefreshTableHeaderView::loadingOwnerBlocksPullAndTrigger()
{
    m_owner->loading = true;
    m_scroll->beginDragging();
    m_scroll->dragTo(QPointF(0, fingerFor(120)));
    QCOMPARE(m_header->state(), PvxRefreshHeaderNormal);
    m_scroll->endDragging();
    QCOMPARE(m_owner->triggers, 0);
    QCOMPARE(m_header->state(), PvxRefreshHeaderNormal);

    // Once the owner is idle again the same gesture triggers.
    m_owner->loading = false;
    m_scroll->beginDragging();
    m_scroll->dragTo(QPointF(0, fingerFor(120)));
    m_scroll->endDragging();
    QCOMPARE(m_owner->triggers, 1);
}

void TestPvxRefreshTableHeaderView::pullingFollowsTheDrag()
{
    const qreal halfTurn = std::numbers::pi;
    QCOMPARE(m_header->statusLabel()->text(), u"上拉即可更新..."_s);
    QCOMPARE(m_header->arrowImage()->rotation(), 0.0);
    QVERIFY(!m_header->arrowImage()->image().isNull()); // the picture, or the drawn arrow

    m_scroll->beginDragging();
    m_scroll->dragTo(QPointF(0, fingerFor(100)));
    QCOMPARE(m_header->state(), PvxRefreshHeaderPulling);
    QCOMPARE(m_header->statusLabel()->text(), u"松开即可更新..."_s);
    QCOMPARE(m_header->arrowImage()->rotation(), halfTurn);

    // Back to exactly 65 is not under the threshold: still pulling.
    m_scroll->dragTo(QPointF(0, fingerFor(65)));
    QCOMPARE(m_header->state(), PvxRefreshHeaderPulling);
    m_scroll->endDragging();
    QCOMPARE(m_owner->triggers, 0);
    QCOMPARE(m_header->state(), PvxRefreshHeaderPulling);

    // The next drag that comes back under the threshold returns to normal.
    m_scroll->beginDragging();
    m_scroll->dragTo(QPointF(0, fingerFor(30)));
    QCOMPARE(m_header->state(), PvxRefreshHeaderNormal);
    QCOMPARE(m_header->statusLabel()->text(), u"上拉即可更新..."_s);
    QCOMPARE(m_header->arrowImage()->rotation(), 0.0);
    m_scroll->endDragging();
}

void TestPvxRefreshTableHeaderView::insetHeldWhileLoadingAndClosedAfter()
{
    m_scroll->beginDragging();
    m_scroll->dragTo(QPointF(0, fingerFor(80)));
    m_scroll->endDragging();
    QCOMPARE(m_header->state(), PvxRefreshHeaderLoading);
    QCOMPARE(m_header->statusLabel()->text(), u"加载中..."_s);
    QVERIFY(m_header->activityView()->isAnimating());
    QVERIFY(m_header->arrowImage()->isHidden());

    // A drag while loading keeps the header in sight; the normal state would drop the inset.
    m_scroll->beginDragging();
    m_scroll->dragTo(QPointF(0, 100));
    QCOMPARE(m_scroll->contentInset(), (ui::EdgeInsets{0, 0, 65, 0}));
    m_scroll->dragTo(QPointF(0, fingerFor(150)));
    m_scroll->endDragging();
    QCOMPARE(m_owner->triggers, 1); // the owner is loading: no second trigger

    m_owner->loading = false;
    m_header->pvxRefreshScrollViewDataSourceDidFinishedLoading(m_scroll.get());
    QCOMPARE(m_scroll->contentInset(), ui::EdgeInsets{});
    QCOMPARE(m_header->state(), PvxRefreshHeaderNormal);
    QVERIFY(!m_header->activityView()->isAnimating());
    QVERIFY(!m_header->arrowImage()->isHidden());
    QCOMPARE(m_header->arrowImage()->rotation(), 0.0);
}

void TestPvxRefreshTableHeaderView::lastUpdatedText_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("expected");

    QTest::newRow("afternoon") << QTime(15, 20) << u"最后更新: 2013/05/07 03:20:下午"_s;
    QTest::newRow("noon") << QTime(12, 5) << u"最后更新: 2013/05/07 12:05:下午"_s;
    QTest::newRow("midnight") << QTime(0, 30) << u"最后更新: 2013/05/07 12:30:上午"_s;
    QTest::newRow("late morning") << QTime(11, 59) << u"最后更新: 2013/05/07 11:59:上午"_s;
}

void TestPvxRefreshTableHeaderView::lastUpdatedText()
{
    QFETCH(QTime, time);
    QFETCH(QString, expected);

    auto &defaults = platform::UserDefaults::standardUserDefaults();
    defaults.removeObjectForKey(PvxRefreshTableHeaderView::kLastRefreshKey);
    auto *owner = new DatedOwner;
    owner->date = QDateTime(QDate(2013, 5, 7), time);
    attach(owner);
    // The delegate came after creation: nothing shown until the next return to normal.
    QCOMPARE(m_header->lastUpdatedLabel()->text(), QString());

    m_scroll->beginDragging();
    m_scroll->dragTo(QPointF(0, fingerFor(90)));
    m_scroll->endDragging();
    QCOMPARE(m_header->lastUpdatedLabel()->text(), QString());
    m_header->pvxRefreshScrollViewDataSourceDidFinishedLoading(m_scroll.get());

    QCOMPARE(m_header->lastUpdatedLabel()->text(), expected);
    QCOMPARE(defaults.objectForKey(u"PvxRefreshTableView_LastRefresh"_s).toString(), expected);
    // Written through to the file at once.
    defaults.reload();
    QCOMPARE(defaults.objectForKey(u"PvxRefreshTableView_LastRefresh"_s).toString(), expected);
}

void TestPvxRefreshTableHeaderView::noDateOperationLeavesLineEmpty()
{
    auto &defaults = platform::UserDefaults::standardUserDefaults();
    defaults.removeObjectForKey(PvxRefreshTableHeaderView::kLastRefreshKey);
    m_scroll->beginDragging();
    m_scroll->dragTo(QPointF(0, fingerFor(90)));
    m_scroll->dragTo(QPointF(0, fingerFor(10)));
    m_scroll->endDragging();
    m_header->pvxRefreshScrollViewDataSourceDidFinishedLoading(m_scroll.get());
    QCOMPARE(m_header->lastUpdatedLabel()->text(), QString());
    QVERIFY(defaults.objectForKey(PvxRefreshTableHeaderView::kLastRefreshKey).isUndefined());
}

void TestPvxRefreshTableHeaderView::animatedTransitionsReachTheirEnds()
{
    ui::Animation::setDisabledForTests(false);
    m_scroll->beginDragging();
    m_scroll->dragTo(QPointF(0, fingerFor(100)));
    QTRY_COMPARE(m_header->arrowImage()->rotation(), std::numbers::pi);
    m_scroll->dragTo(QPointF(0, fingerFor(20)));
    QTRY_COMPARE(m_header->arrowImage()->rotation(), 0.0);
    m_scroll->dragTo(QPointF(0, fingerFor(100)));
    m_scroll->endDragging();
    QCOMPARE(m_header->state(), PvxRefreshHeaderLoading);
    QTRY_COMPARE(m_scroll->contentInset().bottom, 65.0);

    m_header->pvxRefreshScrollViewDataSourceDidFinishedLoading(m_scroll.get());
    QCOMPARE(m_header->state(), PvxRefreshHeaderNormal);
    QTRY_COMPARE(m_scroll->contentInset(), ui::EdgeInsets{});
}

void TestPvxRefreshTableHeaderView::restingOffsetKeepsTheLoadingHeaderInSight_data()
{
    QTest::addColumn<bool>("animated");
    QTest::addColumn<qreal>("pull");
    QTest::addColumn<qreal>("restsAt");

    // Loading: the content rests 65 points past its end, the header's status in sight.
    QTest::newRow("armed, at once") << false << 100.0 << kMaxOffset + 65;
    QTest::newRow("armed, animated") << true << 100.0 << kMaxOffset + 65;
    QTest::newRow("armed just past the threshold, animated") << true << 66.0 << kMaxOffset + 65;
    // Not armed: back to the end of the content.
    QTest::newRow("short pull, at once") << false << 40.0 << kMaxOffset;
    QTest::newRow("short pull, animated") << true << 40.0 << kMaxOffset;
}

void TestPvxRefreshTableHeaderView::restingOffsetKeepsTheLoadingHeaderInSight()
{
    QFETCH(bool, animated);
    QFETCH(qreal, pull);
    QFETCH(qreal, restsAt);

    ui::Animation::setDisabledForTests(!animated);
    m_scroll->beginDragging();
    m_scroll->dragTo(QPointF(0, fingerFor(pull)));
    m_scroll->endDragging();
    QTRY_VERIFY(!m_scroll->isDecelerating());
    QTRY_COMPARE(m_scroll->contentOffset().y(), restsAt);
    // Settled for good: nothing moves it afterwards.
    QTest::qWait(animated ? 100 : 0);
    QCOMPARE(m_scroll->contentOffset().y(), restsAt);
    // The header's top edge is on screen exactly when it is loading.
    const qreal headerTopOnScreen = kContentHeight - m_scroll->contentOffset().y();
    QCOMPARE(headerTopOnScreen < kViewHeight, m_header->state() == PvxRefreshHeaderLoading);
}

void TestPvxRefreshTableHeaderView::goneOwnerIsNotAsked()
{
    // The header outlives its owner (a list screen that went): the gone owner reads as none.
    m_owner.reset();
    QCOMPARE(m_header->delegate(), nullptr);
    QCOMPARE(m_scroll->delegate(), nullptr);
    m_scroll->beginDragging();
    m_scroll->dragTo(QPointF(0, fingerFor(100)));
    m_header->pvxRefreshScrollViewDidScroll(m_scroll.get());
    m_header->pvxRefreshScrollViewDidEndDragging(m_scroll.get());
    m_scroll->endDragging();
    m_header->refreshLastUpdatedDate();
    QCOMPARE(m_header->state(), PvxRefreshHeaderLoading);
}

QTEST_MAIN(TestPvxRefreshTableHeaderView)
#include "tst_pvxrefreshtableheaderview.moc"
