// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
// Bad input at the booking endpoint: every malformed exchange ends in a clear refusal (or an
// HTTP error where no envelope can be read), never in a crash.
#include "protocols/rvcipher.h"
#include "service/rvserviceaccounts.h"
#include "service/rvservicedatabase.h"
#include "service/rvserviceenvelope.h"
#include "service/rvservicerouter.h"
#include "service/rvserviceseeder.h"
#include "service/rvservicethread.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{
const QString userKey = u"00112233445566778899aabbccddeeff0011223344556677"_s;

QByteArray enciphered(const QString &text, const QString &key)
{
    return RVCipher::encipherToHex(text, key).value_or(QString()).toLatin1();
}

QJsonObject head(const QByteArray &reply)
{
    return QJsonDocument::fromJson(reply).object().value(u"head"_s).toObject();
}
} // namespace

class TestRVServiceRouter : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<RVServiceDatabase> m_db;
    std::unique_ptr<RVServiceRouter> m_router;

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        m_db = std::make_unique<RVServiceDatabase>(u":memory:"_s);
        QString error;
        QVERIFY(m_db->open(&error));
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

    void httpLevel()
    {
        RVServiceThread service;
        QString error;
        QVERIFY2(service.startService(&error), qPrintable(error));
        QNetworkAccessManager manager;
        const QUrl endpoint(service.baseUrl() + u"/hrzp2/ComService"_s);
        const auto statusOf = [](QNetworkReply *reply) {
            QSignalSpy done(reply, &QNetworkReply::finished);
            const bool finished = done.wait(20000);
            const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
            reply->deleteLater();
            return finished ? status : -1;
        };
        QNetworkRequest request(endpoint);
        request.setHeader(QNetworkRequest::ContentTypeHeader,
                          QByteArray("application/x-www-form-urlencoded"));
        QCOMPARE(statusOf(manager.post(request, QByteArray(2 * 1024 * 1024, 'x'))), 413);
        QCOMPARE(statusOf(manager.get(request)), 405);
        QCOMPARE(statusOf(manager.post(request, QByteArray("garbage"))), 400);
        QCOMPARE(statusOf(manager.get(QNetworkRequest(QUrl(service.baseUrl() + u"/nothing"_s)))),
                 404);
        // The service is still there after all that.
        QCOMPARE(
            statusOf(manager.post(request, QByteArray("yhm=(null)&jym=B005&bwnr={\"body\":{}}"))),
            200);
    }
};

QTEST_GUILESS_MAIN(TestRVServiceRouter)
#include "tst_rvservicerouter.moc"
