// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
// The booking road through the application's screens against the real stand-in service: from
// the home screen to a booked slot, its cancellation, a race for the last place, and answers
// lost on the way back.
#include "components/ztprogresshud.h"
#include "loopbackproxy.h"
#include "models/rvschedulegrid.h"
#include "protocols/rvappconfiginfo.h"
#include "protocols/rvprotocol.h"
#include "screenfixture.h"
#include "screens/account/rvloginviewcontroller.h"
#include "screens/booking/rvdoctorcontroller.h"
#include "screens/booking/rvreservationhistorylistviewcontroller.h"
#include "screens/booking/rvreservationinfocontroller.h"
#include "screens/booking/rvreservationtimeelectcontroller.h"
#include "screens/home/rvmainviewcontroller.h"
#include "service/rvserviceseeder.h"
#include "service/rvservicethread.h"
#include "toolkit/alertview.h"
#include "toolkit/button.h"
#include "toolkit/collectionview.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/storyboard.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewcell.h"
#include "toolkit/textfield.h"

#include <QApplication>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{
// A half-day that can still be booked, and where the screens show it.
struct OpenHalfDay {
    RVDoctorInfo doctor;
    int doctorRow = 0; // in the first page of the unfiltered doctor list
    RVDoctorScheduleInfo schedule;
    int dayRow = 0; // in the doctor's grid
};

ui::Storyboard *storyboard()
{
    return ui::Storyboard::storyboardWithName(u"MainStoryboard"_s);
}

// With RV_SNAPSHOT_DIR set, saves what the window shows at this step, for a person to look at.
void snapshot(ScreenFixture &app, const QString &name)
{
    const QString dir = qEnvironmentVariable("RV_SNAPSHOT_DIR");
    if (dir.isEmpty())
        return;
    QTest::qWait(400); // let slides and fades end
    app.navigation()->view()->window()->grab().save(dir + u'/' + name + u".png"_s);
}

template <class Screen> Screen *top(ScreenFixture &app)
{
    return qobject_cast<Screen *>(app.navigation()->topViewController());
}
} // namespace

class TestBookingRoad : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<RVServiceThread> m_service;

    QSqlDatabase store() const { return QSqlDatabase::database(u"store"_s); }
    QVariant storeValue(const QString &sql, const QVariantList &values) const
    {
        QSqlQuery query(store());
        query.prepare(sql);
        for (const QVariant &value : values)
            query.addBindValue(value);
        if (!query.exec() || !query.next())
            return {};
        return query.value(0);
    }
    int liveBookings(const QString &pbid) const
    {
        return storeValue(u"SELECT COUNT(*) FROM bookings b JOIN slots t ON t.id = b.slot"
                          " WHERE t.pbid = ? AND b.yyzt = '0'"_s,
                          {pbid})
            .toInt();
    }
    int openPlaces(const QString &pbid) const
    {
        return storeValue(u"SELECT kyrs FROM schedules WHERE pbid = ?"_s, {pbid}).toInt();
    }

    // The first doctor of the unfiltered list's first page with a half-day open from tomorrow
    // on, as the service reports it.
    static std::optional<OpenHalfDay> findOpenHalfDay()
    {
        const auto doctors =
            RVProtocol().doctorList(QString(), QString(), QString(), QString(), 1, 8);
        const QDate today = QDate::currentDate();
        for (qsizetype i = 0; doctors && i < doctors->size(); ++i) {
            const RVDoctorInfo &doctor = doctors->at(i);
            const auto days = RVProtocol().doctorScheduleForHospital(
                QString(), RVBaseInfo::text(doctor.hospid()), RVBaseInfo::text(doctor.ysdm()));
            for (int row = 1; days && row < RVScheduleGrid::kDays; ++row) {
                for (const RVDoctorScheduleInfo &s :
                     days->value(today.addDays(row).toString(u"yyyy-MM-dd"_s))) {
                    if (RVBaseInfo::intValue(s.jlzt()) == 0 && RVBaseInfo::intValue(s.kyrs()) > 1)
                        return OpenHalfDay{doctor, int(i), s, row};
                }
            }
        }
        return std::nullopt;
    }

    static void type(RVLoginViewController *login, int row, const QString &text)
    {
        auto *field = qobject_cast<ui::TextField *>(
            login->tableView()->cellForRowAtIndexPath({0, row})->accessoryView());
        QVERIFY(field);
        field->lineEdit()->clear();
        QTest::keyClicks(field->lineEdit(), text);
    }

    // The doctor's detail screen, reached through the doctor list when the application has
    // one, else opened directly with the doctor the service gave.
    static RVDoctorController *enterDoctor(ScreenFixture &app, const OpenHalfDay &open)
    {
        auto *home = top<RVMainViewController>(app);
        if (home != nullptr && storyboard()->identifiers().contains(u"doctorList"_s)) {
            home->contentButtonClick(2);
            ui::ViewController *list = app.navigation()->topViewController();
            auto *table = list != nullptr ? list->view()->findChild<ui::TableView *>() : nullptr;
            if (table == nullptr ||
                !QTest::qWaitFor([&] { return table->numberOfRowsInSection(0) > open.doctorRow; },
                                 10000))
                return nullptr;
            table->scrollToRowAtIndexPath({0, open.doctorRow}, false);
            table->tapRowAtIndexPath({0, open.doctorRow});
        } else {
            auto screen = RVDoctorController::instantiateFor(open.doctor, ui::Image());
            if (!screen)
                return nullptr;
            app.navigation()->pushViewController(screen, false);
        }
        return top<RVDoctorController>(app);
    }

    static ui::Button *halfDayButton(RVDoctorController *screen, const OpenHalfDay &open)
    {
        ui::TableView *grid = screen->tableViewReservInfo();
        grid->scrollToRowAtIndexPath({0, open.dayRow}, false);
        ui::TableViewCell *cell = grid->cellForRowAtIndexPath({0, open.dayRow});
        const int tag = RVScheduleGrid::buttonKey(open.schedule, open.dayRow).toInt();
        for (ui::View *view : cell != nullptr ? cell->subviews() : QList<ui::View *>()) {
            auto *button = qobject_cast<ui::Button *>(view);
            if (button != nullptr && button->tag() == tag)
                return button;
        }
        return nullptr;
    }

    // A confirmation screen for one slot of the half-day, on its own application's stack (the
    // application launched before the login, so its automatic login does not change the key).
    static std::shared_ptr<RVReservationInfoController>
    confirmation(ScreenFixture &app, const OpenHalfDay &open, const RVDoctorTimeSchedule &slot)
    {
        auto screen = RVReservationInfoController::instantiateFor(open.doctor, open.schedule, slot);
        app.navigation()->pushViewController(screen, false);
        return screen;
    }

    // Keys pressed where the keyboard's focus is (the window when no widget has it).
    static void keys(ScreenFixture &app, const QList<int> &keys, const QString &text = {})
    {
        QWidget *target = QApplication::focusWidget();
        target = target ? target : app.navigation()->view()->window();
        QTest::keyClicks(target, text);
        for (int key : keys)
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : target,
                            Qt::Key(key));
    }
    // Tab until the focus is on what `reached` wants.
    static bool tabTo(ScreenFixture &app, const std::function<bool(QWidget *)> &reached)
    {
        for (int tab = 0; tab < 40; ++tab) {
            if (QWidget *focus = QApplication::focusWidget(); focus && reached(focus))
                return true;
            keys(app, {Qt::Key_Tab});
        }
        return false;
    }
    template <class T> static bool is(QWidget *w) { return qobject_cast<T *>(w) != nullptr; }

    static bool logInDirectly()
    {
        return RVProtocol()
                   .login(RVServiceSeeder::demoAccountName(),
                          RVServiceSeeder::demoAccountPassword())
                   .has_value() &&
               RVAppConfigInfo::userLogined();
    }

private Q_SLOTS:
    void initTestCase() { ScreenFixture::prepareOnce(); }

    void init()
    {
        ScreenFixture::forgetLogin();
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        RVServiceOptions options = RVServiceThread::ephemeralOptions();
        options.databasePath = m_dir->filePath(u"service.sqlite"_s);
        m_service = std::make_unique<RVServiceThread>(options);
        QString error;
        QVERIFY2(m_service->startService(&error), qPrintable(error));
        RVProtocol::setServiceEndpoint(u"127.0.0.1"_s, m_service->port());
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"store"_s);
        db.setDatabaseName(options.databasePath);
        QVERIFY(db.open());
    }
    void cleanup()
    {
        QSqlDatabase::database(u"store"_s).close();
        QSqlDatabase::removeDatabase(u"store"_s);
        m_service.reset();
        m_dir.reset();
    }

    void fromHomeToABookedSlotAndBack()
    {
        const std::optional<OpenHalfDay> open = findOpenHalfDay();
        QVERIFY(open);
        const QString pbid = RVBaseInfo::text(open->schedule.pbid());
        const int placesBefore = openPlaces(pbid);
        ScreenFixture app;
        app.launch();

        RVDoctorController *doctor = enterDoctor(app, *open);
        QVERIFY(doctor);
        QTRY_VERIFY_WITH_TIMEOUT(doctor->httpStats(), 10000);
        ui::Button *halfDay = halfDayButton(doctor, *open);
        snapshot(app, u"doctor-grid"_s);
        QVERIFY(halfDay);
        halfDay->sendActionsForControlEvents(ui::ControlEvent::TouchUpInside);
        auto *slots = top<RVReservationTimeElectController>(app);
        QVERIFY(slots);
        QTRY_VERIFY_WITH_TIMEOUT(slots->tableViewTime()->numberOfRowsInSection(0) > 0, 10000);
        const RVDoctorTimeSchedule slot = slots->timeSchedules().first();
        snapshot(app, u"time-slots"_s);

        // Logged out: the slot offers the login first.
        slots->tableViewTime()->tapRowAtIndexPath({0, 0});
        QVERIFY(ScreenFixture::visibleAlert());
        QCOMPARE(ScreenFixture::visibleAlert()->message(), u"还未登陆，现在登陆"_s);
        snapshot(app, u"login-offer"_s);
        ScreenFixture::visibleAlert()->clickButtonAtIndex(1);
        auto *login = top<RVLoginViewController>(app);
        QVERIFY(login);
        type(login, 0, RVServiceSeeder::demoAccountName());
        type(login, 1, RVServiceSeeder::demoAccountPassword());
        login->loginButton()->sendActionsForControlEvents(ui::ControlEvent::TouchUpInside);
        QTRY_COMPARE_WITH_TIMEOUT(app.navigation()->topViewController(), slots, 10000);
        QVERIFY(RVAppConfigInfo::userLogined());

        // The same slot again, now logged in, and "确认".
        slots->tableViewTime()->tapRowAtIndexPath({0, 0});
        auto *confirm = top<RVReservationInfoController>(app);
        QVERIFY(confirm);
        QTRY_VERIFY(confirm->confirmButton());
        snapshot(app, u"confirmation"_s);
        confirm->confirmButton()->sendActionsForControlEvents(ui::ControlEvent::TouchUpInside);
        QTRY_VERIFY_WITH_TIMEOUT(ScreenFixture::visibleAlert(), 10000);
        QCOMPARE(ScreenFixture::visibleAlert()->message(), u"预约成功"_s);
        snapshot(app, u"booked-alert"_s);
        QCOMPARE(app.navigation()->viewControllers().size(), 1);
        QCOMPARE(liveBookings(pbid), 1);
        QCOMPARE(openPlaces(pbid), placesBefore - 1);
        ScreenFixture::visibleAlert()->clickButtonAtIndex(0);

        // The history lists it as open; a swipe cancels it.
        top<RVMainViewController>(app)->contentButtonClick(3);
        auto *history = top<RVReservationHistoryListViewController>(app);
        QVERIFY(history);
        QTRY_VERIFY_WITH_TIMEOUT(!history->reservationHistorys().isEmpty(), 10000);
        // The kept bookings show at once; the service's list is in once the overlay goes.
        QTRY_VERIFY_WITH_TIMEOUT(ZtProgressHUD::allHUDsForView(history->view()).isEmpty(), 10000);
        snapshot(app, u"history"_s);
        const RVReservationInfo booked = history->reservationHistorys().first();
        QCOMPARE(RVBaseInfo::text(booked.pbid()), pbid);
        QCOMPARE(RVBaseInfo::text(booked.fzxh()), RVBaseInfo::text(slot.fzxh()));
        QVERIFY(booked.isOpen());
        QVERIFY(history->mainTableView()->beginSwipeToDelete({0, 0}));
        snapshot(app, u"history-swiped"_s);
        QVERIFY(history->mainTableView()->confirmDelete());
        QTRY_VERIFY_WITH_TIMEOUT(history->reservationHistorys().isEmpty(), 10000);
        QVERIFY(!ScreenFixture::visibleAlert());
        QCOMPARE(liveBookings(pbid), 0);
        snapshot(app, u"history-cancelled"_s);
        QCOMPARE(storeValue(u"SELECT yyzt FROM bookings WHERE yylsh = ?"_s,
                            {RVBaseInfo::text(booked.yylsh())})
                     .toString(),
                 u"1"_s);
        QCOMPARE(openPlaces(pbid), placesBefore);
    }

    // Home, doctor, half-day, slot, login and confirmation with the keys alone.
    void bookingWithTheKeysAlone()
    {
        const std::optional<OpenHalfDay> open = findOpenHalfDay();
        QVERIFY(open);
        ScreenFixture app;
        app.launch();
        QVERIFY(QTest::qWaitForWindowActive(app.navigation()->view()->window()));
        QVERIFY(tabTo(app, is<ui::CollectionView>));
        keys(app, {Qt::Key_Right, Qt::Key_Right, Qt::Key_Return}); // "医生查询"
        QTRY_COMPARE(app.topIdentifier(), u"doctorList"_s);
        auto *doctors = app.navigation()->topViewController()->view()->findChild<ui::TableView *>();
        QTRY_VERIFY_WITH_TIMEOUT(doctors->numberOfRowsInSection(0) > open->doctorRow, 10000);
        QVERIFY(tabTo(app, is<ui::TableView>));
        keys(app, QList<int>(open->doctorRow, Qt::Key_Down) << Qt::Key_Return);
        auto *doctor = top<RVDoctorController>(app);
        QVERIFY(doctor);
        QTRY_VERIFY_WITH_TIMEOUT(doctor->httpStats(), 10000);
        const int halfDay = RVScheduleGrid::buttonKey(open->schedule, open->dayRow).toInt();
        QVERIFY(tabTo(app, [halfDay](QWidget *w) {
            return is<ui::Button>(w) && static_cast<ui::Button *>(w)->tag() == halfDay;
        }));
        keys(app, {Qt::Key_Return});
        auto *slots = top<RVReservationTimeElectController>(app);
        QVERIFY(slots);
        QTRY_VERIFY_WITH_TIMEOUT(slots->tableViewTime()->numberOfRowsInSection(0) > 0, 10000);
        QVERIFY(tabTo(app, is<ui::TableView>));
        keys(app, {Qt::Key_Return, Qt::Key_Return}); // logged out: "确定" to the login offered
        QVERIFY(top<RVLoginViewController>(app));
        QVERIFY(tabTo(app, is<QLineEdit>));
        keys(app, {Qt::Key_Tab}, RVServiceSeeder::demoAccountName());
        keys(app, {Qt::Key_Return}, RVServiceSeeder::demoAccountPassword());
        QTRY_COMPARE_WITH_TIMEOUT(app.navigation()->topViewController(), slots, 10000);
        QVERIFY(tabTo(app, is<ui::TableView>));
        keys(app, {Qt::Key_Return});
        auto *confirm = top<RVReservationInfoController>(app);
        QVERIFY(confirm);
        QTRY_VERIFY(confirm->confirmButton());
        QVERIFY(tabTo(app, [confirm](QWidget *w) { return w == confirm->confirmButton(); }));
        keys(app, {Qt::Key_Return});
        QTRY_VERIFY_WITH_TIMEOUT(ScreenFixture::visibleAlert(), 10000);
        QCOMPARE(ScreenFixture::visibleAlert()->message(), u"预约成功"_s);
        QCOMPARE(liveBookings(RVBaseInfo::text(open->schedule.pbid())), 1);
    }

    void twoApplicationsRaceForTheLastPlace()
    {
        ScreenFixture first;
        ScreenFixture second;
        first.launch();
        second.launch();
        QVERIFY(logInDirectly());
        const std::optional<OpenHalfDay> open = findOpenHalfDay();
        QVERIFY(open);
        const QString pbid = RVBaseInfo::text(open->schedule.pbid());
        const auto slots = RVProtocol().doctorDayScheduleForScheduleId(pbid);
        QVERIFY(slots && slots->size() >= 2);
        QSqlQuery(store()).exec(u"UPDATE schedules SET kyrs = 1 WHERE pbid = '%1'"_s.arg(pbid));
        QCOMPARE(openPlaces(pbid), 1);

        const auto a = confirmation(first, *open, slots->at(0));
        const auto b = confirmation(second, *open, slots->at(1));
        QTRY_VERIFY(a->confirmButton() && b->confirmButton());
        a->confirmButton()->sendActionsForControlEvents(ui::ControlEvent::TouchUpInside);
        b->confirmButton()->sendActionsForControlEvents(ui::ControlEvent::TouchUpInside);
        QTRY_COMPARE_WITH_TIMEOUT(ui::AlertView::visibleAlerts().size(), 2, 10000);
        QStringList messages;
        // The refusal heads the other places it offers.
        for (ui::AlertView *alert : ui::AlertView::visibleAlerts())
            messages.append(alert->title().isEmpty() ? alert->message() : alert->title());
        messages.sort();
        snapshot(first, u"race-first"_s);
        snapshot(second, u"race-second"_s);
        QStringList expected{u"预约成功"_s, u"该时段已约满"_s};
        expected.sort();
        QCOMPARE(messages, expected);
        const qsizetype stayed = first.navigation()->viewControllers().size() +
                                 second.navigation()->viewControllers().size();
        QCOMPARE(stayed, 3); // one went home, one stayed on its confirmation
        QCOMPARE(liveBookings(pbid), 1);
        QCOMPARE(openPlaces(pbid), 0);
    }

    // The booking left, then the answer was lost: the history decides what the patient sees.
    void lostAnswerIsSettledByTheHistory_data()
    {
        QTest::addColumn<LoopbackProxy::BookingFate>("fate");
        QTest::addColumn<bool>("booked");
        QTest::newRow("applied, then the connection dropped")
            << LoopbackProxy::BookingFate::DropAfterService << true;
        QTest::newRow("applied, then the reply cut short")
            << LoopbackProxy::BookingFate::CutShortAfterService << true;
        QTest::newRow("dropped before the service saw it")
            << LoopbackProxy::BookingFate::DropBeforeService << false;
    }
    void lostAnswerIsSettledByTheHistory()
    {
        QFETCH(LoopbackProxy::BookingFate, fate);
        QFETCH(bool, booked);
        LoopbackProxy proxy(m_service->port(), fate);
        RVProtocol::setServiceEndpoint(u"127.0.0.1"_s, proxy.port());
        ScreenFixture app;
        app.launch();
        QVERIFY(logInDirectly());
        const std::optional<OpenHalfDay> open = findOpenHalfDay();
        QVERIFY(open);
        const QString pbid = RVBaseInfo::text(open->schedule.pbid());
        const auto slots = RVProtocol().doctorDayScheduleForScheduleId(pbid);
        QVERIFY(slots && !slots->isEmpty());

        const auto screen = confirmation(app, *open, slots->first());
        QTRY_VERIFY(screen->confirmButton());
        screen->confirmButton()->sendActionsForControlEvents(ui::ControlEvent::TouchUpInside);
        QTRY_VERIFY_WITH_TIMEOUT(ScreenFixture::visibleAlert(), 40000);
        const QString message = ScreenFixture::visibleAlert()->message();
        snapshot(app, u"lost-answer-"_s + QString::fromLatin1(QTest::currentDataTag()).left(12));
        QCOMPARE(liveBookings(pbid), booked ? 1 : 0);
        QCOMPARE(proxy.bookingsForwarded(), booked ? 1 : 0);
        if (booked) {
            QCOMPARE(message, u"预约成功"_s);
            QCOMPARE(app.navigation()->viewControllers().size(), 1);
        } else {
            QVERIFY(!message.isEmpty());
            QVERIFY(message != u"预约成功");
            QCOMPARE(app.navigation()->topViewController(), screen.get());
        }
    }
};

QTEST_MAIN(TestBookingRoad)
#include "tst_bookingroad.moc"
