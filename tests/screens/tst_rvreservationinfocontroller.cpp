// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "bookingtestservice.h"
#include "components/ztprogresshud.h"
#include "screenfixture.h"
#include "screens/booking/rvreservationinfocontroller.h"
#include "toolkit/alertview.h"
#include "toolkit/button.h"
#include "toolkit/label.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/navigationitem.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewcell.h"
#include "toolkit/textmetrics.h"

#include <QJsonArray>
#include <QTest>

using namespace Qt::StringLiterals;

class TestRVReservationInfoController : public QObject
{
    Q_OBJECT

private:
    std::shared_ptr<RVReservationInfoController> m_screen;

    // The confirmation of the test's choice, once its button is there; null otherwise.
    RVReservationInfoController *open(ScreenFixture &app, const RVUserInfo &user)
    {
        BookingTestService::logIn(user);
        app.launch();
        const BookingTestService::Choice chosen = BookingTestService::choice();
        m_screen =
            RVReservationInfoController::instantiateFor(chosen.doctor, chosen.half, chosen.slot);
        if (!m_screen)
            return nullptr;
        app.navigation()->pushViewController(m_screen, false);
        return QTest::qWaitFor([this] { return m_screen->confirmButton() != nullptr; })
                   ? m_screen.get()
                   : nullptr;
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
        RVReservationInfoController *screen = open(app, BookingTestService::patient());
        QVERIFY(screen);
        // The booking of the saved user and of what the screen was handed, line by line.
        const RVBooking booking =
            BookingTestService::choice().bookingOf(BookingTestService::patient());
        QCOMPARE(formLines(screen), QStringList{u"挂号信息"_s} + booking.summary());
        QCOMPARE(screen->confirmButton()->titleForState(ui::ControlState::Normal), u"确认"_s);
        QCOMPARE(screen->confirmButton()->frame(), QRectF(15, 235, 290, 30));
        QVERIFY(
            !screen->confirmButton()->backgroundImageForState(ui::ControlState::Normal).isNull());
        // Over the home screen, the home screen's title is not renamed.
        QCOMPARE(app.navigation()->navigationBar()->backItem()->title(),
                 app.navigation()->viewControllers().first()->title());
    }

    // A line longer than the form is drawn smaller, never cut.
    void longLinesAreNotCut()
    {
        BookingTestService service;
        ScreenFixture app;
        RVUserInfo patient = BookingTestService::patient();
        patient.setXm(u"阿卜杜热合曼·买买提依明·艾合买提江"_s);
        RVReservationInfoController *screen = open(app, patient);
        QVERIFY(screen);
        const auto labels =
            screen->tableViewInfo()->cellForRowAtIndexPath({0, 0})->findChildren<ui::Label *>();
        for (const ui::Label *label : labels) {
            const qreal width = ui::TextMetrics::sizeWithFont(label->text(), label->font()).width();
            QVERIFY2(width <= label->frame().width(), qPrintable(label->text()));
        }
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
        ScreenFixture app;
        RVReservationInfoController *screen = open(app, BookingTestService::patient());
        QVERIFY(screen);
        confirm(screen);
        QTRY_VERIFY(ScreenFixture::visibleAlert());
        QCOMPARE(ScreenFixture::visibleAlert()->title(), QString());
        QCOMPARE(ScreenFixture::visibleAlert()->message(), message);
        QCOMPARE(ScreenFixture::visibleAlert()->buttonTitleAtIndex(0), u"确定"_s);
        QCOMPARE(app.navigation()->viewControllers().size(), success ? 1 : 2);
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
        RVReservationInfoController *screen = open(app, BookingTestService::patient());
        QVERIFY(screen);
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

    // A slot taken under the patient's finger: the refusal heads the nearest open places, and a
    // tap gives the confirmation of that place in this one's stead, booked only on "确认".
    void takenSlotOffersTheNearestPlaces()
    {
        BookingTestService service;
        const QString taken = u"该时段已被预约，请选择其他时段"_s;
        service.answer(u"C001"_s, BookingTestService::reply(false, taken));
        const QJsonArray left{QJsonObject{{u"fzxh"_s, u"9"_s}, {u"yysj"_s, u"11:00"_s}}};
        service.answer(u"B009"_s, BookingTestService::reply(true, u"查询成功"_s, &left));
        ScreenFixture app;
        RVReservationInfoController *screen = open(app, BookingTestService::patient());
        QVERIFY(screen);
        confirm(screen);
        QTRY_VERIFY(ScreenFixture::visibleAlert());
        ui::AlertView *alert = ScreenFixture::visibleAlert();
        QCOMPARE(alert->title(), taken);
        QCOMPARE(alert->buttonTitleAtIndex(1), u"王医生 5月20日 上午 11:00"_s);
        alert->clickButtonAtIndex(1);
        auto *next =
            qobject_cast<RVReservationInfoController *>(app.navigation()->topViewController());
        QVERIFY(next && next != screen);
        QCOMPARE(app.navigation()->viewControllers().size(), 2);
        QCOMPARE(RVBaseInfo::text(next->doctorTimeSchedule().fzxh()), u"9"_s);
        QCOMPARE(RVBaseInfo::text(next->doctorScheduleInfo().pbid()), u"P42"_s);
        QTest::qWait(50);
        QCOMPARE(service.received(u"C001"_s).size(), 1);
        QCOMPARE(service.received(u"B009"_s).size(),
                 1); // read once: for the refusal and the search
    }
};

QTEST_MAIN(TestRVReservationInfoController)
#include "tst_rvreservationinfocontroller.moc"
