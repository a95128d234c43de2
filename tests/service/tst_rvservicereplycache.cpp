// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
// The reply cache: a kept answer is the answer the query gives, byte for byte, no kept answer
// outlives a change of the data, whoever makes it, and the kept answers stay within bounds.
#include "service/rvservicedatabase.h"
#include "service/rvservicereplycache.h"
#include "service/rvservicerouter.h"
#include "service/rvserviceseeder.h"
#include "servicetestbackend.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestRVServiceReplyCache : public QObject
{
    Q_OBJECT

private:
    enum class Writer { Transaction, Autocommit, OtherProcess };
    QTemporaryDir m_dir;
    QString m_location;
    std::unique_ptr<RVServiceDatabase> m_db;
    QString m_pbid; // a half-day of tomorrow

    // The reply to "CODE BODY" without its head, which carries the time of the answer.
    QByteArray ask(RVServiceRouter &router, QByteArray request)
    {
        request.replace("PBID", m_pbid.toUtf8());
        const QByteArray form = "yhm=&jym=" + request.left(4) + "&bwnr={\"body\":" + request.mid(5);
        const QByteArray reply = router.handle(form + '}', u"http://h:1"_s).body;
        return reply.left(reply.lastIndexOf(",\"head\":"));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QString error;
        m_location = ServiceTestBackend::freshLocation(m_dir.filePath(u"cache.sqlite"_s), &error);
        QVERIFY2(!m_location.isEmpty(), qPrintable(error));
        m_db = std::make_unique<RVServiceDatabase>(m_location);
        QVERIFY2(m_db->open(&error), qPrintable(error));
        QVERIFY(RVServiceSeeder(*m_db).seed(QDate::currentDate()));
        auto session = m_db->session();
        auto query = RVServiceDatabase::exec(
            session.db(), u"SELECT pbid FROM schedules WHERE ysdm = 'D0001' AND jzrq = ?"_s,
            {QDate::currentDate().addDays(1).toString(u"yyyy-MM-dd"_s)});
        QVERIFY(query && query->next());
        m_pbid = query->value(0).toString();
    }

    void keptAnswersAreTheQueryAnswers_data()
    {
        QTest::addColumn<QByteArray>("request");
        for (const char *request :
             {"B001 {}", R"(B002 {"hospid":"H01"})", R"(B004 {"hospid":"H01","deptid":"K01"})",
              "B005 {}", R"(B006 {"dqym":"2","xssl":"5"})", R"(B007 {"ysdm":"D0001"})",
              R"(B008 {"ysdm":"D0001"})", R"(B009 {"pbid":"PBID"})"})
            QTest::newRow(request) << QByteArray(request);
    }

    void keptAnswersAreTheQueryAnswers()
    {
        QFETCH(QByteArray, request);
        RVServiceRouter cached(*m_db), uncached(*m_db, 0);
        const QByteArray first = ask(cached, request);
        QVERIFY2(first.size() > 20, first.constData()); // an answer with a body, not a refusal
        QCOMPARE(ask(cached, request), first);
        QCOMPARE(ask(uncached, request), first);
    }

    void noKeptAnswerOutlivesAChange_data()
    {
        QTest::addColumn<Writer>("writer");
        QTest::newRow("write transaction here") << Writer::Transaction;
        QTest::newRow("single statement here") << Writer::Autocommit;
        QTest::newRow("another process") << Writer::OtherProcess;
    }

    void noKeptAnswerOutlivesAChange()
    {
        QFETCH(Writer, writer);
        RVServiceRouter router(*m_db);
        RVServiceDatabase other(m_location); // a second process's store
        QString error;
        QVERIFY2(writer != Writer::OtherProcess || other.open(&error), qPrintable(error));
        RVServiceDatabase &writing = writer == Writer::OtherProcess ? other : *m_db;
        for (int places : {5, 3, 4}) {
            const auto update = [&](QSqlDatabase &db) {
                return RVServiceDatabase::exec(
                           db, u"UPDATE schedules SET kyrs = ? WHERE pbid = ?"_s, {places, m_pbid})
                    .has_value();
            };
            const auto alone = [&] {
                auto session = writing.session();
                return update(session.db());
            };
            QVERIFY(writer == Writer::Transaction
                        ? writing.write(update) == RVServiceDatabase::Write::Committed
                        : alone());
            for (int time = 0; time < 2; ++time) { // the second time from the cache
                const QByteArray reply = ask(router, R"(B008 {"ysdm":"D0001"})") + '}';
                int shown = -1;
                for (const QJsonValue &item :
                     QJsonDocument::fromJson(reply)[u"body"_s][u"list"_s].toArray())
                    if (item[u"pbid"_s] == m_pbid)
                        shown = item[u"kyrs"_s].toString().toInt();
                QCOMPARE(shown, places);
            }
        }
    }

    void keepsWithinItsBound()
    {
        RVServiceReplyCache cache(64 * 1024);
        const auto page = RVServiceOutcome::success(u"查询成功"_s, QByteArray(1024, 'x'));
        int kept = 0;
        for (int i = 0; i < 1000; ++i)
            cache.insert(QByteArray::number(i), "1", page);
        for (int i = 0; i < 1000; ++i)
            kept += cache.find(QByteArray::number(i), "1") ? 1 : 0;
        QVERIFY2(kept > 0 && kept < 64, qPrintable(QString::number(kept)));
        QVERIFY(cache.find("999", "1") && !cache.find("999", "2")); // the newest, for their version
    }
};

QTEST_GUILESS_MAIN(TestRVServiceReplyCache)
#include "tst_rvservicereplycache.moc"
