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

    // The reply without its head, which carries the time of the answer.
    static QByteArray ask(RVServiceRouter &router, const QByteArray &code, const QByteArray &body)
    {
        const QByteArray reply =
            router
                .handle("yhm=(null)&jym=" + code + "&bwnr={\"body\":" + body + "}", u"http://h:1"_s)
                .body;
        return reply.left(reply.lastIndexOf(",\"head\":"));
    }

    bool setPlaces(RVServiceDatabase &db, Writer writer, int places)
    {
        const auto update = [&](QSqlDatabase &store) {
            return RVServiceDatabase::exec(store, u"UPDATE schedules SET kyrs = ? WHERE pbid = ?"_s,
                                           {places, m_pbid})
                .has_value();
        };
        if (writer == Writer::Transaction)
            return db.write(update) == RVServiceDatabase::Write::Committed;
        auto session = db.session();
        return update(session.db());
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
        QTest::addColumn<QByteArray>("request"); // the code, a space, the body
        for (const char *request :
             {"B001 {}", R"(B002 {"hospid":"H01"})", R"(B004 {"hospid":"H01","deptid":"K01"})",
              "B005 {}", R"(B006 {"dqym":"2","xssl":"5"})", R"(B007 {"ysdm":"D0001"})",
              R"(B008 {"ysdm":"D0001"})", R"(B009 {"pbid":"PBID"})"})
            QTest::newRow(request) << QByteArray(request);
    }

    void keptAnswersAreTheQueryAnswers()
    {
        QFETCH(QByteArray, request);
        const QByteArray code = request.left(4);
        const QByteArray body = request.mid(5).replace("PBID", m_pbid.toUtf8());
        RVServiceRouter cached(*m_db);
        RVServiceRouter uncached(*m_db, 0);
        const QByteArray first = ask(cached, code, body);
        QVERIFY2(first.size() > 20, first.constData()); // an answer with a body, not a refusal
        QCOMPARE(ask(cached, code, body), first);
        QCOMPARE(ask(uncached, code, body), first);
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
        const auto placesShown = [&] {
            const QByteArray reply = ask(router, "B008", R"({"ysdm":"D0001"})") + '}';
            const QJsonObject body = QJsonDocument::fromJson(reply)[u"body"_s].toObject();
            for (const QJsonValue &item : body[u"list"_s].toArray())
                if (item[u"pbid"_s].toString() == m_pbid)
                    return item[u"kyrs"_s].toString().toInt();
            return -1;
        };
        RVServiceDatabase other(m_location); // a second process's store
        QString error;
        QVERIFY2(writer != Writer::OtherProcess || other.open(&error), qPrintable(error));
        for (int places : {5, 3, 4}) {
            QVERIFY(setPlaces(writer == Writer::OtherProcess ? other : *m_db, writer, places));
            QCOMPARE(placesShown(), places);
            QCOMPARE(placesShown(), places); // and again, now from the cache
        }
    }

    void keepsWithinItsBound()
    {
        RVServiceReplyCache cache(64 * 1024);
        const auto page = RVServiceOutcome::success(u"查询成功"_s, QByteArray(1024, 'x'));
        for (int i = 0; i < 1000; ++i)
            cache.insert(QByteArray::number(i), "1", page);
        int kept = 0;
        for (int i = 0; i < 1000; ++i)
            kept += cache.find(QByteArray::number(i), "1") ? 1 : 0;
        QVERIFY2(kept > 0 && kept < 64, qPrintable(QString::number(kept)));
        QVERIFY(cache.find("999", "1"));  // the newest stay
        QVERIFY(!cache.find("999", "2")); // for their own version only
    }
};

QTEST_GUILESS_MAIN(TestRVServiceReplyCache)
#include "tst_rvservicereplycache.moc"
