// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
// Two rv-service processes on one store (a SQLite file, or one PostgreSQL database): they start
// together on it, clients book through both at once, and one of them is killed in the middle.
#include "protocols/rvcipher.h"
#include "protocols/rvhttpexchange.h"
#include "service/rvservicedatabase.h"
#include "servicetestbackend.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <latch>
#include <thread>

using namespace Qt::StringLiterals;

namespace
{
struct Patient {
    QString yhm, yhid, key;
};

// One exchange through the application's network layer: the opened reply, or nullopt when no
// answer came.
std::optional<QJsonObject> call(quint16 port, const Patient &p, const QString &code,
                                const QJsonObject &body)
{
    const QJsonObject envelope{{u"head"_s, QJsonObject{{u"trcode"_s, code}}}, {u"body"_s, body}};
    const QString json = QString::fromUtf8(QJsonDocument(envelope).toJson(QJsonDocument::Compact));
    QUrl url(u"http://127.0.0.1/hrzp2/ComService"_s);
    url.setPort(port);
    const auto result = RVHttpExchange::postBlocking(
        url, u"yhm=%1&jym=%2&bwnr=%3"_s.arg(p.yhm, code, *RVCipher::encipherToHex(json, p.key))
                 .toUtf8());
    const auto text = RVCipher::decipherFromHex(QString::fromLatin1(result.body), p.key);
    if (result.transportError || result.statusCode != 200 || !text)
        return std::nullopt;
    return QJsonDocument::fromJson(text->toUtf8()).object();
}

bool succeeded(const std::optional<QJsonObject> &reply)
{
    return reply && reply->value(u"head"_s)[u"succflag"_s].toString() == u"0"_s;
}

// The serial numbers of the reply's bookings that are live.
QStringList liveBookings(const std::optional<QJsonObject> &reply)
{
    QStringList serials;
    for (const QJsonValue &b : reply->value(u"body"_s)[u"list"_s].toArray())
        if (b[u"yyzt"_s].toString() == u"0"_s)
            serials.append(b[u"yylsh"_s].toString());
    return serials;
}
} // namespace

class TestRVServiceMultiProcess : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<RVServiceDatabase> m_db;
    QProcess m_services[2]; // killed when the test ends
    quint16 m_ports[2] = {0, 0};
    QList<Patient> m_patients;
    QString m_lastHalfDay = u""_s; // not NULL: the first is greater than it

    QVariant scalar(const QString &sql, const QVariantList &values = {})
    {
        auto session = m_db->session();
        auto query = RVServiceDatabase::exec(session.db(), sql, values);
        return query && query->next() ? query->value(0) : QVariant();
    }

    // A bookable half-day from tomorrow on, not used before, with its places set.
    QString halfDay(int places)
    {
        m_lastHalfDay = scalar(u"SELECT pbid FROM schedules WHERE jzrq > ? AND jlzt = 0"
                               " AND kyrs = 8 AND pbid > ? ORDER BY pbid LIMIT 1"_s,
                               {QDate::currentDate().toString(u"yyyy-MM-dd"_s), m_lastHalfDay})
                            .toString();
        scalar(u"UPDATE schedules SET kyrs = ? WHERE pbid = ?"_s, {places, m_lastHalfDay});
        return m_lastHalfDay;
    }

    std::optional<QJsonObject> book(int client, const QString &pbid, int fzxh)
    {
        const Patient &p = m_patients.at(client);
        return call(m_ports[client % 2], p, u"C001"_s,
                    {{u"pbid"_s, pbid}, {u"fzxh"_s, QString::number(fzxh)}, {u"yhid"_s, p.yhid}});
    }

    // Open places and live bookings of a half-day together.
    int placesAndBookings(const QString &pbid)
    {
        return scalar(u"SELECT s.kyrs + (SELECT COUNT(*) FROM bookings b JOIN slots t"
                      " ON t.id = b.slot WHERE t.pbid = s.pbid AND b.yyzt = '0')"
                      " FROM schedules s WHERE s.pbid = ?"_s,
                      {pbid})
            .toInt();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QString error;
        const QString location =
            ServiceTestBackend::freshLocation(m_dir.filePath(u"store.sqlite"_s), &error);
        QVERIFY2(!location.isEmpty(), qPrintable(error));
        for (QProcess &service : m_services) { // both at once on the new store
            service.setStandardErrorFile(QProcess::nullDevice());
            service.start(QStringLiteral(RV_SERVICE_EXECUTABLE),
                          {u"--listen"_s, u"127.0.0.1:0"_s, u"--db"_s, location});
        }
        static const QRegularExpression port(u"listening on http://127.0.0.1:(\\d+)"_s);
        for (int i = 0; i < 2; ++i) {
            QVERIFY(m_services[i].waitForReadyRead(60'000));
            m_ports[i] =
                port.match(QString::fromUtf8(m_services[i].readLine())).captured(1).toUShort();
        }
        m_db = std::make_unique<RVServiceDatabase>(location);
        QVERIFY2(m_db->open(&error), qPrintable(error));
        QCOMPARE(scalar(u"SELECT COUNT(*) FROM users"_s).toInt(), 1); // the demo account, once
        for (int i = 0; i < 16; ++i) {
            const QString yhm = u"1370000%1"_s.arg(i, 4, 10, QChar(u'0'));
            const auto made = call(m_ports[i % 2], {yhm, {}, RVCipher::fixedKeyText()}, u"A001"_s,
                                   {{u"yhm"_s, yhm},
                                    {u"mm"_s, u"secret1"_s},
                                    {u"xm"_s, u"张三"_s},
                                    {u"sfzhm"_s, u"330102199001011234"_s},
                                    {u"sjhm"_s, yhm}});
            QVERIFY(succeeded(made));
            const QJsonValue user = made->value(u"body"_s);
            m_patients.append({yhm, user[u"yhid"_s].toString(), user[u"gzmy"_s].toString()});
        }
    }

    void lastPlaceThroughBothGoesToExactlyOne()
    {
        const QString pbid = halfDay(1);
        std::atomic<int> granted{0};
        std::latch start(m_patients.size());
        std::vector<std::thread> clients;
        for (int c = 0; c < m_patients.size(); ++c)
            clients.emplace_back([&, c] {
                start.arrive_and_wait();
                granted += succeeded(book(c, pbid, c % 8 + 1)) ? 1 : 0;
            });
        for (std::thread &t : clients)
            t.join();
        QCOMPARE(granted.load(), 1);
        QCOMPARE(placesAndBookings(pbid), 1); // and no place left
    }

    void killedServiceLosesNoConfirmedBooking()
    {
        const QStringList pbids{halfDay(8), halfDay(8), halfDay(8)};
        std::vector<QStringList> confirmed(m_patients.size()); // what each client was told was made
        std::atomic<bool> killed{false}, stop{false};
        std::atomic<int> beforeKill{0};
        std::vector<std::thread> clients;
        for (int c = 0; c < m_patients.size(); ++c) {
            clients.emplace_back([&, c] {
                auto *random = QRandomGenerator::global();
                while (!stop) {
                    const auto reply =
                        book(c, pbids.at(random->bounded(3)), random->bounded(8) + 1);
                    if (!reply && killed && c % 2 == 0)
                        return; // its service is gone
                    const QStringList made = succeeded(reply) ? liveBookings(reply) : QStringList();
                    if (made.isEmpty())
                        continue;
                    beforeKill += killed ? 0 : 1;
                    // Every other booking is cancelled at once; a cancel without an answer leaves
                    // its booking in doubt, so cancelled ones are not counted either way.
                    if (random->bounded(2) == 0) {
                        const Patient &p = m_patients.at(c);
                        call(m_ports[c % 2], p, u"C005"_s,
                             {{u"yhid"_s, p.yhid}, {u"yylsh"_s, made[0]}});
                        continue;
                    }
                    confirmed[c].append(made[0]);
                }
            });
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        killed = true;
        m_services[0].kill(); // SIGKILL, in the middle of the load
        std::this_thread::sleep_for(std::chrono::milliseconds(1000));
        stop = true;
        for (std::thread &t : clients)
            t.join();
        QVERIFY(beforeKill > 0);
        for (int c = 0; c < m_patients.size(); ++c) {
            const auto listed =
                call(m_ports[1], m_patients[c], u"C002"_s, {{u"yhid"_s, m_patients[c].yhid}});
            QVERIFY(succeeded(listed));
            for (const QString &yylsh : confirmed[c])
                QVERIFY2(liveBookings(listed).contains(yylsh), qPrintable(yylsh));
        }
        for (const QString &pbid : pbids)
            QCOMPARE(placesAndBookings(pbid), 8);
    }
};

QTEST_GUILESS_MAIN(TestRVServiceMultiProcess)
#include "tst_rvservicemultiprocess.moc"
