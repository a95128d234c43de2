// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "bookingtestservice.h"
#include "components/ztprogresshud.h"
#include "screenfixture.h"
#include "screens/rvreservationinfocontroller.h"
#include "toolkit/alertview.h"
#include "toolkit/button.h"
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
RVUserInfo patient(int xb, bool withAddress)
{
    RVUserInfo user;
    user.setYhm(u"li"_s);
    user.setYhid(u"7"_s);
    user.setXm(u"李四"_s);
    user.setSjhm(u"13800000000"_s);
    user.setSfzhm(u"110101199003070011"_s);
    user.setCsny(u"1990-03-07"_s);
    user.setXb(xb);
    if (withAddress)
        user.setDz(u"北京市东城区"_s);
    return user;
}
} // namespace

class TestRVReservationInfoController : public QObject
{
    Q_OBJECT

private:
    std::shared_ptr<RVReservationInfoController> m_screen;

    RVReservationInfoController *open(ScreenFixture &app, const RVUserInfo &user)
    {
        BookingTestService::logIn(user);
        app.launch();
        m_screen = std::dynamic_pointer_cast<RVReservationInfoController>(
            ui::Storyboard::storyboardWithName(u"MainStoryboard"_s)
                ->instantiateViewControllerWithIdentifier(u"registerInfo"_s));
        if (!m_screen)
            return nullptr;
        RVDoctorInfo doctor;
        doctor.setYsdm(u"D7"_s);
        doctor.setYsmc(u"王医生"_s);
        doctor.setYymc(u"第一医院"_s);
        doctor.setYszc(u"主任医师"_s);
        doctor.setBzksdm(u"K03"_s);
        doctor.setBzksmc(u"心血管内科"_s);
        RVDoctorScheduleInfo half;
        half.setHospid(u"H1"_s);
        half.setPbid(u"P42"_s);
        half.setJzrq(u"2013-05-20"_s);
        half.setBcbm(u"1"_s);
        half.setBzksmc(u"内科"_s); // not part of a booking
        RVDoctorTimeSchedule slot;
        slot.setFzxh(u"3"_s);
        slot.setYysj(u"08:30"_s);
        m_screen->setDoctorInfo(doctor);
        m_screen->setDoctorScheduleInfo(half);
        m_screen->setDoctorTimeSchedule(slot);
        app.navigation()->pushViewController(m_screen, false);
        return m_screen.get();
    }
    static QStringList formLines(RVReservationInfoController *screen)
    {
        QStringList lines;
        ui::TableViewCell *cell = screen->tableViewInfo()->cellForRowAtIndexPath({0, 0});
        if (cell == nullptr)
            return lines;
        for (ui::View *view : cell->subviews()) {
            if (auto *label = qobject_cast<ui::Label *>(view))
                lines.append(label->text());
        }
        return lines;
    }
    static void confirm(RVReservationInfoController *screen)
    {
        screen->confirmButton()->sendActionsForControlEvents(ui::ControlEvent::TouchUpInside);
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

    void formShowsTheBooking()
    {
        BookingTestService service;
        ScreenFixture app;
        RVReservationInfoController *screen = open(app, patient(1, true));
        QVERIFY(screen);
        QTRY_VERIFY(screen->confirmButton());
        const QStringList expected{u"挂号信息"_s,
                                   u"姓名：李四"_s,
                                   u"手机号码：13800000000"_s,
                                   u"性别：男"_s,
                                   u"身份证号：110101199003070011"_s,
                                   u"预约时间：2013-05-20 08:30:00"_s,
                                   u"预约医院：第一医院"_s,
                                   u"预约科室：心血管内科"_s,
                                   u"预约医生：王医生"_s};
        QCOMPARE(formLines(screen), expected);
        QCOMPARE(screen->confirmButton()->titleForState(ui::ControlState::Normal), u"确认"_s);
        QCOMPARE(screen->confirmButton()->frame(), QRectF(15, 235, 290, 30));
        QVERIFY(
            !screen->confirmButton()->backgroundImageForState(ui::ControlState::Normal).isNull());
        // Over the home screen, the home screen's title is not renamed.
        QCOMPARE(app.navigation()->navigationBar()->backItem()->title(),
                 app.navigation()->viewControllers().first()->title());
    }

    void sexLineAndBrxbFollowXb_data()
    {
        QTest::addColumn<int>("xb");
        QTest::addColumn<QString>("line");
        QTest::newRow("1 is male") << 1 << u"性别：男"_s;
        QTest::newRow("2 is female") << 2 << u"性别：女"_s;
        QTest::newRow("0 shows nothing") << 0 << QString();
        QTest::newRow("3 shows nothing") << 3 << QString();
        QTest::newRow("negative shows nothing") << -1 << QString();
    }
    void sexLineAndBrxbFollowXb()
    {
        QFETCH(int, xb);
        QFETCH(QString, line);
        BookingTestService service;
        service.answer(u"C001"_s, BookingTestService::reply(false, u"该时段已约满"_s));
        ScreenFixture app;
        RVReservationInfoController *screen = open(app, patient(xb, true));
        QVERIFY(screen);
        QTRY_VERIFY(screen->confirmButton());
        QCOMPARE(formLines(screen).value(3), line);
        confirm(screen);
        QTRY_COMPARE(service.received(u"C001"_s).size(), 1);
        QCOMPARE(service.received(u"C001"_s).first().body.value(u"brxb"_s),
                 QJsonValue(QString::number(xb)));
    }

    // What arrives at the service is the booking and nothing else, field by field.
    void recordSentIsExactlyTheBooking_data()
    {
        QTest::addColumn<bool>("withAddress");
        QTest::newRow("complete user record") << true;
        QTest::newRow("no address: lxdz left out") << false;
    }
    void recordSentIsExactlyTheBooking()
    {
        QFETCH(bool, withAddress);
        BookingTestService service;
        service.answer(u"C001"_s, BookingTestService::reply(true, u"预约成功"_s));
        ScreenFixture app;
        RVReservationInfoController *screen = open(app, patient(2, withAddress));
        QVERIFY(screen);
        QTRY_VERIFY(screen->confirmButton());
        confirm(screen);
        QTRY_COMPARE(service.received(u"C001"_s).size(), 1);
        QJsonObject expected{{u"yhid"_s, u"7"_s},
                             {u"hospid"_s, u"H1"_s},
                             {u"pbid"_s, u"P42"_s},
                             {u"ysdm"_s, u"D7"_s},
                             {u"brxm"_s, u"李四"_s},
                             {u"sjhm"_s, u"13800000000"_s},
                             {u"sfzhm"_s, u"110101199003070011"_s},
                             {u"csny"_s, u"1990-03-07"_s},
                             {u"brxb"_s, u"2"_s},
                             {u"fzxh"_s, u"3"_s},
                             {u"yysj"_s, u"2013-05-20 08:30:00"_s},
                             {u"ksbm"_s, u"K03"_s},
                             {u"bcbm"_s, u"1"_s},
                             {u"jzrq"_s, u"2013-05-20 08:30:00"_s},
                             {u"yzhm"_s, u"570461"_s}};
        if (withAddress)
            expected.insert(u"lxdz"_s, u"北京市东城区"_s);
        const QJsonObject sent = service.received(u"C001"_s).first().body;
        for (auto it = expected.constBegin(); it != expected.constEnd(); ++it)
            QVERIFY2(sent.value(it.key()) == it.value(), qPrintable(it.key()));
        QCOMPARE(sent.keys(), expected.keys());
    }

    void outcomeDecidesWhereTheUserGoes_data()
    {
        QTest::addColumn<bool>("success");
        QTest::addColumn<QString>("message");
        QTest::newRow("booked: back to the home screen") << true << u"预约成功"_s;
        QTest::newRow("place taken meanwhile: stays")
            << false << u"该时段已被预约，请选择其他时段"_s;
    }
    void outcomeDecidesWhereTheUserGoes()
    {
        QFETCH(bool, success);
        QFETCH(QString, message);
        BookingTestService service;
        service.answer(u"C001"_s, BookingTestService::reply(success, message));
        // A failure reported by the service is final: the history is not asked.
        service.answer(u"C002"_s, [](const QJsonObject &) {
            const QJsonArray none;
            return BookingTestService::reply(true, u"查询成功"_s, &none);
        });
        ScreenFixture app;
        RVReservationInfoController *screen = open(app, patient(1, true));
        QVERIFY(screen);
        QTRY_VERIFY(screen->confirmButton());
        confirm(screen);
        QTRY_VERIFY(ScreenFixture::visibleAlert());
        QCOMPARE(ScreenFixture::visibleAlert()->title(), QString());
        QCOMPARE(ScreenFixture::visibleAlert()->message(), message);
        QCOMPARE(ScreenFixture::visibleAlert()->buttonTitleAtIndex(0), u"确定"_s);
        QCOMPARE(app.navigation()->viewControllers().size(), success ? 1 : 2);
        QCOMPARE(service.received(u"C002"_s).size(), 0);
        if (!success) {
            // The user may try again with the same data.
            ScreenFixture::visibleAlert()->clickButtonAtIndex(0);
            confirm(screen);
            QTRY_COMPARE(service.received(u"C001"_s).size(), 2);
            QCOMPARE(service.received(u"C001"_s).at(1).body,
                     service.received(u"C001"_s).at(0).body);
        }
    }

    // The user went back while the booking was on its way: the answer neither alerts nor pops
    // the screen now on top.
    void lateAnswerLeavesTheNewTopAlone_data()
    {
        QTest::addColumn<bool>("success");
        QTest::newRow("booked") << true;
        QTest::newRow("refused") << false;
    }
    void lateAnswerLeavesTheNewTopAlone()
    {
        QFETCH(bool, success);
        BookingTestService service;
        service.answer(u"C001"_s, BookingTestService::reply(success, u"答复"_s));
        service.delay(u"C001"_s, 300);
        ScreenFixture app;
        RVReservationInfoController *screen = open(app, patient(1, true));
        QVERIFY(screen);
        QTRY_VERIFY(screen->confirmButton());
        confirm(screen);
        const std::shared_ptr<ui::ViewController> keep = screen->shared_from_this();
        app.navigation()->popViewControllerAnimated(false);
        const auto other = ui::ViewController::create<StandInScreen>(u"other"_s);
        app.navigation()->pushViewController(other, false);
        QTRY_COMPARE(service.received(u"C001"_s).size(), 1);
        // The overlay goes right after the finish has run.
        QTRY_VERIFY(ZtProgressHUD::allHUDsForView(keep->view()).isEmpty());
        QVERIFY(!ScreenFixture::visibleAlert());
        QCOMPARE(app.navigation()->topViewController(), other.get());
        QCOMPARE(app.navigation()->viewControllers().size(), 2);
        QCOMPARE(ScreenFixture::tipText(app.navigation()), success ? u"预约成功"_s : QString());
    }

    void timeLineWithAbsentParts_data()
    {
        QTest::addColumn<QString>("jzrq");
        QTest::addColumn<QString>("yysj");
        QTest::addColumn<QString>("time");
        QTest::newRow("both present") << u"2013-05-20"_s << u"08:30"_s << u"2013-05-20 08:30:00"_s;
        QTest::newRow("day absent") << QString() << u"08:30"_s << u" 08:30:00"_s;
        QTest::newRow("time absent") << u"2013-05-20"_s << QString() << u"2013-05-20 :00"_s;
    }
    void timeLineWithAbsentParts()
    {
        QFETCH(QString, jzrq);
        QFETCH(QString, yysj);
        QFETCH(QString, time);
        RVDoctorScheduleInfo half;
        half.setJzrq(RVBaseInfo::valueOf(jzrq));
        RVDoctorTimeSchedule slot;
        slot.setYysj(RVBaseInfo::valueOf(yysj));
        const RVReservationInfo record = RVReservationInfoController::reservationRecord(
            RVUserInfo(), RVDoctorInfo(), half, slot);
        QCOMPARE(record.yysj(), QJsonValue(time));
        QCOMPARE(record.jzrq(), QJsonValue(time));
        // An empty user gives the sex 0 and leaves every copied field out.
        QCOMPARE(record.body_dict().keys(),
                 (QStringList{u"brxb"_s, u"jzrq"_s, u"yysj"_s, u"yzhm"_s}));
        QCOMPARE(record.brxb(), QJsonValue(u"0"_s));
    }
};

QTEST_MAIN(TestRVReservationInfoController)
#include "tst_rvreservationinfocontroller.moc"
