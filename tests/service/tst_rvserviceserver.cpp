// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
// The service end to end: the client library of the application against the service started
// in-process on an ephemeral port.
#include "protocols/rvappconfiginfo.h"
#include "protocols/rvcipher.h"
#include "protocols/rvloginrenewal.h"
#include "protocols/rvloginvalues.h"
#include "protocols/rvprotocol.h"
#include "protocols/rvuserregister.h"
#include "service/rvservicedemodata.h"
#include "service/rvservicethread.h"
#include "servicetestbackend.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QMutex>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QTest>
#include <QThread>

#include <atomic>

#include <memory>

using namespace Qt::StringLiterals;

namespace
{
QString text(const QJsonValue &v)
{
    return RVBaseInfo::text(v);
}

QMutex logLock; // the service logs on its own threads
QString capturedLog;

QString today(int offset = 0)
{
    return QDate::currentDate().addDays(offset).toString(u"yyyy-MM-dd"_s);
}
} // namespace

class TestRVServiceServer : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<RVServiceThread> m_service;
    int m_users = 0;

    // The registration of a name not taken yet.
    QJsonObject registration(const QString &password = u"secret1"_s)
    {
        RVUserRegister form;
        form.setYhm(u"1390000%1"_s.arg(++m_users, 4, 10, QLatin1Char('0')));
        form.setMm(password);
        form.setXm(u"测试用户"_s);
        form.setSfzhm(u"330102199001011234"_s);
        form.setSjhm(u"13900001111"_s);
        form.setDz(u"滨江市测试路1号"_s);
        return form.body_dict();
    }

    // Registers a fresh user (which also logs it in) and returns its record.
    RVUserInfo newUser(const QString &password = u"secret1"_s)
    {
        return RVProtocol().userRegister(registration(password)).value_or(RVUserInfo());
    }

    // All schedules of every demo doctor over the window.
    QList<RVDoctorScheduleInfo> allSchedules(int doctorCount = 40)
    {
        QList<RVDoctorScheduleInfo> all;
        RVProtocol client;
        const auto doctors =
            client.doctorList(QString(), QString(), QString(), QString(), 1, doctorCount);
        for (const RVDoctorInfo &d : doctors.value_or(QList<RVDoctorInfo>())) {
            const auto days =
                RVProtocol().doctorScheduleForHospital(QString(), text(d.hospid()), text(d.ysdm()));
            for (const auto &day : days.value_or(RVDoctorScheduleReply::Schedules()))
                all += day;
        }
        return all;
    }

    // A schedule from tomorrow on that takes bookings and still has all its slots free.
    RVDoctorScheduleInfo bookableSchedule(int skip = 0)
    {
        for (const RVDoctorScheduleInfo &s : allSchedules()) {
            if (text(s.jzrq()) > today() && RVBaseInfo::intValue(s.jlzt()) == 0 &&
                RVBaseInfo::intValue(s.kyrs()) == 8 && skip-- == 0)
                return s;
        }
        return {};
    }

    RVReservationInfo bookingFor(const RVDoctorScheduleInfo &s, const RVUserInfo &user,
                                 const QString &fzxh)
    {
        RVReservationInfo r;
        r.setYzhm(RVProtocol::reservationCode());
        r.setYhid(user.yhid());
        r.setHospid(s.hospid());
        r.setPbid(s.pbid());
        r.setFzxh(fzxh);
        r.setYsdm(s.ysdm());
        r.setBcbm(s.bcbm());
        return r;
    }

    int placesLeft(const RVDoctorScheduleInfo &s)
    {
        const auto days = RVProtocol().doctorScheduleForHospital(text(s.pbid()), text(s.hospid()),
                                                                 text(s.ysdm()));
        const auto day = days.value_or(RVDoctorScheduleReply::Schedules()).value(text(s.jzrq()));
        return day.size() == 1 ? static_cast<int>(RVBaseInfo::intValue(day.first().kyrs())) : -1;
    }

    QByteArray httpGet(const QString &path, int *status)
    {
        QNetworkAccessManager manager;
        std::unique_ptr<QNetworkReply> reply(
            manager.get(QNetworkRequest(QUrl(m_service->baseUrl() + path))));
        QSignalSpy done(reply.get(), &QNetworkReply::finished);
        if (!done.wait(10000))
            return {};
        *status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        return reply->readAll();
    }

private Q_SLOTS:
    void initTestCase()
    {
        // Both programs log at every level through the whole run; see cleanupTestCase.
        QLoggingCategory::setFilterRules(u"*.debug=true"_s);
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &line) {
            const QMutexLocker lock(&logLock);
            capturedLog += line + u'\n';
        });
        QStandardPaths::setTestModeEnabled(true);
        QString error;
        const RVServiceOptions options = ServiceTestBackend::options(&error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        m_service = std::make_unique<RVServiceThread>(options);
        QVERIFY2(m_service->startService(&error), qPrintable(error));
        RVProtocol::setServiceEndpoint(u"127.0.0.1"_s, m_service->port());
    }

    void registrationAndLogin()
    {
        const RVUserInfo user = newUser();
        QVERIFY(user.state());
        QCOMPARE(text(user.gzmy()).size(), 48);
        QVERIFY(RVCipher::isUsableKey(text(user.gzmy())));
        QCOMPARE(user.xb(), 1); // 17th digit 3: male
        QCOMPARE(text(user.csny()), u"1990-01-01"_s);
        QCOMPARE(RVLoginValues::dynamicKey(), text(user.gzmy()));

        RVProtocol client;
        const auto again = client.login(text(user.yhm()), u"secret1"_s);
        QVERIFY(again && again->state());
        QCOMPARE(text(again->yhid()), text(user.yhid()));
        QVERIFY(text(again->gzmy()) != text(user.gzmy())); // a fresh key at every login

        RVProtocol wrong;
        const auto refused = wrong.login(text(user.yhm()), u"not-it"_s);
        QVERIFY(refused && !refused->state());
        QCOMPARE(wrong.lastErrorMsg(), RVLoginRenewal::refusedLoginMessage());
        const auto unknown = RVProtocol().login(u"nobody"_s, u"secret1"_s);
        QVERIFY(unknown && !unknown->state());
        QCOMPARE(text(unknown->errorMsg()), RVLoginRenewal::refusedLoginMessage());
    }

    void registrationRefusals_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        QTest::newRow("identity of 15")
            << u"sfzhm"_s << u"330102900101123"_s << u"请输入正确的身份证号码"_s;
        QTest::newRow("mobile of 10") << u"sjhm"_s << u"1390000111"_s << u"请输入正确的手机号码"_s;
        QTest::newRow("mobile with letter")
            << u"sjhm"_s << u"1390000111a"_s << u"请输入正确的手机号码"_s;
        QTest::newRow("short password") << u"mm"_s << u"12345"_s << u"密码必须6位数以上"_s;
        QTest::newRow("no name") << u"xm"_s << u" "_s << u"请输入真实姓名"_s;
        QTest::newRow("name splits the form")
            << u"yhm"_s << u"a&jym=B001"_s << u"帐户名不能包含空格、“&”或“=”"_s;
        QTest::newRow("taken") << u"yhm"_s << u"taken-name"_s << u"该帐户名已被注册"_s;
    }

    void registrationRefusals()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, message);
        QJsonObject form{{u"yhm"_s, u"fresh-%1"_s.arg(++m_users)},
                         {u"mm"_s, u"secret1"_s},
                         {u"xm"_s, u"张三"_s},
                         {u"sfzhm"_s, u"33010219900101124X"_s},
                         {u"sjhm"_s, u"13900001111"_s}};
        if (field == u"yhm"_s && value == u"taken-name"_s) {
            QJsonObject first = form;
            first.insert(u"yhm"_s, value);
            QVERIFY(RVProtocol().userRegister(first)->state());
        }
        form.insert(field, value);
        RVProtocol client;
        const auto user = client.userRegister(form);
        QVERIFY(user && !user->state());
        QCOMPARE(client.lastErrorMsg(), message);
    }

    void hospitalsAndDepartments()
    {
        RVProtocol client;
        const auto hospitals = client.hospitalList(QString());
        QVERIFY(client.lastRepuestStats());
        QCOMPARE(hospitals->size(), 6);
        for (const RVHospitalInfo &h : *hospitals) {
            QVERIFY(!text(h.yymc()).isEmpty() && !text(h.yydj()).isEmpty());
            QVERIFY(!text(h.yydz()).isEmpty() && !text(h.yydh()).isEmpty());
            QVERIFY(text(h.yyjs()).size() > 20);
        }
        QCOMPARE(client.hospitalList(u"中医"_s)->size(), 1);

        const auto one = client.hospitalInfo(u"H03"_s);
        QVERIFY(one && one->state());
        QCOMPARE(text(one->yymc()), u"滨江市中医院"_s);
        const auto none = client.hospitalInfo(u"H99"_s);
        QVERIFY(none && !none->state());
        QCOMPARE(text(none->errorMsg()), u"医院不存在"_s);

        const auto classes = client.ClassificationDeptmentList(QString(), u"0"_s);
        QCOMPARE(classes->size(), 6);
        QCOMPARE(text(classes->first().bzksmc()), u"内科"_s);
        // The maternity hospital has only some classes, and three departments in obstetrics.
        QCOMPARE(client.ClassificationDeptmentList(u"H04"_s, u"0"_s)->size(), 2);
        const auto obstetrics = client.ReservationDepartmentList(u"H04"_s, u"K03"_s);
        QCOMPARE(obstetrics->size(), 3);
        for (const RVDepartmentInfo &d : *obstetrics)
            QCOMPARE(text(d.hospid()), u"H04"_s);
        QCOMPARE(client.ClassificationDeptmentList(QString(), u"K01"_s)->size(), 6);
        QVERIFY(client.ClassificationDeptmentList(QString(), u"nothing"_s)->isEmpty());
    }

    void doctorsAndInitials()
    {
        RVProtocol client;
        const auto all = client.doctorList(QString(), QString(), QString(), QString(), 1, 100);
        const auto rest = client.doctorList(QString(), QString(), QString(), QString(), 2, 100);
        QVERIFY(all && rest);
        QVERIFY(all->size() + rest->size() >= 120);
        for (const RVDoctorInfo &d : *all) {
            QCOMPARE(RVServiceDemoData::initials(text(d.ysmc())).size(), text(d.ysmc()).size());
            QVERIFY(text(d.yszp()).startsWith(u"http://127.0.0.1:"_s));
            QVERIFY(!text(d.yszc()).isEmpty() && !text(d.scjb()).isEmpty());
        }
        const auto page1 = client.doctorList(QString(), QString(), QString(), QString(), 1, 8);
        const auto page2 = client.doctorList(QString(), QString(), QString(), QString(), 2, 8);
        QCOMPARE(page1->size(), 8);
        QCOMPARE(text(page2->first().ysdm()), text(all->at(8).ysdm()));

        // Initials: prefix, either case.
        const RVDoctorInfo target = all->at(17);
        const QString initials = RVServiceDemoData::initials(text(target.ysmc()));
        const auto found =
            client.doctorList(QString(), QString(), QString(), initials.left(2).toLower(), 1, 100);
        QVERIFY(!found->isEmpty());
        bool seen = false;
        for (const RVDoctorInfo &d : *found) {
            QVERIFY(RVServiceDemoData::initials(text(d.ysmc())).startsWith(initials.left(2)));
            seen = seen || text(d.ysdm()) == text(target.ysdm());
        }
        QVERIFY(seen);
        QVERIFY(client.doctorList(QString(), QString(), QString(), u"%"_s, 1, 8)->isEmpty());

        const auto dept = client.doctorList(QString(), u"H04-0301"_s, QString(), QString(), 1, 20);
        QVERIFY(!dept->isEmpty());
        for (const RVDoctorInfo &d : *dept)
            QVERIFY(text(d.hospid()) == u"H04"_s && text(d.bzksdm()) == u"0301"_s);
        const auto standard =
            client.doctorList(QString(), u"S0301"_s, QString(), QString(), 1, 100);
        QVERIFY(standard->size() > dept->size()); // gynaecology of every hospital

        const auto info = client.doctorInfo(text(target.hospid()), text(target.ysdm()));
        QVERIFY(info && info->state());
        QCOMPARE(text(info->ysmc()), text(target.ysmc()));
        QVERIFY(!RVProtocol().doctorInfo(QString(), u"D9999"_s)->state());
    }

    void photographs()
    {
        int status = 0;
        const QByteArray png = httpGet(u"/photos/D0001.png"_s, &status);
        QCOMPARE(status, 200);
        const QImage image = QImage::fromData(png, "PNG");
        QVERIFY(!image.isNull());
        QVERIFY(image.width() >= 60);
        QCOMPARE(image.width() * 85, image.height() * 60); // the proportion of the frames
        httpGet(u"/photos/D9999.png"_s, &status);
        QCOMPARE(status, 404);
    }

    void lookupAndUpdatePage()
    {
        int status = 0;
        const QJsonObject found =
            QJsonDocument::fromJson(httpGet(u"/lookup?id=123456"_s, &status)).object();
        QCOMPARE(status, 200);
        QCOMPARE(found.value(u"resultCount"_s).toInt(), 1);
        const QJsonObject first = found.value(u"results"_s).toArray().first().toObject();
        QCOMPARE(first.value(u"version"_s).toString(), u"1.0.0"_s);
        const QJsonObject none =
            QJsonDocument::fromJson(httpGet(u"/lookup?id="_s, &status)).object();
        QVERIFY(none.value(u"results"_s).toArray().isEmpty());
        const QByteArray page = httpGet(u"/update?id=<b>"_s, &status);
        QCOMPARE(status, 200);
        QVERIFY(page.contains("&lt;b&gt;") && !page.contains("<b>"));
    }

    void scheduleWindowIsRelativeToToday()
    {
        const QList<RVDoctorScheduleInfo> all = allSchedules(122);
        QSet<QString> days;
        int stopped = 0, full = 0;
        for (const RVDoctorScheduleInfo &s : all) {
            days.insert(text(s.jzrq()));
            stopped += RVBaseInfo::intValue(s.jlzt()) != 0;
            full += RVBaseInfo::intValue(s.kyrs()) == 0;
            const long long bcbm = RVBaseInfo::intValue(s.bcbm());
            QVERIFY(bcbm == 1 || bcbm == 2);
        }
        QCOMPARE(days.size(), 14);
        for (int offset = 0; offset < 14; ++offset)
            QVERIFY2(days.contains(today(offset)), qPrintable(today(offset)));
        QVERIFY(stopped > 0);
        QVERIFY(full > 0);
    }

    void bookingListAndCancel()
    {
        const RVUserInfo user = newUser();
        const RVDoctorScheduleInfo s = bookableSchedule();
        QVERIFY(!text(s.pbid()).isEmpty());
        const auto slots = RVProtocol().doctorDayScheduleForScheduleId(text(s.pbid()));
        QCOMPARE(slots->size(), 8);
        QCOMPARE(text(slots->first().yysj()), u"08:00"_s); // eight places: a morning

        RVProtocol client;
        QVERIFY(client.reseration(bookingFor(s, user, u"2"_s)));
        QCOMPARE(placesLeft(s), 7);
        const auto left = RVProtocol().doctorDayScheduleForScheduleId(text(s.pbid()));
        QCOMPARE(left->size(), 7);
        for (const RVDoctorTimeSchedule &t : *left)
            QVERIFY(text(t.fzxh()) != u"2"_s);

        // The slot is sold once, even to its own buyer.
        RVProtocol again;
        QVERIFY(!again.reseration(bookingFor(s, user, u"2"_s)));
        QCOMPARE(again.lastErrorMsg(), u"该时段已被预约，请选择其他时段"_s);
        QCOMPARE(placesLeft(s), 7);

        const auto history =
            RVProtocol().reserationHistoryListWithTime(QVariant(), text(user.yhid()), QString());
        QCOMPARE(history->size(), 1);
        const RVReservationInfo booked = history->first();
        QCOMPARE(text(booked.yyzt()), u"0"_s);
        QCOMPARE(text(booked.ysdm()), text(s.ysdm()));
        QCOMPARE(text(booked.brxm()), u"测试用户"_s);
        QVERIFY(text(booked.yysj()).startsWith(text(s.jzrq()) + u' '));
        QVERIFY(text(booked.yysj()).endsWith(u":00"_s));
        QVERIFY(!text(booked.yymc()).isEmpty() && !text(booked.bzksmc()).isEmpty());

        // Someone else cannot cancel it.
        const QString owner = text(user.yhid());
        const RVUserInfo other = newUser();
        RVProtocol intruder;
        QVERIFY(!intruder.removeReserationWithUserId(text(other.yhid()), text(booked.yylsh())));
        QCOMPARE(intruder.lastErrorMsg(), u"只能取消本人的预约"_s);
        QVERIFY(!RVProtocol().removeReserationWithUserId(owner, text(booked.yylsh())));
        QCOMPARE(placesLeft(s), 7);

        // The owner can, once; the place comes back.
        QVERIFY(RVProtocol().login(text(user.yhm()), u"secret1"_s)->state());
        QVERIFY(RVProtocol().removeReserationWithUserId(owner, text(booked.yylsh())));
        QCOMPARE(placesLeft(s), 8);
        RVProtocol twice;
        QVERIFY(!twice.removeReserationWithUserId(owner, text(booked.yylsh())));
        QCOMPARE(twice.lastErrorMsg(), u"该预约已取消，不能重复取消"_s);
        QCOMPARE(placesLeft(s), 8);
        const auto after = RVProtocol().reserationHistoryListWithTime(QVariant(), owner, QString());
        QCOMPARE(text(after->first().yyzt()), u"1"_s);
        // The slot is free again.
        QVERIFY(RVProtocol().reseration(bookingFor(s, user, u"2"_s)));
    }

    void halfDaysThatRefuse()
    {
        const RVUserInfo user = newUser();
        RVDoctorScheduleInfo stopped, full;
        for (const RVDoctorScheduleInfo &s : allSchedules(122)) {
            if (RVBaseInfo::intValue(s.jlzt()) != 0)
                stopped = s;
            else if (RVBaseInfo::intValue(s.kyrs()) == 0)
                full = s;
        }
        QVERIFY(!text(stopped.pbid()).isEmpty() && !text(full.pbid()).isEmpty());
        RVProtocol a;
        QVERIFY(!a.reseration(bookingFor(stopped, user, u"1"_s)));
        QCOMPARE(a.lastErrorMsg(), u"该医生本时段停诊，无法预约"_s);
        RVProtocol b;
        QVERIFY(!b.reseration(bookingFor(full, user, u"1"_s)));
        QCOMPARE(b.lastErrorMsg(), u"该时段已约满"_s);
        QVERIFY(RVProtocol().doctorDayScheduleForScheduleId(text(full.pbid()))->isEmpty());
        RVProtocol c;
        QVERIFY(!c.reseration(bookingFor(bookableSchedule(), user, u"99"_s)));
        QCOMPARE(c.lastErrorMsg(), u"该时段不存在"_s);
    }

    void keyRotation()
    {
        const RVUserInfo user = newUser();
        const QString name = text(user.yhm());
        const QString firstKey = RVLoginValues::dynamicKey();
        RVProtocol list;
        QVERIFY(list.reserationHistoryListWithTime(QVariant(), text(user.yhid()), QString()));
        QVERIFY(list.lastRepuestStats());

        QVERIFY(RVProtocol().login(name, u"secret1"_s)->state());
        const QString secondKey = RVLoginValues::dynamicKey();
        QVERIFY(secondKey != firstKey);
        RVLoginValues::set(name, firstKey);        // a client still holding the old key
        RVAppConfigInfo::setUserLoginStats(false); // and no login of its own to renew it
        RVProtocol stale;
        stale.reserationHistoryListWithTime(QVariant(), text(user.yhid()), QString());
        QVERIFY(!stale.lastRepuestStats());
        QCOMPARE(stale.lastErrorMsg(), RVLoginRenewal::refusedKeyMessage());

        RVLoginValues::set(name, secondKey);
        RVProtocol fresh;
        fresh.reserationHistoryListWithTime(QVariant(), text(user.yhid()), QString());
        QVERIFY(fresh.lastRepuestStats());

        RVProtocol::create()->logout(); // asynchronous: wait until the key stops working
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                RVProtocol probe;
                probe.reserationHistoryListWithTime(QVariant(), text(user.yhid()), QString());
                return !probe.lastRepuestStats() &&
                       probe.lastErrorMsg() == RVLoginRenewal::refusedKeyMessage();
            }(),
            10000);
    }

    void profileAndPassword()
    {
        const RVUserInfo user = newUser(u"first-pass"_s);
        RVUserInfo changed = user;
        changed.setDz(u"滨江市新地址88号"_s);
        changed.setSjhm(u"13811112222"_s);
        const auto reply = RVProtocol().userInfoModificationWithNewUserInfo(changed);
        QVERIFY(reply && reply->state());
        QCOMPARE(text(reply->dz()), u"滨江市新地址88号"_s);
        QCOMPARE(text(reply->sjhm()), u"13811112222"_s);
        changed.setSjhm(u"12"_s);
        QVERIFY(!RVProtocol().userInfoModificationWithNewUserInfo(changed)->state());
        changed.setSjhm(u"13811112222"_s);
        changed.setYhid(u"1"_s); // somebody else's record
        QVERIFY(!RVProtocol().userInfoModificationWithNewUserInfo(changed)->state());

        const QString id = text(user.yhid());
        RVProtocol wrongOld;
        QVERIFY(!wrongOld.userPasswordModificationWithUserid(id, u"not-it"_s, u"second-pass"_s));
        QCOMPARE(wrongOld.lastErrorMsg(), u"原密码不正确"_s);
        QVERIFY(!RVProtocol().userPasswordModificationWithUserid(id, u"first-pass"_s, u"123"_s));
        QVERIFY(
            RVProtocol().userPasswordModificationWithUserid(id, u"first-pass"_s, u"second-pass"_s));
        QVERIFY(!RVProtocol().login(text(user.yhm()), u"first-pass"_s)->state());
        QVERIFY(RVProtocol().login(text(user.yhm()), u"second-pass"_s)->state());
    }

    // Clients that leave while a worker still answers them: their connections are let go once
    // the answers are back, so a small connection cap is not used up by them.
    void clientsLeavingWhileAnswered()
    {
        QString error;
        RVServiceOptions options = ServiceTestBackend::options(&error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        options.limits.maxConnections = 4;
        RVServiceThread service(options);
        QVERIFY2(service.startService(&error), qPrintable(error));
        const auto status = [&](bool leave) {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, service.port());
            socket.write("POST /hrzp2/ComService HTTP/1.1\r\nHost: h\r\nContent-Length: 48\r\n\r\n"
                         "yhm=(null)&jym=B006&bwnr={\"body\":{\"xssl\":\"100\"}}");
            if (!socket.waitForBytesWritten(10'000) || leave)
                return 0;
            QByteArray reply;
            while (!reply.contains("\r\n") && socket.waitForReadyRead(10'000))
                reply += socket.readAll();
            return reply.mid(9, 3).toInt();
        };
        for (int i = 0; i < 20; ++i)
            QCOMPARE(status(true), 0);
        QTRY_COMPARE_WITH_TIMEOUT(status(false), 200, 20'000);
    }

    void nothingRunsBehindAClosingRequest_data()
    {
        QTest::addColumn<QByteArray>("closing");
        QTest::addColumn<QString>("code");
        for (const QByteArray closing :
             {"HTTP/1.1\r\nHost: h\r\nConnection: close\r\n", "HTTP/1.0\r\n",
              "HTTP/1.0\r\nTransfer-Encoding: chunked\r\n\r\n0\r\n"})
            for (const QString &code : {u"A001"_s, u"C001"_s})
                QTest::addRow("%s, then %s", QByteArray(closing).replace("\r\n", " ").constData(),
                              qPrintable(code))
                    << "POST /lookup " + closing + "\r\n"
                    << code;
    }

    // The request behind one answered by closing is never run: the same request sent on its
    // own afterwards goes through, so the store holds no trace of it.
    void nothingRunsBehindAClosingRequest()
    {
        QFETCH(QByteArray, closing);
        QFETCH(QString, code);
        const bool booking = code == u"C001"_s;
        const RVUserInfo user = booking ? newUser() : RVUserInfo();
        const QJsonObject body =
            booking ? bookingFor(bookableSchedule(), user, u"1"_s).body_dict() : registration();
        const QString name = booking ? text(user.yhm()) : body.value(u"yhm"_s).toString();
        const QString message = RVBaseInfo::envelopeText(RVProtocol::headBuild(code), body);
        const QString key = booking ? RVLoginValues::dynamicKey() : RVCipher::fixedKeyText();
        const QByteArray form =
            (u"yhm=%1&jym=%2&bwnr=%3"_s.arg(name, code, *RVCipher::encipherToHex(message, key)))
                .toUtf8();
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, m_service->port());
        socket.write(closing + "POST /hrzp2/ComService HTTP/1.1\r\nHost: h\r\nContent-Length: " +
                     QByteArray::number(form.size()) + "\r\n\r\n" + form);
        QVERIFY(socket.waitForDisconnected(10'000));
        RVProtocol alone;
        alone.post(name, code, message, false);
        QVERIFY2(alone.lastRepuestStats(), qPrintable(alone.lastErrorMsg()));
    }

    void concurrentLastPlace()
    {
        const RVUserInfo user = newUser();
        const RVDoctorScheduleInfo s = bookableSchedule(3);
        for (int fzxh = 1; fzxh <= 7; ++fzxh)
            QVERIFY(RVProtocol().reseration(bookingFor(s, user, QString::number(fzxh))));
        QCOMPARE(placesLeft(s), 1);
        // Eight clients race for the last place from eight threads.
        std::atomic<int> successes{0};
        QList<QThread *> threads;
        for (int i = 0; i < 8; ++i) {
            threads.append(QThread::create([&] {
                RVProtocol client;
                if (client.reseration(bookingFor(s, user, u"8"_s)))
                    ++successes;
            }));
            threads.last()->start();
        }
        for (QThread *t : threads) {
            QVERIFY(t->wait(30000));
            delete t;
        }
        QCOMPARE(successes.load(), 1);
        QCOMPARE(placesLeft(s), 0);
    }

    // All the registrations, logins and bookings above left nothing personal in the log.
    void cleanupTestCase()
    {
        const RVUserInfo last = newUser();
        m_service.reset();
        qInstallMessageHandler(nullptr);
        const QMutexLocker lock(&logLock);
        QVERIFY(capturedLog.contains(u"post: yhm=139****"_s)); // the capture worked
        for (const QString &personal :
             {u"330102199001011234"_s, u"13900001111"_s, u"13811112222"_s, u"测试路"_s, u"新地址"_s,
              u"1990-01-01"_s, u"secret1"_s, u"first-pass"_s, u"1390000"_s, text(last.gzmy())})
            QVERIFY2(!personal.isEmpty() && !capturedLog.contains(personal), qPrintable(personal));
    }
};

QTEST_GUILESS_MAIN(TestRVServiceServer)
#include "tst_rvserviceserver.moc"
