// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
// HTTPS end to end: the client's own network layer and RVProtocol against the service started
// with a throw-away CA's certificate for 127.0.0.1.
#include "protocols/rvprotocol.h"
#include "protocols/rvtlstrust.h"
#include "protocols/rvuserregister.h"
#include "service/rvservicethread.h"
#include "service/rvservicetls.h"

#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>

using namespace Qt::StringLiterals;

namespace
{
constexpr int headTimeoutMs = 2000;
std::atomic<int> transactions{0}; // lines of the service's transaction log
QtMessageHandler passOn = nullptr;

void countTransactions(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (qstrcmp(context.category, "rv.service") == 0 && text.contains(u" user="_s))
        ++transactions;
    passOn(type, context, text);
}

QString text(const QJsonValue &value)
{
    return RVBaseInfo::text(value);
}
} // namespace

class TestRVServiceTls : public QObject
{
    Q_OBJECT

    QTemporaryDir m_ours;  // the service's certificate and its CA
    QTemporaryDir m_other; // a CA that did not sign it
    std::unique_ptr<RVServiceThread> m_service;

    void reach(const QString &host, const QString &caFolder)
    {
        RVTlsTrust::setExtraCaFile(caFolder + u"/ca.pem"_s);
        RVProtocol::setServiceEndpoint(QUrl(u"https://%1:%2"_s.arg(host).arg(m_service->port())));
    }

private Q_SLOTS:
    void initTestCase()
    {
        for (const QTemporaryDir *dir : {&m_ours, &m_other})
            QCOMPARE(QProcess::execute(u"" RV_CERTIFICATE_SCRIPT ""_s, {dir->path()}), 0);
        RVServiceOptions options = RVServiceThread::ephemeralOptions();
        options.tlsCertificateFile = m_ours.filePath(u"service.pem"_s);
        options.tlsKeyFile = m_ours.filePath(u"service.key"_s);
        options.limits.headTimeoutMs = headTimeoutMs;
        m_service = std::make_unique<RVServiceThread>(options);
        QString error;
        QVERIFY2(m_service->startService(&error), qPrintable(error));
        passOn = qInstallMessageHandler(countTransactions);
    }
    void cleanupTestCase() { qInstallMessageHandler(passOn); }

    // What stops a start: a missing file, no key, a key of another certificate.
    void unusableIdentityRefused_data()
    {
        QTest::addColumn<QString>("certificate");
        QTest::addColumn<QString>("key");
        const QString ours = m_ours.filePath(u"service.pem"_s);
        QTest::newRow("no certificate")
            << m_ours.filePath(u"missing.pem"_s) << m_ours.filePath(u"service.key"_s);
        QTest::newRow("a certificate as the key") << ours << m_ours.filePath(u"ca.pem"_s);
        QTest::newRow("the key of another") << ours << m_other.filePath(u"service.key"_s);
    }
    void unusableIdentityRefused()
    {
        QFETCH(QString, certificate);
        QFETCH(QString, key);
        QString error;
        QVERIFY(!RVServiceTls::load(certificate, key, &error));
        QVERIFY(!error.isEmpty());
    }

    void bookingRoadOverHttps()
    {
        reach(u"127.0.0.1"_s, m_ours.path());
        RVUserRegister form;
        form.setYhm(u"13900009999"_s);
        form.setMm(u"secret1"_s);
        form.setXm(u"测试用户"_s);
        form.setSfzhm(u"330102199001011234"_s);
        form.setSjhm(u"13900001111"_s);
        form.setDz(u"滨江市测试路1号"_s);
        RVProtocol registration;
        registration.userRegister(form.body_dict());
        QVERIFY2(registration.lastRepuestStats(), qPrintable(registration.lastErrorMsg()));
        RVProtocol login;
        const auto user = login.login(u"13900009999"_s, u"secret1"_s);
        QVERIFY2(login.lastRepuestStats(), qPrintable(login.lastErrorMsg()));
        const auto doctors = RVProtocol().doctorList({}, {}, {}, {}, 1, 40);
        QVERIFY(doctors && !doctors->isEmpty());
        QVERIFY(text(doctors->first().yszp()).startsWith(m_service->baseUrl() + u"/photos/"_s));
        RVDoctorScheduleInfo open;
        for (qsizetype i = 0; i < doctors->size() && text(open.pbid()).isEmpty(); ++i) {
            const auto &d = doctors->at(i);
            const auto days =
                RVProtocol().doctorScheduleForHospital({}, text(d.hospid()), text(d.ysdm()));
            for (const auto &day : days.value_or(RVDoctorScheduleReply::Schedules()))
                for (const RVDoctorScheduleInfo &s : day)
                    if (text(s.jzrq()) > QDate::currentDate().toString(Qt::ISODate) &&
                        RVBaseInfo::intValue(s.jlzt()) == 0 && RVBaseInfo::intValue(s.kyrs()) > 0)
                        open = s;
        }
        const auto slots = RVProtocol().doctorDayScheduleForScheduleId(text(open.pbid()));
        QVERIFY(slots && !slots->isEmpty());
        RVReservationInfo booking;
        booking.setYzhm(RVProtocol::reservationCode());
        booking.setYhid(user->yhid());
        booking.setHospid(open.hospid());
        booking.setPbid(open.pbid());
        booking.setFzxh(slots->first().fzxh());
        booking.setYsdm(open.ysdm());
        booking.setBcbm(open.bcbm());
        QVERIFY(RVProtocol().reseration(booking));
        const auto history = RVProtocol().reserationHistoryListWithTime({}, text(user->yhid()), {});
        QCOMPARE(history.value_or(QList<RVReservationInfo>()).size(), 1);
    }

    // Nothing is sent to a service whose certificate does not verify: the log of the service
    // sees only the honest query that follows.
    void unverifiedServiceGetsNothing_data()
    {
        QTest::addColumn<bool>("otherCa");
        QTest::addColumn<QString>("host");
        QTest::newRow("signed by a CA not trusted") << true << u"127.0.0.1"_s;
        QTest::newRow("certificate for another name") << false << u"localhost"_s;
    }
    void unverifiedServiceGetsNothing()
    {
        QFETCH(bool, otherCa);
        QFETCH(QString, host);
        const int before = transactions.load();
        reach(host, otherCa ? m_other.path() : m_ours.path());
        RVProtocol refused;
        refused.login(u"13800138000"_s, u"123456"_s);
        QVERIFY(!refused.lastRepuestStats());
        QCOMPARE(refused.lastErrorMsg(), u"无法验证服务器的身份"_s);
        reach(u"127.0.0.1"_s, m_ours.path());
        QVERIFY(RVProtocol().hospitalList(QString()));
        QTRY_COMPARE(transactions.load(), before + 1);
    }

    // Clients that connect and never finish a handshake (half of them begin one) hold their
    // connections only until the head's deadline; honest clients are served meanwhile.
    void stalledHandshakesEndAtHeadDeadline()
    {
        std::vector<std::unique_ptr<QTcpSocket>> stalled;
        for (int i = 0; i < 50; ++i) {
            stalled.push_back(std::make_unique<QTcpSocket>());
            stalled.back()->connectToHost(QHostAddress::LocalHost, m_service->port());
            QVERIFY(stalled.back()->waitForConnected(5000));
            if (i % 2 == 1)
                stalled.back()->write("\x16\x03\x01\x02\x00\x01"); // a ClientHello begun
        }
        QElapsedTimer clock;
        clock.start();
        reach(u"127.0.0.1"_s, m_ours.path());
        QVERIFY(RVProtocol().hospitalList(QString()));
        const auto open = [&stalled] {
            return std::count_if(stalled.begin(), stalled.end(), [](const auto &socket) {
                return socket->state() == QAbstractSocket::ConnectedState;
            });
        };
        QVERIFY(clock.elapsed() < headTimeoutMs);
        QCOMPARE(open(), 50);
        QTRY_COMPARE_WITH_TIMEOUT(open(), 0, headTimeoutMs + 2000);
        QVERIFY(clock.elapsed() >= headTimeoutMs - 500);
    }
};

QTEST_GUILESS_MAIN(TestRVServiceTls)
#include "tst_rvservicetls.moc"
