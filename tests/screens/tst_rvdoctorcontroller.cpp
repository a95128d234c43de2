// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "bookingtestservice.h"
#include "components/ztprogresshud.h"
#include "models/rvbookingstore.h"
#include "screenfixture.h"
#include "screens/booking/rvdoctorcontroller.h"
#include "screens/booking/rvreservationtimeelectcontroller.h"
#include "toolkit/alertview.h"
#include "toolkit/button.h"
#include "toolkit/image.h"
#include "toolkit/imageview.h"
#include "toolkit/label.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/storyboard.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewcell.h"

#include <QJsonArray>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{
QJsonObject schedule(const QDate &day, const QJsonValue &bcbm, const QJsonValue &jlzt,
                     const QJsonValue &kyrs, const QString &pbid)
{
    return {{u"jzrq"_s, day.toString(u"yyyy-MM-dd"_s)},
            {u"bcbm"_s, bcbm},
            {u"jlzt"_s, jlzt},
            {u"kyrs"_s, kyrs},
            {u"pbid"_s, pbid},
            {u"hospid"_s, u"H1"_s}};
}

QList<ui::Button *> buttonsOf(ui::TableViewCell *cell)
{
    QList<ui::Button *> buttons;
    for (ui::View *view : cell->subviews()) {
        if (auto *button = qobject_cast<ui::Button *>(view))
            buttons.append(button);
    }
    return buttons;
}

QList<ui::Label *> labelsOf(ui::TableViewCell *cell)
{
    QList<ui::Label *> labels;
    for (ui::View *view : cell->subviews()) {
        if (auto *label = qobject_cast<ui::Label *>(view))
            labels.append(label);
    }
    return labels;
}

// The pictures shown in the morning and afternoon columns of a grid row.
QList<ui::ImageView *> picturesOf(ui::TableViewCell *cell)
{
    QList<ui::ImageView *> pictures;
    for (ui::Label *label : labelsOf(cell)) {
        for (ui::View *view : label->subviews()) {
            if (auto *image = qobject_cast<ui::ImageView *>(view))
                pictures.append(image);
        }
    }
    return pictures;
}
} // namespace

class TestRVDoctorController : public QObject
{
    Q_OBJECT

private:
    std::shared_ptr<RVDoctorController> m_screen;

    // Opens the screen for a doctor with the given schedules and today's date, and waits for
    // the load to end.
    RVDoctorController *open(ScreenFixture &app, BookingTestService &service, const QDate &today,
                             const QJsonArray &schedules)
    {
        return open(app, service, today, BookingTestService::reply(true, u"成功"_s, &schedules));
    }
    RVDoctorController *open(ScreenFixture &app, BookingTestService &service, const QDate &today,
                             const QJsonObject &reply)
    {
        service.answer(u"B008"_s, reply);
        app.launch();
        RVDoctorInfo doctor;
        doctor.setHospid(u"H1"_s);
        doctor.setYsdm(u"D7"_s);
        doctor.setYsmc(u"王医生"_s);
        m_screen = RVDoctorController::instantiateFor(doctor, ui::Image());
        if (!m_screen)
            return nullptr;
        m_screen->setClock([today] { return today; });
        app.navigation()->pushViewController(m_screen, false);
        return m_screen.get();
    }
    static ui::TableViewCell *gridRow(RVDoctorController *screen, int row)
    {
        screen->tableViewReservInfo()->scrollToRowAtIndexPath({0, row}, false);
        return screen->tableViewReservInfo()->cellForRowAtIndexPath({0, row});
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

    void gridSpansFourteenDaysFromToday()
    {
        const QDate today(2026, 12, 25);
        BookingTestService service;
        ScreenFixture app;
        RVDoctorController *screen = open(app, service, today, QJsonArray());
        QVERIFY(screen);
        QTRY_VERIFY(screen->httpStats());
        QCOMPARE(screen->tableViewReservInfo()->numberOfRowsInSection(0), 14);
        QCOMPARE(app.navigation()->navigationBar()->displayedTitle(), u"王医生"_s);
        for (int row : {0, 13}) {
            ui::TableViewCell *cell = gridRow(screen, row);
            QVERIFY(cell);
            const QList<ui::Label *> labels = labelsOf(cell);
            QCOMPARE(labels.size(), 3);
            QCOMPARE(labels.first()->text(), today.addDays(row).toString(u"M.d"_s));
            QVERIFY(buttonsOf(cell).isEmpty());
        }
        // The schedules were asked for the handed doctor, with no schedule identifier.
        const auto asked = service.received(u"B008"_s);
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.first().body.value(u"hospid"_s).toString(), u"H1"_s);
        QCOMPARE(asked.first().body.value(u"ysdm"_s).toString(), u"D7"_s);
        QVERIFY(!asked.first().body.contains(u"pbid"_s));
    }

    void halfDayShowsItsState_data()
    {
        QTest::addColumn<QJsonValue>("jlzt");
        QTest::addColumn<QJsonValue>("kyrs");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("opens");
        QTest::newRow("stopped") << QJsonValue(u"1"_s) << QJsonValue(u"4"_s)
                                 << u"yuyue_tingzhen_btn_nor.png"_s << QString() << false;
        QTest::newRow("full") << QJsonValue(u"0"_s) << QJsonValue(u"0"_s)
                              << u"yuyue_quick_btn_nor.png"_s << u"0"_s << false;
        QTest::newRow("open") << QJsonValue(u"0"_s) << QJsonValue(u"5"_s)
                              << u"yuyue_full_btn_nor.png"_s << u"5"_s << true;
    }
    void halfDayShowsItsState()
    {
        QFETCH(QJsonValue, jlzt);
        QFETCH(QJsonValue, kyrs);
        QFETCH(QString, picture);
        QFETCH(QString, title);
        QFETCH(bool, opens);
        BookingTestService service;
        ScreenFixture app;
        const QDate today(2026, 5, 7);
        RVDoctorController *screen =
            open(app, service, today,
                 QJsonArray{schedule(today.addDays(2), u"2"_s, jlzt, kyrs, u"P9"_s)});
        QVERIFY(screen);
        QTRY_VERIFY(screen->httpStats());
        ui::TableViewCell *cell = gridRow(screen, 2);
        QVERIFY(cell);
        const QList<ui::Button *> buttons = buttonsOf(cell);
        QCOMPARE(buttons.size(), 1);
        ui::Button *button = buttons.first();
        QCOMPARE(button->titleForState(ui::ControlState::Normal), title);
        QCOMPARE(button->frame(), QRectF(195.5, 0, 125, 39));
        const QList<ui::ImageView *> pictures = picturesOf(cell);
        QCOMPARE(pictures.size(), 1);
        QVERIFY(pictures.first()->image() == ui::Image::imageNamed(picture));
        QCOMPARE(pictures.first()->frame(), QRectF(23, 5, 85, 30));

        button->sendActionsForControlEvents(ui::ControlEvent::TouchUpInside);
        auto *next =
            qobject_cast<RVReservationTimeElectController *>(app.navigation()->topViewController());
        QCOMPARE(next != nullptr, opens);
        if (opens) {
            QCOMPARE(RVBaseInfo::text(next->doctorScheduleInfo().pbid()), u"P9"_s);
            QCOMPARE(RVBaseInfo::text(next->doctorInfo().ysdm()), u"D7"_s);
        } else {
            QCOMPARE(app.navigation()->topViewController(), screen);
        }
    }

    // A fully booked half-day is watched after a confirmation, and marked; without a login the
    // same tap offers the login screen.
    void fullHalfDayIsWatched_data()
    {
        QTest::addColumn<bool>("logined");
        QTest::addColumn<QString>("question");
        QTest::newRow("logged in") << true << u"2026-05-09 下午已约满，\n有号时提醒您吗？"_s;
        QTest::newRow("logged out") << false << u"还未登陆，现在登陆"_s;
    }
    void fullHalfDayIsWatched()
    {
        QFETCH(bool, logined);
        QFETCH(QString, question);
        BookingTestService service;
        if (logined)
            BookingTestService::logIn(BookingTestService::patient());
        QVERIFY(RVBookingStore::remove(u"7"_s));
        ScreenFixture app;
        const QDate today(2026, 5, 7);
        RVDoctorController *screen =
            open(app, service, today,
                 QJsonArray{schedule(today.addDays(2), u"2"_s, u"0"_s, u"0"_s, u"P9"_s)});
        QVERIFY(screen);
        QTRY_VERIFY(screen->httpStats());
        buttonsOf(gridRow(screen, 2))
            .value(0)
            ->sendActionsForControlEvents(ui::ControlEvent::TouchUpInside);
        ui::AlertView *alert = ScreenFixture::visibleAlert();
        QVERIFY(alert);
        QCOMPARE(alert->message(), question);
        alert->clickButtonAtIndex(1);
        if (!logined) {
            QTRY_COMPARE(app.topIdentifier(), u"login"_s);
            return;
        }
        QTRY_COMPARE(RVBookingStore(u"7"_s).watches().size(), 1);
        QTRY_VERIFY(picturesOf(gridRow(screen, 2)).value(0)->image() ==
                    ui::Image::imageNamed(u"yuyue_watch_btn_nor.png"_s));
        QVERIFY(buttonsOf(gridRow(screen, 2))
                    .value(0)
                    ->accessibilityLabel()
                    .endsWith(u"，已设置有号提醒"_s));
    }

    void buttonKeysJoinShiftAndRow()
    {
        BookingTestService service;
        ScreenFixture app;
        const QDate today(2026, 5, 7);
        RVDoctorController *screen =
            open(app, service, today,
                 QJsonArray{schedule(today.addDays(3), u"1"_s, u"0"_s, u"3"_s, u"P3"_s),
                            schedule(today.addDays(12), 2, u"0"_s, u"1"_s, u"P12"_s)});
        QVERIFY(screen);
        QTRY_VERIFY(screen->httpStats());
        const struct {
            int row;
            int tag;
            QRectF frame;
        } expected[] = {{3, 103, QRectF(70.5, 0, 125, 39)}, {12, 2012, QRectF(195.5, 0, 125, 39)}};
        for (const auto &e : expected) {
            ui::TableViewCell *cell = gridRow(screen, e.row);
            QVERIFY(cell);
            const QList<ui::Button *> buttons = buttonsOf(cell);
            QCOMPARE(buttons.size(), 1);
            QCOMPARE(buttons.first()->tag(), e.tag);
            QCOMPARE(buttons.first()->frame(), e.frame);
        }
    }

    void unknownShiftGivesAnInvisibleButton()
    {
        BookingTestService service;
        ScreenFixture app;
        const QDate today(2026, 5, 7);
        RVDoctorController *screen =
            open(app, service, today, QJsonArray{schedule(today, u"3"_s, u"0"_s, u"5"_s, u"P0"_s)});
        QVERIFY(screen);
        QTRY_VERIFY(screen->httpStats());
        ui::TableViewCell *cell = gridRow(screen, 0);
        QVERIFY(cell);
        const QList<ui::Button *> buttons = buttonsOf(cell);
        QCOMPARE(buttons.size(), 1);
        QVERIFY(buttons.first()->frame().isEmpty());
        QVERIFY(picturesOf(cell).isEmpty());
        QCOMPARE(buttons.first()->tag(), 300);
    }

    void failedLoadShowsTheMessageAsATip()
    {
        BookingTestService service;
        ScreenFixture app;
        const QDate today(2026, 5, 7);
        RVDoctorController *screen =
            open(app, service, today, BookingTestService::reply(false, u"医生不存在"_s));
        QVERIFY(screen);
        QTRY_COMPARE(service.received(u"B008"_s).size(), 1);
        QTRY_VERIFY([screen] {
            // Over the screen: inside the grid it would scroll with the rows, out of view.
            for (ZtProgressHUD *hud : ZtProgressHUD::allHUDsForView(screen->view()))
                if (hud->labelText() == u"医生不存在")
                    return true;
            return false;
        }());
        QVERIFY(!screen->httpStats());
        QVERIFY(!ScreenFixture::visibleAlert());
        ui::TableViewCell *cell = gridRow(screen, 0);
        QVERIFY(cell);
        QVERIFY(buttonsOf(cell).isEmpty());
    }

    void rebuiltRowsDoNotStackTheirViews()
    {
        BookingTestService service;
        ScreenFixture app;
        const QDate today(2026, 5, 7);
        RVDoctorController *screen =
            open(app, service, today,
                 QJsonArray{schedule(today, u"1"_s, u"0"_s, u"5"_s, u"A"_s),
                            schedule(today, u"2"_s, u"1"_s, u"0"_s, u"B"_s),
                            schedule(today.addDays(13), u"1"_s, u"0"_s, u"2"_s, u"C"_s)});
        QVERIFY(screen);
        QTRY_VERIFY(screen->httpStats());
        for (int pass = 0; pass < 3; ++pass) {
            screen->tableViewReservInfo()->reloadData();
            gridRow(screen, 13);
            gridRow(screen, 0);
        }
        ui::TableViewCell *cell = gridRow(screen, 0);
        QVERIFY(cell);
        QCOMPARE(labelsOf(cell).size(), 3);
        QCOMPARE(buttonsOf(cell).size(), 2);
        QCOMPARE(picturesOf(cell).size(), 2);
        cell = gridRow(screen, 13);
        QCOMPARE(labelsOf(cell).size(), 3);
        QCOMPARE(buttonsOf(cell).size(), 1);
    }
};

QTEST_MAIN(TestRVDoctorController)
#include "tst_rvdoctorcontroller.moc"
