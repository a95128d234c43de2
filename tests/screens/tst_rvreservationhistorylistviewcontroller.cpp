// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "bookingtestservice.h"
#include "components/ztprogresshud.h"
#include "models/rvbookingstore.h"
#include "protocols/rvuserinfo.h"
#include "screenfixture.h"
#include "screens/booking/rvreservationhistorylistviewcontroller.h"
#include "toolkit/alertview.h"
#include "toolkit/label.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/navigationitem.h"
#include "toolkit/storyboard.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewcell.h"

#include <QJsonArray>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{
QJsonObject booking(int n, const QJsonValue &yyzt = u"0"_s)
{
    QJsonObject b{{u"yylsh"_s, u"L%1"_s.arg(n)},
                  {u"yymc"_s, u"医院%1"_s.arg(n)},
                  {u"bzksmc"_s, u"科室%1"_s.arg(n)},
                  {u"ysmc"_s, u"医生%1"_s.arg(n)},
                  {u"yysj"_s, u"2026-05-%1 08:30:00"_s.arg(10 + n)},
                  {u"fzxh"_s, QString::number(n)}};
    if (!yyzt.isUndefined())
        b.insert(u"yyzt"_s, yyzt);
    return b;
}

QStringList textsOf(ui::TableViewCell *cell)
{
    QStringList texts;
    for (ui::View *view : cell->contentView()->subviews()) {
        auto *label = qobject_cast<ui::Label *>(view);
        if (label != nullptr && label != cell->textLabel() && label != cell->detailTextLabel())
            texts.append(label->text());
    }
    return texts;
}

QStringList expectedTexts(const QJsonObject &b, bool hint)
{
    QStringList texts{u"预约医院  :"_s,          b[u"yymc"_s].toString(), u"预约科室  :"_s,
                      b[u"bzksmc"_s].toString(), u"预约医生  :"_s,        b[u"ysmc"_s].toString(),
                      u"预约时间  :"_s,          b[u"yysj"_s].toString(), u"分诊序号  :"_s,
                      b[u"fzxh"_s].toString()};
    texts.append(hint ? u"提示:右移本信息可取消预约"_s : u"已取消"_s);
    return texts;
}
} // namespace

class TestRVReservationHistoryListViewController : public QObject
{
    Q_OBJECT

private:
    QJsonArray m_bookings;

    void serve(BookingTestService &service, bool cancelAccepted = true)
    {
        service.answer(u"C002"_s, [this](const QJsonObject &) {
            return BookingTestService::reply(true, u"查询成功"_s, &m_bookings);
        });
        service.answer(u"C005"_s, [cancelAccepted](const QJsonObject &) {
            return cancelAccepted ? BookingTestService::reply(true, u"取消预约成功"_s)
                                  : BookingTestService::reply(false, u"该预约已就诊，不能取消"_s);
        });
    }
    RVReservationHistoryListViewController *open(ScreenFixture &app)
    {
        RVUserInfo user;
        user.setYhm(u"li"_s);
        user.setYhid(u"7"_s);
        user.setSjhm(u"13800000000"_s);
        BookingTestService::logIn(user);
        app.launch();
        return push(app);
    }
    static RVReservationHistoryListViewController *push(ScreenFixture &app)
    {
        auto screen = ui::Storyboard::storyboardWithName(u"MainStoryboard"_s)
                          ->instantiateViewControllerWithIdentifier(u"appointMent"_s);
        app.navigation()->pushViewController(screen, false);
        return qobject_cast<RVReservationHistoryListViewController *>(screen.get());
    }
    static QList<QString> shownSerials(RVReservationHistoryListViewController *screen)
    {
        QList<QString> serials;
        for (const RVReservationInfo &b : screen->reservationHistorys())
            serials.append(RVBaseInfo::text(b.yylsh()));
        return serials;
    }

private Q_SLOTS:
    void init()
    {
        ScreenFixture::forgetLogin();
        QVERIFY(RVBookingStore::remove(u"7"_s)); // each case starts with nothing kept
        m_bookings = {};
    }
    void cleanup()
    {
        // Views a reused cell let go are deleted on the next turn of the event loop; give
        // it that turn before the process may end.
        QCoreApplication::sendPostedEvents();
    }

    void loadsForTheSavedUser()
    {
        BookingTestService service;
        serve(service);
        m_bookings = {booking(1), booking(2, u"1"_s)};
        ScreenFixture app;
        RVReservationHistoryListViewController *screen = open(app);
        QVERIFY(screen);
        QTRY_COMPARE(screen->mainTableView()->numberOfRowsInSection(0), 2);
        const QJsonObject asked = service.received(u"C002"_s).first().body;
        QCOMPARE(asked.value(u"yhid"_s).toString(), u"7"_s);
        QCOMPARE(asked.value(u"sjhm"_s).toString(), u"13800000000"_s);
        QCOMPARE(app.navigation()->navigationBar()->displayedTitle(), u"预约纪录"_s);
        QCOMPARE(screen->heightForRowAtIndexPath(screen->mainTableView(), {0, 0}), 100.0);
        QVERIFY(screen->emptyNotice()->isHidden());
    }

    // Without the service the kept bookings stay, with the time of the last list, and none can
    // be cancelled.
    void unreachableServiceLeavesTheKeptBookings()
    {
        BookingTestService service;
        serve(service);
        m_bookings = {booking(1), booking(2)};
        ScreenFixture app;
        RVReservationHistoryListViewController *screen = open(app);
        QVERIFY(screen);
        QTRY_COMPARE(screen->mainTableView()->numberOfRowsInSection(0), 2);
        QVERIFY(screen->offlineLine()->isHidden());
        QVERIFY(screen->canEditRowAtIndexPath(screen->mainTableView(), {0, 0}));
        app.navigation()->popViewControllerAnimated(false);
        service.lose(u"C002"_s, FakeService::Ending::CloseWithoutAnswer);
        screen = push(app);
        QTRY_VERIFY(!screen->offlineLine()->isHidden());
        QVERIFY(screen->offlineLine()->text().startsWith(u"离线：最后更新 "_s));
        QCOMPARE(shownSerials(screen), (QList<QString>{u"L1"_s, u"L2"_s}));
        QVERIFY(!screen->canEditRowAtIndexPath(screen->mainTableView(), {0, 0}));
        QVERIFY(!ScreenFixture::visibleAlert());
        QCOMPARE(app.navigation()->topViewController(), screen);
    }

    void userWithoutBookingsSeesAnEmptyList()
    {
        BookingTestService service;
        serve(service);
        ScreenFixture app;
        RVReservationHistoryListViewController *screen = open(app);
        QVERIFY(screen);
        QTRY_COMPARE(service.received(u"C002"_s).size(), 1);
        QTRY_VERIFY(ZtProgressHUD::allHUDsForView(screen->view()).isEmpty());
        QCOMPARE(screen->mainTableView()->numberOfRowsInSection(0), 0);
        QVERIFY(!screen->emptyNotice()->isHidden());
        QVERIFY(!ScreenFixture::visibleAlert());
        QCOMPARE(app.navigation()->topViewController(), screen);
    }

    void hintAndSwipeOnlyForOpenBookings_data()
    {
        QTest::addColumn<QJsonValue>("yyzt");
        QTest::addColumn<bool>("open");
        QTest::newRow("0 is open") << QJsonValue(u"0"_s) << true;
        QTest::newRow("1 is done") << QJsonValue(u"1"_s) << false;
    }
    void hintAndSwipeOnlyForOpenBookings()
    {
        QFETCH(QJsonValue, yyzt);
        QFETCH(bool, open);
        BookingTestService service;
        serve(service);
        m_bookings = {booking(1, yyzt)};
        ScreenFixture app;
        RVReservationHistoryListViewController *screen = this->open(app);
        QVERIFY(screen);
        QTRY_COMPARE(screen->mainTableView()->numberOfRowsInSection(0), 1);
        ui::TableViewCell *cell = screen->mainTableView()->cellForRowAtIndexPath({0, 0});
        QVERIFY(cell);
        QCOMPARE(textsOf(cell), expectedTexts(m_bookings.at(0).toObject(), open));
        QCOMPARE(screen->mainTableView()->beginSwipeToDelete({0, 0}), open);
        screen->mainTableView()->cancelSwipeToDelete();
    }

    void cancellingRemovesExactlyThatRow()
    {
        BookingTestService service;
        serve(service);
        m_bookings = {booking(1), booking(2), booking(3)};
        ScreenFixture app;
        RVReservationHistoryListViewController *screen = open(app);
        QVERIFY(screen);
        QTRY_COMPARE(screen->mainTableView()->numberOfRowsInSection(0), 3);
        QVERIFY(screen->mainTableView()->beginSwipeToDelete({0, 1}));
        QVERIFY(screen->mainTableView()->confirmDelete());
        QTRY_COMPARE(screen->mainTableView()->numberOfRowsInSection(0), 2);
        QCOMPARE(shownSerials(screen), (QList<QString>{u"L1"_s, u"L3"_s}));
        const QJsonObject sent = service.received(u"C005"_s).first().body;
        QCOMPARE(sent.value(u"yylsh"_s).toString(), u"L2"_s);
        QCOMPARE(sent.value(u"yhid"_s).toString(), u"7"_s);
        QCOMPARE(service.received(u"C002"_s).size(), 1); // no reload
        QCOMPARE(textsOf(screen->mainTableView()->cellForRowAtIndexPath({0, 1})),
                 expectedTexts(m_bookings.at(2).toObject(), true));
        QVERIFY(!screen->mainTableView()->isEditing());
        QVERIFY(!ScreenFixture::visibleAlert());
    }

    void refusedCancelKeepsEveryRow()
    {
        BookingTestService service;
        serve(service, false);
        m_bookings = {booking(1), booking(2), booking(3)};
        ScreenFixture app;
        RVReservationHistoryListViewController *screen = open(app);
        QVERIFY(screen);
        QTRY_COMPARE(screen->mainTableView()->numberOfRowsInSection(0), 3);
        QVERIFY(screen->mainTableView()->beginSwipeToDelete({0, 0}));
        QVERIFY(screen->mainTableView()->confirmDelete());
        QTRY_VERIFY(ScreenFixture::visibleAlert());
        QCOMPARE(ScreenFixture::visibleAlert()->message(), u"该预约已就诊，不能取消"_s);
        QCOMPARE(ScreenFixture::visibleAlert()->title(), QString());
        QCOMPARE(shownSerials(screen), (QList<QString>{u"L1"_s, u"L2"_s, u"L3"_s}));
        QCOMPARE(screen->mainTableView()->numberOfRowsInSection(0), 3);
        QVERIFY(!screen->mainTableView()->swipedIndexPath().has_value());
    }

    void reusedRowsShowOnlyTheirOwnBooking()
    {
        BookingTestService service;
        serve(service);
        for (int n = 1; n <= 14; ++n)
            m_bookings.append(booking(n, n % 2 == 0 ? u"0"_s : u"1"_s));
        ScreenFixture app;
        RVReservationHistoryListViewController *screen = open(app);
        QVERIFY(screen);
        QTRY_COMPARE(screen->mainTableView()->numberOfRowsInSection(0), 14);
        ui::TableView *table = screen->mainTableView();
        for (int row : {13, 0, 7, 13}) {
            table->scrollToRowAtIndexPath({0, row}, false);
            for (const ui::IndexPath &path : table->indexPathsForVisibleRows()) {
                const QJsonObject b = m_bookings.at(path.row).toObject();
                QCOMPARE(textsOf(table->cellForRowAtIndexPath(path)),
                         expectedTexts(b, b[u"yyzt"_s].toString() == u"0"));
            }
        }
        QVERIFY(table->pooledCellCount() + table->visibleCells().size() < 14);
    }

    void failedLoadAlertsAndLeaves()
    {
        BookingTestService service;
        service.answer(u"C002"_s, BookingTestService::reply(false, u"登录已过期"_s));
        ScreenFixture app;
        RVReservationHistoryListViewController *screen = open(app);
        QVERIFY(screen);
        QTRY_VERIFY(ScreenFixture::visibleAlert());
        QCOMPARE(ScreenFixture::visibleAlert()->message(), u"登录已过期"_s);
        QTRY_COMPARE(app.navigation()->viewControllers().size(), 1);
    }

    void lateFailedLoadLeavesTheNewTopAlone()
    {
        BookingTestService service;
        service.answer(u"C002"_s, BookingTestService::reply(false, u"登录已过期"_s));
        service.delay(u"C002"_s, 300);
        ScreenFixture app;
        RVReservationHistoryListViewController *screen = open(app);
        QVERIFY(screen);
        const std::shared_ptr<ui::ViewController> keep = screen->shared_from_this();
        app.navigation()->popViewControllerAnimated(false);
        const auto other = ui::ViewController::create<StandInScreen>(u"other"_s);
        app.navigation()->pushViewController(other, false);
        QTRY_COMPARE(service.received(u"C002"_s).size(), 1);
        // The overlay goes right after the finish has run.
        QTRY_VERIFY(ZtProgressHUD::allHUDsForView(keep->view()).isEmpty());
        QVERIFY(!ScreenFixture::visibleAlert());
        QCOMPARE(app.navigation()->topViewController(), other.get());
    }

    void everyAppearanceLoadsAgain()
    {
        BookingTestService service;
        serve(service);
        m_bookings = {booking(1)};
        ScreenFixture app;
        RVReservationHistoryListViewController *screen = open(app);
        QVERIFY(screen);
        QTRY_COMPARE(screen->mainTableView()->numberOfRowsInSection(0), 1);
        app.navigation()->pushViewController(ui::ViewController::create<StandInScreen>(u"other"_s),
                                             false);
        m_bookings.append(booking(2));
        app.navigation()->popViewControllerAnimated(false);
        QTRY_COMPARE(service.received(u"C002"_s).size(), 2);
        QTRY_COMPARE(screen->mainTableView()->numberOfRowsInSection(0), 2);
    }
};

QTEST_MAIN(TestRVReservationHistoryListViewController)
#include "tst_rvreservationhistorylistviewcontroller.moc"
