// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
// Bad input at the booking endpoint: every malformed exchange ends in a clear refusal (or an
// HTTP error where no envelope can be read), never in a crash.
#include "protocols/rvcipher.h"
#include "protocols/rvdepartmentinfo.h"
#include "protocols/rvdoctorinfo.h"
#include "protocols/rvdoctorscheduleinfo.h"
#include "protocols/rvhospitalinfo.h"
#include "service/rvserviceaccounts.h"
#include "service/rvservicedatabase.h"
#include "service/rvserviceenvelope.h"
#include "service/rvservicerouter.h"
#include "service/rvserviceseeder.h"
#include "service/rvservicethread.h"
#include "servicetestbackend.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{
const QString userKey = u"00112233445566778899aabbccddeeff0011223344556677"_s;

QByteArray enciphered(const QString &text, const QString &key)
{
    return RVCipher::encipherToHex(text, key).value_or(QString()).toLatin1();
}

using ReadBack = QJsonObject (*)(const QJsonObject &);

// A list item as the client's record reads and writes it again.
template <class Record> ReadBack as()
{
    return [](const QJsonObject &item) {
        return RVBaseInfo::fromDictionary<Record>(item).body_dict();
    };
}

QJsonObject head(const QByteArray &reply)
{
    return QJsonDocument::fromJson(reply).object().value(u"head"_s).toObject();
}
} // namespace

Q_DECLARE_METATYPE(ReadBack)

class TestRVServiceRouter : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<RVServiceDatabase> m_db;
    std::unique_ptr<RVServiceRouter> m_router;
    std::unique_ptr<RVServiceThread> m_service; // one service for all the HTTP-level rows

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QString error;
        const QString location = ServiceTestBackend::freshLocation(u":memory:"_s, &error);
        QVERIFY2(!location.isEmpty(), qPrintable(error));
        m_db = std::make_unique<RVServiceDatabase>(location);
        QVERIFY2(m_db->open(&error), qPrintable(error));
        QVERIFY(RVServiceSeeder(*m_db).seed(QDate::currentDate()));
        m_router = std::make_unique<RVServiceRouter>(*m_db);
        const RVServiceOutcome made =
            RVServiceAccounts(*m_db).registerUser({{u"yhm"_s, u"known"_s},
                                                   {u"mm"_s, u"secret1"_s},
                                                   {u"xm"_s, u"李四"_s},
                                                   {u"sfzhm"_s, u"330102199001011224"_s},
                                                   {u"sjhm"_s, u"13900002222"_s}});
        QVERIFY(made.ok);
    }

    void formTakesEverythingAfterTheFirstMessageField_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("yhm");
        QTest::addColumn<QString>("jym");
        QTest::addColumn<QByteArray>("bwnr");
        QTest::newRow("plain") << QByteArray("yhm=(null)&jym=B001&bwnr={}") << u"(null)"_s
                               << u"B001"_s << QByteArray("{}");
        QTest::newRow("field inside the message")
            << QByteArray("yhm=a&jym=B001&bwnr={\"x\":\"&bwnr=&jym=\"}") << u"a"_s << u"B001"_s
            << QByteArray("{\"x\":\"&bwnr=&jym=\"}");
        QTest::newRow("empty message")
            << QByteArray("yhm=&jym=C002&bwnr=") << QString() << u"C002"_s << QByteArray();
        QTest::newRow("chinese name") << u"yhm=张三&jym=A002&bwnr=ab"_s.toUtf8() << u"张三"_s
                                      << u"A002"_s << QByteArray("ab");
    }

    void formTakesEverythingAfterTheFirstMessageField()
    {
        QFETCH(QByteArray, body);
        const auto form = RVServiceEnvelope::parseForm(body);
        QVERIFY(form);
        QTEST(form->yhm, "yhm");
        QTEST(form->jym, "jym");
        QTEST(form->bwnr, "bwnr");
    }

    // The list replies are written straight from their rows: each item must read back through
    // the client's record of it unchanged, so nothing the client would drop or miss is sent.
    void listRepliesReadBackThroughTheirRecords_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<ReadBack>("readBack");
        QTest::newRow("hospitals") << u"B001"_s << QByteArray("{}") << as<RVHospitalInfo>();
        QTest::newRow("departments")
            << u"B004"_s << QByteArray(R"({"hospid":"H01","deptid":"K01"})")
            << as<RVDepartmentInfo>();
        QTest::newRow("doctors") << u"B006"_s << QByteArray(R"({"dqym":"2","xssl":"5"})")
                                 << as<RVDoctorInfo>();
        QTest::newRow("schedules")
            << u"B008"_s << QByteArray(R"({"ysdm":"D0001"})") << as<RVDoctorScheduleInfo>();
    }

    void listRepliesReadBackThroughTheirRecords()
    {
        QFETCH(QString, code);
        QFETCH(QByteArray, body);
        QFETCH(ReadBack, readBack);
        const RVServiceRouter::Exchange reply = m_router->handle(
            "yhm=(null)&jym=" + code.toLatin1() + "&bwnr={\"body\":" + body + "}", u"http://h:1"_s);
        QVERIFY2(reply.ok, qPrintable(reply.message));
        const QJsonArray list =
            QJsonDocument::fromJson(reply.body).object()[u"body"_s][u"list"_s].toArray();
        QVERIFY(!list.isEmpty());
        for (const QJsonValue &item : list)
            QCOMPARE(readBack(item.toObject()), item.toObject());
    }

    void refusals_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        const QByteArray b = "yhm=(null)&jym=B002&bwnr=";
        QTest::newRow("not a form") << QByteArray("hello") << 400 << u"请求格式错误"_s;
        QTest::newRow("no message field")
            << QByteArray("yhm=a&jym=B001") << 400 << u"请求格式错误"_s;
        QTest::newRow("no code field") << QByteArray("yhm=a&bwnr={}") << 400 << u"请求格式错误"_s;
        QTest::newRow("unknown code")
            << QByteArray("yhm=a&jym=X999&bwnr={}") << 200 << u"未知的交易码：X999"_s;
        QTest::newRow("not json") << b + "not json" << 200 << u"报文格式错误"_s;
        QTest::newRow("json array") << b + "[1]" << 200 << u"报文格式错误"_s;
        QTest::newRow("not utf-8") << b + "{\"body\":\"\xff\xfe\"}" << 200 << u"报文无法解读"_s;
        QTest::newRow("no body") << b + "{\"head\":{}}" << 200 << u"缺少必填字段：body"_s;
        QTest::newRow("missing field") << b + "{\"body\":{}}" << 200 << u"缺少必填字段：hospid"_s;
        QTest::newRow("code mismatch")
            << b + "{\"head\":{\"trcode\":\"B001\"},\"body\":{}}" << 200 << u"交易码不一致"_s;
        QTest::newRow("A not hex")
            << QByteArray("yhm=a&jym=A002&bwnr=zz") << 200 << u"报文无法解读"_s;
        QTest::newRow("A odd digits")
            << QByteArray("yhm=a&jym=A002&bwnr=abc") << 200 << u"报文无法解读"_s;
        QTest::newRow("A wrong key")
            << "yhm=a&jym=A002&bwnr=" + enciphered(u"{\"body\":{}}"_s, userKey) << 200
            << u"报文无法解读"_s;
        QTest::newRow("C unknown user")
            << "yhm=nobody&jym=C002&bwnr=" + enciphered(u"{\"body\":{}}"_s, userKey) << 200
            << u"登录已失效，请重新登录"_s;
        QTest::newRow("C wrong key")
            << "yhm=known&jym=C002&bwnr=" + enciphered(u"{\"body\":{}}"_s, userKey) << 200
            << u"登录已失效，请重新登录"_s;
        QTest::newRow("C no user")
            << QByteArray("yhm=(null)&jym=C001&bwnr=") << 200 << u"登录已失效，请重新登录"_s;
        QTest::newRow("too large")
            << QByteArray(RVServiceRouter::maxRequestBytes + 1, 'a') << 413 << u"请求内容过大"_s;
    }

    void refusals()
    {
        QFETCH(QByteArray, body);
        QFETCH(int, status);
        const RVServiceRouter::Exchange reply = m_router->handle(body, u"http://h:1"_s);
        QCOMPARE(reply.status, status);
        QVERIFY(!reply.ok);
        QVERIFY(reply.body.startsWith('{')); // plain: no key is known to work
        const QJsonObject h = head(reply.body);
        QCOMPARE(h.value(u"succflag"_s).toString(), u"-1"_s);
        QTEST(h.value(u"retmsg"_s).toString(), "message");
    }

    // A store that cannot answer whether a login key is live says so; it does not send the
    // patient back to the login.
    void loggedInRequestWhileTheStoreFails()
    {
        QString error;
        const QString location = ServiceTestBackend::freshLocation(u":memory:"_s, &error);
        QVERIFY2(!location.isEmpty(), qPrintable(error));
        RVServiceDatabase db(location);
        QVERIFY2(db.open(&error), qPrintable(error));
        RVServiceRouter router(db);
        {
            auto session = db.session();
            QVERIFY(RVServiceDatabase::run(session.db(), u"ALTER TABLE users RENAME TO gone"_s));
        }
        const RVServiceRouter::Exchange reply = router.handle(
            "yhm=known&jym=C002&bwnr=" + enciphered(u"{\"body\":{}}"_s, userKey), u"http://h:1"_s);
        QCOMPARE(head(reply.body).value(u"retmsg"_s).toString(), u"服务暂时不可用，请稍后再试"_s);
    }

    void enciphersRepliesUnderTheRequestKey()
    {
        // A well-enciphered message that is not an envelope: refused, under the same key.
        const QByteArray body =
            "yhm=a&jym=A002&bwnr=" + enciphered(u"[]"_s, RVCipher::fixedKeyText());
        const RVServiceRouter::Exchange reply = m_router->handle(body, u"http://h:1"_s);
        QVERIFY(!reply.body.startsWith('{'));
        const auto text =
            RVCipher::decipherFromHex(QString::fromLatin1(reply.body), RVCipher::fixedKeyText());
        QVERIFY(text);
        const QJsonObject h = head(text->toUtf8());
        QCOMPARE(h.value(u"retmsg"_s).toString(), u"报文格式错误"_s);
        QCOMPARE(h.value(u"trcode"_s).toString(), u"A002"_s);
        QCOMPARE(h.value(u"trdate"_s).toString(), QDate::currentDate().toString(u"yyyyMMdd"_s));
        QCOMPARE(h.value(u"trtime"_s).toString().size(), 6);
    }

    void publicQueryAnswersInPlainJson()
    {
        const QByteArray body = u"yhm=(null)&jym=B001&bwnr={\"head\":{\"trcode\":\"B001\"},"
                                "\"body\":{\"yymc\":\"第一&bwnr=\"}}"_s.toUtf8();
        const RVServiceRouter::Exchange reply = m_router->handle(body, u"http://h:1"_s);
        QVERIFY(reply.ok);
        const QJsonObject h = head(reply.body);
        QCOMPARE(h.value(u"succflag"_s).toString(), u"0"_s);
        QCOMPARE(QJsonDocument::fromJson(reply.body)
                     .object()
                     .value(u"body"_s)
                     .toObject()
                     .value(u"list"_s)
                     .toArray()
                     .size(),
                 0);
    }

    // Numbers far out of range in every field that the service reads as a number or an
    // identifier: a clear answer each time, with no undefined conversion on the way (the
    // sanitizer build aborts on one).
    void outOfRangeNumbers_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("message");
        const QString found = u"查询成功"_s;
        const QString noSlot = u"该时段不存在"_s;
        const QString badPage = u"页码无效：dqym"_s;
        const auto row = [](const char *name, const char *code, const char *body, bool ok,
                            const QString &message) {
            QTest::newRow(name) << QString::fromLatin1(code) << QByteArray(body) << ok << message;
        };
        row("B003 deptid 1e19", "B003", R"({"deptid":1e19})", true, found);
        row("B003 deptid -1e300", "B003", R"({"deptid":-1e300,"hospid":1e19})", true, found);
        row("B004 hospid 1e19", "B004", R"({"hospid":1e19})", true, found);
        row("B002 hospid 1e19", "B002", R"({"hospid":1e19})", false, u"医院不存在"_s);
        row("B006 dqym of twenty digits", "B006", R"({"dqym":"9999999999999999999","xssl":100})",
            false, badPage);
        row("B006 dqym 1e19", "B006", R"({"dqym":1e19,"xssl":8})", false, badPage);
        row("B006 dqym one past the last page", "B006", R"({"dqym":1000001})", false, badPage);
        row("B006 dqym not a number", "B006", R"({"dqym":"x"})", false, badPage);
        row("B006 dqym the last page", "B006", R"({"dqym":1000000,"xssl":100})", true, found);
        row("B006 dqym negative", "B006", R"({"dqym":-9999999999,"xssl":2})", true, found);
        row("B006 xssl of twenty digits", "B006", R"({"dqym":1,"xssl":"99999999999999999999"})",
            true, found);
        row("B006 xssl 1e19", "B006", R"({"dqym":2,"xssl":1e19})", true, found);
        row("B007 ysdm 1e19", "B007", R"({"ysdm":1e19})", false, u"医生不存在"_s);
        row("B008 ysdm 1e19", "B008", R"({"ysdm":1e19})", false, u"医生不存在"_s);
        row("B008 pbid 1e19 of a real doctor", "B008", R"({"ysdm":"D0001","pbid":1e19})", true,
            found);
        row("B009 pbid -1e19", "B009", R"({"pbid":-1e19})", false, u"排班不存在"_s);
        row("C001 fzxh 1e19", "C001", R"({"pbid":"%PBID%","fzxh":1e19})", false, noSlot);
        row("C001 fzxh of twenty digits", "C001",
            R"({"pbid":"%PBID%","fzxh":"99999999999999999999"})", false, noSlot);
        row("C001 fzxh negative", "C001", R"({"pbid":"%PBID%","fzxh":-1})", false, noSlot);
        row("C001 pbid 1e300", "C001", R"({"pbid":1e300,"fzxh":1})", false, noSlot);
        row("C001 yhid 1e19", "C001", R"({"yhid":1e19,"pbid":"%PBID%","fzxh":1})", false,
            u"只能为本人预约"_s);
        row("C002 yhid -1e19", "C002", R"({"yhid":-1e19})", false, u"只能查询本人的预约"_s);
        row("C005 yylsh 1e19", "C005", R"({"yylsh":1e19})", false, u"预约记录不存在"_s);
    }

    void outOfRangeNumbers()
    {
        QFETCH(QString, code);
        QFETCH(QByteArray, body);
        // A real half-day of a real doctor, so that only the number under test is wrong.
        const QByteArray schedules =
            m_router->handle("yhm=(null)&jym=B008&bwnr={\"body\":{\"ysdm\":\"D0001\"}}", {}).body;
        const QJsonArray list = QJsonDocument::fromJson(schedules)
                                    .object()
                                    .value(u"body"_s)
                                    .toObject()
                                    .value(u"list"_s)
                                    .toArray();
        QVERIFY(!list.isEmpty());
        body.replace("%PBID%", list.first().toObject().value(u"pbid"_s).toString().toUtf8());
        const QString message =
            u"{\"head\":{\"trcode\":\"%1\"},\"body\":%2}"_s.arg(code, QString::fromUtf8(body));
        const bool user = code.startsWith(u'C');
        const auto caller = RVServiceAccounts(*m_db).caller(u"known"_s);
        QVERIFY(caller);
        const QByteArray form =
            "yhm=" + QByteArray(user ? "known" : "(null)") + "&jym=" + code.toLatin1() +
            "&bwnr=" + (user ? enciphered(message, caller->key) : message.toUtf8());
        const RVServiceRouter::Exchange reply = m_router->handle(form, u"http://h:1"_s);
        QCOMPARE(reply.status, 200);
        const QByteArray text =
            user ? RVCipher::decipherFromHex(QString::fromLatin1(reply.body), caller->key)
                       .value_or(QString())
                       .toUtf8()
                 : reply.body;
        const QJsonObject h = head(text);
        QTEST(h.value(u"succflag"_s).toString() == u"0"_s, "ok");
        QTEST(h.value(u"retmsg"_s).toString(), "message");
        const QJsonValue rows = QJsonDocument::fromJson(text).object().value(u"body"_s)[u"list"_s];
        QVERIFY(rows.toArray().size() <= RVServiceCatalogue::maxPageSize);
    }

    // Raw requests rather than a network access manager: the statuses are those of the
    // service alone, and no TLS back end is loaded into the test.
    void httpLevel_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<int>("status");
        const QByteArray post = "POST /hrzp2/ComService HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                                "Content-Type: application/x-www-form-urlencoded\r\n";
        const QByteArray big(2 * 1024 * 1024, 'x');
        const QByteArray b005 = "yhm=(null)&jym=B005&bwnr={\"body\":{}}";
        QTest::newRow("too large")
            << post + "Content-Length: " + QByteArray::number(big.size()) + "\r\n\r\n" + big << 413;
        QTest::newRow("not a post")
            << QByteArray("GET /hrzp2/ComService HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n") << 405;
        QTest::newRow("not a form") << post + "Content-Length: 7\r\n\r\ngarbage" << 400;
        QTest::newRow("no such path")
            << QByteArray("GET /nothing HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n") << 404;
        QTest::newRow("a query after all that")
            << post + "Content-Length: " + QByteArray::number(b005.size()) + "\r\n\r\n" + b005
            << 200;
    }

    void httpLevel()
    {
        QFETCH(QByteArray, request);
        if (!m_service) {
            QString error;
            const RVServiceOptions options = ServiceTestBackend::options(&error);
            QVERIFY2(error.isEmpty(), qPrintable(error));
            m_service = std::make_unique<RVServiceThread>(options);
            QVERIFY2(m_service->startService(&error), qPrintable(error));
        }
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, m_service->port());
        QVERIFY(socket.waitForConnected(10000));
        socket.write(request);
        QByteArray reply;
        while (!reply.contains("\r\n") && socket.waitForReadyRead(20000))
            reply += socket.readAll();
        QVERIFY2(reply.startsWith("HTTP/1.1 "), reply.left(64).constData());
        QTEST(reply.mid(9, 3).toInt(), "status");
    }

    void cleanupTestCase() { m_service.reset(); }
};

QTEST_GUILESS_MAIN(TestRVServiceRouter)
#include "tst_rvservicerouter.moc"
