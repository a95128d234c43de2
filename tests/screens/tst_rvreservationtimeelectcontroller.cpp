// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "bookingtestservice.h"
#include "components/ztprogresshud.h"
#include "protocols/rvappconfiginfo.h"
#include "screenfixture.h"
#include "screens/account/rvloginviewcontroller.h"
#include "screens/booking/rvreservationinfocontroller.h"
#include "screens/booking/rvreservationtimeelectcontroller.h"
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
QJsonArray fourSlots()
{
    QJsonArray slots;
    for (const auto &[fzxh, yysj] : {std::pair{u"1"_s, u"08:00"_s},
                                     {u"2"_s, u"08:30"_s},
                                     {u"3"_s, u"09:00"_s},
                                     {u"4"_s, u"09:30"_s}})
        slots.append(QJsonObject{{u"fzxh"_s, fzxh}, {u"yysj"_s, yysj}});
    return slots;
}
} // namespace

class TestRVReservationTimeElectController : public QObject
{
    Q_OBJECT

private:
    std::shared_ptr<RVReservationTimeElectController> m_screen;

    RVReservationTimeElectController *open(ScreenFixture &app)
    {
        app.launch();
        RVDoctorInfo doctor;
        doctor.setYsdm(u"D7"_s);
        doctor.setYsmc(u"王医生"_s);
        RVDoctorScheduleInfo half;
        half.setPbid(u"P42"_s);
        half.setJzrq(u"2026-05-20"_s);
        m_screen = RVReservationTimeElectController::instantiateFor(doctor, half);
        if (!m_screen)
            return nullptr;
        app.navigation()->pushViewController(m_screen, false);
        return m_screen.get();
    }
    static bool loading(ui::View *view)
    {
        const auto huds = ZtProgressHUD::allHUDsForView(view);
        return std::any_of(huds.cbegin(), huds.cend(),
                           [](ZtProgressHUD *hud) { return hud->labelText() == u"加载中"; });
    }
    static QString tipOver(ui::View *view)
    {
        for (ZtProgressHUD *hud : ZtProgressHUD::allHUDsForView(view)) {
            if (!hud->labelText().isEmpty() && hud->labelText() != u"加载中")
                return hud->labelText();
        }
        return {};
    }

private Q_SLOTS:
    void init() { ScreenFixture::forgetLogin(); }
    void cleanup()
    {
        m_screen.reset();
        // Views a reused cell let go are deleted on the next turn of the event loop; give
        // it that turn before the process may end.
        QCoreApplication::sendPostedEvents();
    }

    void slotsAreListedInReplyOrder()
    {
        BookingTestService service;
        const QJsonArray slots = fourSlots();
        service.answer(u"B009"_s, BookingTestService::reply(true, u"成功"_s, &slots));
        ScreenFixture app;
        RVReservationTimeElectController *screen = open(app);
        QVERIFY(screen);
        QCOMPARE(app.navigation()->navigationBar()->displayedTitle(), u"预约时段选择"_s);
        QTRY_COMPARE(screen->tableViewTime()->numberOfRowsInSection(0), 4);
        QCOMPARE(service.received(u"B009"_s).size(), 1);
        QCOMPARE(service.received(u"B009"_s).first().body.value(u"pbid"_s).toString(), u"P42"_s);
        for (int row = 0; row < 4; ++row) {
            ui::TableViewCell *cell = screen->tableViewTime()->cellForRowAtIndexPath({0, row});
            QVERIFY(cell);
            QCOMPARE(cell->textLabel()->text(), slots.at(row)[u"yysj"_s].toString());
            QCOMPARE(cell->selectionStyle(), ui::TableViewCellSelectionStyle::Gray);
        }
        QVERIFY(tipOver(screen->view()).isEmpty());
    }

    void emptyOrFailedLoadGivesNoRows_data()
    {
        QTest::addColumn<bool>("success");
        QTest::addColumn<QString>("tip");
        QTest::newRow("a half-day without slots: no message") << true << QString();
        QTest::newRow("a failed exchange: its message") << false << u"排班不存在"_s;
    }
    void emptyOrFailedLoadGivesNoRows()
    {
        QFETCH(bool, success);
        QFETCH(QString, tip);
        BookingTestService service;
        const QJsonArray none;
        service.answer(u"B009"_s,
                       BookingTestService::reply(success, success ? u"成功"_s : tip, &none));
        ScreenFixture app;
        RVReservationTimeElectController *screen = open(app);
        QVERIFY(screen);
        QTRY_COMPARE(service.received(u"B009"_s).size(), 1);
        QTRY_VERIFY(!loading(screen->view()));
        QCOMPARE(tipOver(screen->view()), tip);
        QCOMPARE(screen->tableViewTime()->numberOfRowsInSection(0), 0);
        QVERIFY(!ScreenFixture::visibleAlert());
    }

    void loggedInTapOpensTheConfirmationWithThatSlot()
    {
        BookingTestService service;
        const QJsonArray slots = fourSlots();
        service.answer(u"B009"_s, BookingTestService::reply(true, u"成功"_s, &slots));
        RVUserInfo user;
        user.setYhm(u"li"_s);
        BookingTestService::logIn(user);
        ScreenFixture app;
        RVReservationTimeElectController *screen = open(app);
        QVERIFY(screen);
        QTRY_COMPARE(screen->tableViewTime()->numberOfRowsInSection(0), 4);
        screen->tableViewTime()->tapRowAtIndexPath({0, 2});
        auto *next =
            qobject_cast<RVReservationInfoController *>(app.navigation()->topViewController());
        QVERIFY(next);
        QCOMPARE(RVBaseInfo::text(next->doctorTimeSchedule().fzxh()), u"3"_s);
        QCOMPARE(RVBaseInfo::text(next->doctorTimeSchedule().yysj()), u"09:00"_s);
        QCOMPARE(RVBaseInfo::text(next->doctorScheduleInfo().pbid()), u"P42"_s);
        QCOMPARE(RVBaseInfo::text(next->doctorInfo().ysdm()), u"D7"_s);
        QTRY_COMPARE(app.navigation()->navigationBar()->backItem()->title(), u"预约时段选择"_s);
        QVERIFY(!ScreenFixture::visibleAlert());
    }

    void loggedOutTapOffersTheLogin_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("pushesLogin");
        QTest::newRow("取消 changes nothing") << 0 << false;
        QTest::newRow("确定 pushes the login screen") << 1 << true;
    }
    void loggedOutTapOffersTheLogin()
    {
        QFETCH(int, button);
        QFETCH(bool, pushesLogin);
        BookingTestService service;
        const QJsonArray slots = fourSlots();
        service.answer(u"B009"_s, BookingTestService::reply(true, u"成功"_s, &slots));
        ScreenFixture app;
        RVReservationTimeElectController *screen = open(app);
        QVERIFY(screen);
        QTRY_COMPARE(screen->tableViewTime()->numberOfRowsInSection(0), 4);
        screen->tableViewTime()->tapRowAtIndexPath({0, 1});
        ui::AlertView *alert = ScreenFixture::visibleAlert();
        QVERIFY(alert);
        QCOMPARE(alert->title(), QString());
        QCOMPARE(alert->message(), u"还未登陆，现在登陆"_s);
        QCOMPARE(alert->numberOfButtons(), 2);
        QCOMPARE(alert->buttonTitleAtIndex(0), u"取消"_s);
        QCOMPARE(alert->buttonTitleAtIndex(1), u"确定"_s);
        QCOMPARE(app.navigation()->topViewController(), screen);
        alert->clickButtonAtIndex(button);
        QCOMPARE(app.navigation()->viewControllers().size(), pushesLogin ? 3 : 2);
        QCOMPARE(qobject_cast<RVLoginViewController *>(app.navigation()->topViewController()) !=
                     nullptr,
                 pushesLogin);
        QCOMPARE(screen->tableViewTime()->numberOfRowsInSection(0), 4);
    }
};

QTEST_MAIN(TestRVReservationTimeElectController)
#include "tst_rvreservationtimeelectcontroller.moc"
