// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/animation.h"
#include "toolkit/button.h"
#include "toolkit/scrollview.h"
#include "toolkit/scrollviewdelegate.h"

#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{

class Recorder final : public ui::ScrollViewDelegate
{
public:
    QStringList calls;
    QList<QPointF> offsets;

    void scrollViewDidScroll(ui::ScrollView *view) override
    {
        if (calls.isEmpty() || calls.last() != u"scroll"_s)
            calls.append(u"scroll"_s);
        offsets.append(view->contentOffset());
    }
    void scrollViewWillBeginDragging(ui::ScrollView *) override { calls.append(u"willBegin"_s); }
    void scrollViewDidEndDragging(ui::ScrollView *, bool decelerate) override
    {
        calls.append(decelerate ? u"endDrag+decelerate"_s : u"endDrag"_s);
    }
    void scrollViewDidEndDecelerating(ui::ScrollView *) override { calls.append(u"endDecel"_s); }
    void scrollViewDidEndScrollingAnimation(ui::ScrollView *) override
    {
        calls.append(u"endAnimation"_s);
    }
};

} // namespace

class TestScrollView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        ui::Animation::setDisabledForTests(true);
    }

    void pullDownPastTheTop_data()
    {
        QTest::addColumn<bool>("bounces");
        QTest::addColumn<qreal>("whileDragging");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("bounces") << true << -50.0
                                 << QStringList({u"willBegin"_s, u"scroll"_s,
                                                 u"endDrag+decelerate"_s, u"scroll"_s,
                                                 u"endDecel"_s});
        QTest::newRow("no bounce") << false << 0.0 << QStringList({u"willBegin"_s, u"endDrag"_s});
    }
    void pullDownPastTheTop()
    {
        QFETCH(bool, bounces);
        QFETCH(qreal, whileDragging);
        QFETCH(QStringList, calls);
        ui::ScrollView view(QRectF(0, 0, 320, 400));
        view.setContentSize(QSizeF(320, 1000));
        view.setBounces(bounces);
        Recorder recorder;
        view.setDelegate(&recorder);
        view.beginDragging();
        QVERIFY(view.isDragging());
        view.dragTo(QPointF(0, -100));
        QCOMPARE(view.contentOffset().y(), whileDragging);
        QCOMPARE(view.contentView()->pos().y(), int(-whileDragging));
        view.endDragging();
        QVERIFY(!view.isDragging());
        QVERIFY(!view.isDecelerating());
        QCOMPARE(view.contentOffset(), QPointF(0, 0));
        QCOMPARE(recorder.calls, calls);
    }

    void pullUpPastTheEndRespectsTheInset()
    {
        ui::ScrollView view(QRectF(0, 0, 320, 400));
        view.setContentSize(QSizeF(320, 1000));
        view.dragTo(QPointF(0, 600 + 200));
        QCOMPARE(view.contentOffset().y(), 700.0); // 600 + half of the 200 past the end
        ui::EdgeInsets inset;
        inset.bottom = 65;
        view.setContentInset(inset);
        view.endDragging();
        QCOMPARE(view.contentOffset().y(), 665.0);
    }

    void pagingSnaps_data()
    {
        QTest::addColumn<qreal>("dragTo");
        QTest::addColumn<qreal>("settled");
        QTest::newRow("less than half") << 100.0 << 0.0;
        QTest::newRow("more than half") << 200.0 << 320.0;
        QTest::newRow("second page") << 500.0 << 320.0;
        QTest::newRow("past the last") << 900.0 << 320.0;
        QTest::newRow("before the first") << -90.0 << 0.0;
    }
    void pagingSnaps()
    {
        QFETCH(qreal, dragTo);
        QFETCH(qreal, settled);
        ui::ScrollView strip(QRectF(0, 0, 320, 130));
        strip.setContentSize(QSizeF(640, 130));
        strip.setPagingEnabled(true);
        Recorder recorder;
        strip.setDelegate(&recorder);
        strip.dragTo(QPointF(dragTo, 0));
        strip.endDragging();
        QCOMPARE(strip.contentOffset(), QPointF(settled, 0));
        QCOMPARE(recorder.calls.last(), u"endDecel"_s);
    }

    void mouseDragMovesTheContent()
    {
        ui::ScrollView view(QRectF(0, 0, 320, 400));
        view.setContentSize(QSizeF(320, 1000));
        Recorder recorder;
        view.setDelegate(&recorder);
        QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(100, 300));
        QTest::mouseMove(&view, QPoint(100, 280));
        QTest::mouseMove(&view, QPoint(100, 200));
        QVERIFY(view.isDragging());
        QCOMPARE(view.contentOffset().y(), 80.0);
        QTest::qWait(150); // let the finger rest: no fling
        QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(100, 200));
        QCOMPARE(view.contentOffset().y(), 80.0);
        QCOMPARE(recorder.calls, QStringList({u"willBegin"_s, u"scroll"_s, u"endDrag"_s}));
    }

    void stoppingTheSettlingEndsDeceleration_data()
    {
        QTest::addColumn<QString>("interruption");
        QTest::newRow("offset set at once") << u"set"_s;
        QTest::newRow("offset set animated") << u"animated"_s;
        QTest::newRow("new drag") << u"drag"_s;
    }
    void stoppingTheSettlingEndsDeceleration()
    {
        QFETCH(QString, interruption);
        ui::Animation::setDisabledForTests(false);
        ui::ScrollView view(QRectF(0, 0, 320, 400));
        view.setContentSize(QSizeF(320, 1000));
        view.dragTo(QPointF(0, -120));
        view.endDragging();
        QVERIFY(view.isDecelerating());
        if (interruption == u"set"_s)
            view.setContentOffset(QPointF(0, 200));
        else if (interruption == u"animated"_s)
            view.setContentOffset(QPointF(0, 200), true);
        else
            view.beginDragging();
        QVERIFY(!view.isDecelerating());
        ui::Animation::setDisabledForTests(true);
    }

    // A drag that starts on a button inside the content: a short move stays a tap, a longer
    // one scrolls the content and cancels the button's tracking.
    void dragStartingOnAButton_data()
    {
        QTest::addColumn<int>("moveBy");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<qreal>("offset");
        QTest::addColumn<QStringList>("events");
        QTest::newRow("tap with a tremble")
            << 3 << true << 0.0 << QStringList({u"down"_s, u"upInside"_s});
        QTest::newRow("drag past the threshold")
            << 60 << true << 40.0 << QStringList({u"down"_s, u"cancel"_s});
        QTest::newRow("scrolling off: the button keeps it")
            << 60 << false << 0.0 << QStringList({u"down"_s, u"upOutside"_s});
    }
    void dragStartingOnAButton()
    {
        QFETCH(int, moveBy);
        QFETCH(bool, enabled);
        QFETCH(qreal, offset);
        QFETCH(QStringList, events);
        ui::ScrollView view(QRectF(0, 0, 320, 400));
        view.setContentSize(QSizeF(320, 1000));
        view.setScrollEnabled(enabled);
        auto *button = new ui::Button(ui::ButtonType::Custom, QRectF(10, 100, 300, 45));
        view.addSubview(button);
        QStringList seen;
        const std::pair<ui::ControlEvent, QString> names[] = {
            {ui::ControlEvent::TouchDown, u"down"_s},
            {ui::ControlEvent::TouchUpInside, u"upInside"_s},
            {ui::ControlEvent::TouchUpOutside, u"upOutside"_s},
            {ui::ControlEvent::TouchCancel, u"cancel"_s}};
        for (const auto &[event, name] : names)
            button->addTarget([&seen, name] { seen.append(name); }, event);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));

        // The finger, in the scroll view's coordinates (the button moves under it once the
        // content scrolls); the touch itself stays with the button, where it went down.
        const QPoint start(150, 140);
        auto at = [&](int up) { return button->mapFrom(&view, start - QPoint(0, up)); };
        QTest::mousePress(button, Qt::LeftButton, {}, at(0));
        for (int step = 1; step <= 3; ++step)
            QTest::mouseMove(button, at(moveBy * step / 3));
        QTest::qWait(150); // the finger rests: no fling
        QTest::mouseRelease(button, Qt::LeftButton, {}, at(moveBy));
        QCOMPARE(seen, events);
        QCOMPARE(view.contentOffset().y(), offset);
        QVERIFY(!button->isTracking());
        QVERIFY(!button->isHighlighted());
        QVERIFY(!view.isTracking());
    }

    void scrollRectToVisible_data()
    {
        QTest::addColumn<QRectF>("rect");
        QTest::addColumn<QPointF>("offset");
        QTest::newRow("already visible") << QRectF(0, 0, 320, 130) << QPointF(0, 0);
        QTest::newRow("second page") << QRectF(320, 0, 320, 130) << QPointF(320, 0);
        QTest::newRow("clamped") << QRectF(900, 0, 320, 130) << QPointF(320, 0);
    }
    void scrollRectToVisible()
    {
        QFETCH(QRectF, rect);
        QFETCH(QPointF, offset);
        ui::ScrollView strip(QRectF(0, 0, 320, 130));
        strip.setContentSize(QSizeF(640, 130));
        Recorder recorder;
        strip.setDelegate(&recorder);
        strip.scrollRectToVisible(rect, true);
        QCOMPARE(strip.contentOffset(), offset);
        QCOMPARE(recorder.calls.contains(u"endAnimation"_s), offset != QPointF(0, 0));
    }

    void subviewsLiveInContentCoordinates()
    {
        ui::ScrollView view(QRectF(0, 0, 320, 400));
        view.setContentSize(QSizeF(320, 400));
        auto *footer = new ui::View(QRectF(0, 400, 320, 480));
        view.addSubview(footer);
        QCOMPARE(footer->superview(), &view);
        QVERIFY(view.subviews().contains(footer));
        // The content grows to hold a subview past the content size, so it is not cut off.
        QVERIFY(view.contentView()->height() >= 880);
        view.setContentOffset(QPointF(0, 100));
        QCOMPARE(footer->mapTo(&view, QPoint(0, 0)), QPoint(0, 300));
    }
};

QTEST_MAIN(TestScrollView)
#include "tst_scrollview.moc"
