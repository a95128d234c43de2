// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvdoctorlistrequest.h"
#include "protocols/rvdoctorschedulereply.h"
#include "protocols/rvhospitallistreply.h"
#include "protocols/rvreservationlistinforequest.h"
#include "protocols/rvuserlogin.h"
#include "protocols/rvuserregister.h"

#include <QJsonDocument>
#include <QTest>

using namespace Qt::StringLiterals;

class TestRVBaseInfo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void replyOutcome_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("parsed");
        QTest::addColumn<bool>("state");
        QTest::addColumn<QString>("message");
        QTest::newRow("text 0") << uR"({"head":{"succflag":"0","retmsg":"成功"},"body":{}})"_s
                                << true << true << u"成功"_s;
        QTest::newRow("number 0") << uR"({"head":{"succflag":0,"retmsg":"ok"}})"_s << true << true
                                  << u"ok"_s;
        QTest::newRow("text 00") << uR"({"head":{"succflag":"00"}})"_s << true << true << QString();
        QTest::newRow("-1") << uR"({"head":{"succflag":"-1","retmsg":"密码错误"}})"_s << true
                            << false << u"密码错误"_s;
        QTest::newRow("number 2") << uR"({"head":{"succflag":2}})"_s << true << false << QString();
        QTest::newRow("leading spaces")
            << uR"({"head":{"succflag":"  1x"}})"_s << true << false << QString();
        QTest::newRow("non-numeric is success")
            << uR"({"head":{"succflag":"abc"}})"_s << true << true << QString();
        QTest::newRow("no head") << uR"({"body":{}})"_s << true << true << QString();
        QTest::newRow("head not an object")
            << uR"({"head":[1],"body":7})"_s << true << true << QString();
        QTest::newRow("array") << u"[1,2]"_s << false << false << QString();
        QTest::newRow("string") << uR"("text")"_s << false << false << QString();
        QTest::newRow("not json") << u"<html>"_s << false << false << QString();
        QTest::newRow("empty") << u""_s << false << false << QString();
        QTest::newRow("none") << QString() << false << false << QString();
        QTest::newRow("two values") << u"{} {}"_s << false << false << QString();
        // A boolean reads as 0 or 1, so true is a failure and false a success.
        QTest::newRow("boolean true is failure")
            << uR"({"head":{"succflag":true}})"_s << true << false << QString();
        QTest::newRow("boolean false is success")
            << uR"({"head":{"succflag":false}})"_s << true << true << QString();
        // Numbers beyond any integer are not zero, whatever their sign.
        QTest::newRow("1e19 is failure")
            << uR"({"head":{"succflag":1e19}})"_s << true << false << QString();
        QTest::newRow("-1e19 is failure")
            << uR"({"head":{"succflag":-1e19}})"_s << true << false << QString();
        QTest::newRow("2^63 is failure")
            << uR"({"head":{"succflag":9223372036854775808}})"_s << true << false << QString();
        QTest::newRow("huge digit text is failure")
            << uR"({"head":{"succflag":"99999999999999999999999"}})"_s << true << false
            << QString();
        QTest::newRow("fraction below one is success")
            << uR"({"head":{"succflag":0.5}})"_s << true << true << QString();
        QTest::newRow("huge message number")
            << uR"({"head":{"succflag":"0","retmsg":1e19}})"_s << true << true << u"1e+19"_s;
        QTest::newRow("huge negative message number")
            << uR"({"head":{"succflag":"1","retmsg":-1e300}})"_s << true << false << u"-1e+300"_s;
    }
    void replyOutcome()
    {
        QFETCH(QString, text);
        QFETCH(bool, parsed);
        QFETCH(bool, state);
        QFETCH(QString, message);
        const auto record = RVBaseInfo::fromString<RVBaseInfo>(text);
        QCOMPARE(record.has_value(), parsed);
        if (record) {
            QCOMPARE(record->state(), state);
            QCOMPARE(RVBaseInfo::text(record->errorMsg()), message);
        }
    }

    void freshRecordIsFailureWithNothing()
    {
        const auto record = RVBaseInfo::fromDictionary<RVUserInfo>(std::nullopt);
        QVERIFY(!record.state());
        QVERIFY(record.yhm().isUndefined());
        QVERIFY(record.body_dict().isEmpty());
        QVERIFY(RVBaseInfo().body_dict().isEmpty());
        QVERIFY(QJsonDocument::fromJson(RVBaseInfo().toJson().toUtf8())
                    .object()
                    .value(u"body"_s)
                    .toObject()
                    .isEmpty());
    }

    void intValue_data()
    {
        QTest::addColumn<QJsonValue>("value");
        QTest::addColumn<qlonglong>("expected");
        QTest::newRow("number") << QJsonValue(3.9) << 3LL;
        QTest::newRow("negative text") << QJsonValue(u"-12ab"_s) << -12LL;
        QTest::newRow("plus") << QJsonValue(u"+5"_s) << 5LL;
        QTest::newRow("no digits") << QJsonValue(u"x1"_s) << 0LL;
        QTest::newRow("absent") << QJsonValue(QJsonValue::Undefined) << 0LL;
        QTest::newRow("bool true") << QJsonValue(true) << 1LL;
        QTest::newRow("bool false") << QJsonValue(false) << 0LL;
        QTest::newRow("null") << QJsonValue(QJsonValue::Null) << 0LL;
        constexpr qlonglong most = std::numeric_limits<qlonglong>::max();
        constexpr qlonglong least = std::numeric_limits<qlonglong>::min();
        QTest::newRow("largest exact number")
            << QJsonValue(9007199254740992.0) << 9007199254740992LL;
        QTest::newRow("2^63 saturates") << QJsonValue(9223372036854775808.0) << most;
        QTest::newRow("1e300 saturates") << QJsonValue(1e300) << most;
        QTest::newRow("-2^63 is exact") << QJsonValue(-9223372036854775808.0) << least;
        QTest::newRow("-1e300 saturates") << QJsonValue(-1e300) << least;
        QTest::newRow("huge text saturates") << QJsonValue(QString(40, u'9')) << most;
        QTest::newRow("huge negative text saturates")
            << QJsonValue(u"-"_s + QString(40, u'9')) << least;
        QTest::newRow("text at the limit") << QJsonValue(u"9223372036854775807"_s) << most;
        QTest::newRow("text one past the limit") << QJsonValue(u"9223372036854775808"_s) << most;
        QTest::newRow("negative text at the limit")
            << QJsonValue(u"-9223372036854775808"_s) << least;
    }
    void intValue()
    {
        QFETCH(QJsonValue, value);
        QFETCH(qlonglong, expected);
        QCOMPARE(RVBaseInfo::intValue(value), expected);
    }

    void numbersStayNumbers()
    {
        const auto record = RVBaseInfo::fromDictionary<RVHospitalInfo>(
            QJsonObject{{u"hospid"_s, 12}, {u"yymc"_s, u"协和"_s}, {u"unknown"_s, 1}});
        QVERIFY(record.hospid().isDouble());
        QCOMPARE(RVBaseInfo::text(record.hospid()), u"12"_s);
        const QJsonObject body = record.body_dict();
        QCOMPARE(body, (QJsonObject{{u"hospid"_s, 12}, {u"yymc"_s, u"协和"_s}}));
        QVERIFY(record.yydm().isUndefined()); // the hospital code has no service key
    }

    void roundTrip()
    {
        const QJsonObject body{{u"yhm"_s, u"zhang"_s}, {u"xb"_s, 2}, {u"gzmy"_s, u"ab"_s}};
        const auto user = RVBaseInfo::fromDictionary<RVUserInfo>(body);
        QCOMPARE(user.body_dict(), body);
        QCOMPARE(RVBaseInfo::fromDictionary<RVUserInfo>(user.body_dict()).body_dict(), body);
    }

    void lists()
    {
        const auto reply = RVBaseInfo::fromString<RVHospitalListReply>(
            uR"({"body":{"list":[{"yymc":"甲"},{"yymc":"乙","hospid":"2"},{}]}})"_s);
        QVERIFY(reply);
        QCOMPARE(reply->hospitalList().size(), 3);
        QCOMPARE(reply->hospitalList().at(1).hospid().toString(), u"2"_s);
        QVERIFY(reply->hospitalList().at(2).body_dict().isEmpty());
        QVERIFY(RVBaseInfo::fromString<RVHospitalListReply>(u"{}"_s)->hospitalList().isEmpty());
        QVERIFY(RVBaseInfo::fromString<RVHospitalListReply>(uR"({"body":{"list":"x"}})"_s)
                    ->hospitalList()
                    .isEmpty());
    }

    void identityNumber_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<int>("xb");
        QTest::addColumn<QString>("csny");
        QTest::newRow("odd sequence digit") << u"110101199003074538"_s << 1 << u"1990-03-07"_s;
        QTest::newRow("even") << u"11010119851231004X"_s << 2 << u"1985-12-31"_s;
        QTest::newRow("zero is even") << u"440106200001010101"_s << 2 << u"2000-01-01"_s;
        QTest::newRow("too short derives nothing") << u"1101011990"_s << 0 << QString();
        QTest::newRow("empty") << QString() << 0 << QString();
    }
    void identityNumber()
    {
        QFETCH(QString, number);
        QFETCH(int, xb);
        QFETCH(QString, csny);
        RVUserInfo user;
        user.setSfzhm(number);
        QCOMPARE(user.sfzhm().toString(), number);
        QCOMPARE(user.xb(), xb);
        QCOMPARE(RVBaseInfo::text(user.csny()), csny);
        // Reading a body never derives anything.
        const auto read = RVBaseInfo::fromDictionary<RVUserInfo>(QJsonObject{{u"sfzhm"_s, number}});
        QCOMPARE(read.xb(), 0);
    }

    void registrationNeverCarriesServiceKeys()
    {
        const QJsonObject given{{u"yhid"_s, u"9"_s},
                                {u"gzmy"_s, u"k"_s},
                                {u"yhm"_s, u"u"_s},
                                {u"mm"_s, u"p"_s},
                                {u"xb"_s, 1}};
        const QJsonObject body = RVBaseInfo::fromDictionary<RVUserRegister>(given).body_dict();
        QCOMPARE(body, (QJsonObject{{u"yhm"_s, u"u"_s}, {u"mm"_s, u"p"_s}, {u"xb"_s, 1}}));
    }

    void loginDescribesTheDevice()
    {
        RVUserLogin login;
        login.setYhm(u"u"_s);
        login.setMm(u"p"_s);
        const QJsonObject body = login.body_dict();
        QCOMPARE(body.size(), 4);
        QVERIFY(!body.value(u"self.xtmc"_s).toString().isEmpty());
        QVERIFY(body.value(u"self.bbh"_s).isString());
        QCOMPARE(login.xtmc(), body.value(u"self.xtmc"_s).toString());
    }

    void historyAlwaysSendsPhone()
    {
        RVReservationListInfoRequest request;
        request.setYhid(u"7"_s);
        QCOMPARE(request.body_dict(), (QJsonObject{{u"yhid"_s, u"7"_s}, {u"sjhm"_s, u""_s}}));
    }

    void doctorPageNumbers()
    {
        RVDoctorListRequest request;
        request.setDqym(2);
        request.setXssl(8);
        request.setPym(u"zs"_s);
        const QJsonObject body = request.body_dict();
        QVERIFY(body.value(u"dqym"_s).isDouble());
        QCOMPARE(body.value(u"xssl"_s).toInt(), 8);
        QCOMPARE(body.size(), 3);
    }

    void schedulesGroupByDay()
    {
        const auto reply = RVBaseInfo::fromString<RVDoctorScheduleReply>(uR"({"body":{"list":[
            {"jzrq":"2026-12-08","bcbm":"1"},{"jzrq":"2026-12-09","bcbm":"1"},
            {"jzrq":"2026-12-08","bcbm":"2"},{"jzrq":"2026-12-09","bcbm":"2"},
            {"bcbm":"1"},{"jzrq":7}]}})"_s);
        QVERIFY(reply);
        const auto days = reply->schedules();
        QCOMPARE(days.size(), 2);
        QCOMPARE(days.value(u"2026-12-08"_s).size(), 2);
        QCOMPARE(RVBaseInfo::text(days.value(u"2026-12-08"_s).at(1).bcbm()), u"2"_s);
        QVERIFY(RVBaseInfo::fromString<RVDoctorScheduleReply>(u"{}"_s)->schedules().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestRVBaseInfo)
#include "tst_rvbaseinfo.moc"
