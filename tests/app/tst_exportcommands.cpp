// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
// The exports of rv-patient's command line against the stand-in service, read back by tools
// of their own: the calendar by python3-icalendar, the pass by pdfinfo, pdftoppm and zbarimg.
#include "app/rvdemoinputs.h"
#include "models/rvbooking.h"
#include "protocols/rvprotocol.h"
#include "service/rvservicethread.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

using namespace Qt::StringLiterals;

namespace
{
struct Run {
    int status = -1;
    QString out;
    QString err;
};

Run run(const QString &program, const QStringList &arguments, const QProcessEnvironment &env = {})
{
    QProcess process;
    if (!env.isEmpty())
        process.setProcessEnvironment(env);
    process.start(program, arguments);
    if (!process.waitForFinished(120000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

const QString hospitalName = u"北京协和医院（东院）, 国际医疗部; 第一门诊楼\\南区急诊挂号处"_s;
const QString hospitalAddress = u"北京市东城区帅府园一号\n东单北大街53号"_s;
const QString doctorName = u"王医生; 主任\\医师"_s;
} // namespace

class TestExportCommands : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<RVServiceThread> m_service;
    QList<RVReservationInfo> m_booked;

    QString path(const QString &name) const { return m_dir.filePath(name); }

    // The saved login as a run without a keyring leaves it, logged in or with the flag cleared.
    void saveLogin(bool loggedIn)
    {
        QDir().mkpath(path(u"config/rv/rv-patient"_s));
        QFile file(path(u"config/rv/rv-patient/userdefaults.json"_s));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QJsonObject saved = QJsonDocument::fromJson(file.readAll()).object();
        if (!saved.contains(u"UserInfo"_s))
            saved.insert(u"UserInfo"_s, QJsonObject{{u"yhm"_s, RVDemoInputs::demoAccountName()}});
        saved.insert(u"Password"_s, RVDemoInputs::demoAccountPassword());
        saved.insert(u"LoginSuccess"_s, loggedIn);
        file.resize(0);
        file.write(QJsonDocument(saved).toJson());
    }

    Run patient(const QStringList &arguments) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"XDG_CONFIG_HOME"_s, path(u"config"_s));
        // No bus: the saved password must never reach the keyring of the user running the tests.
        env.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, u"unix:path=/nonexistent"_s);
        env.insert(u"XDG_DATA_HOME"_s, path(u"data"_s));
        // The events' times must not follow the device's own zone.
        env.insert(u"TZ"_s, u"America/New_York"_s);
        return run(QStringLiteral(RV_PATIENT_EXE),
                   QStringList{u"--service"_s, u"127.0.0.1:%1"_s.arg(m_port)} + arguments, env);
    }

    // The events of an export, keyed by the serial number of the booking each one is for.
    QHash<QString, QJsonObject> exportCalendar(const QString &name)
    {
        const Run exported = patient({u"--export-calendar"_s, path(name)});
        if (exported.status != 0 || exported.out.trimmed() != QString::number(m_booked.size()))
            qWarning() << "export failed:" << exported.status << exported.out << exported.err;
        const Run read = run(QStringLiteral(RV_PYTHON3),
                             {QStringLiteral(RV_SOURCE_DIR "/read_calendar.py"), path(name)});
        if (read.status != 0)
            qWarning() << "calendar rejected:" << read.err;
        QHash<QString, QJsonObject> events;
        for (const QJsonValue &event : QJsonDocument::fromJson(read.out.toUtf8()).array()) {
            for (const RVReservationInfo &b : m_booked) {
                const QString yylsh = RVBaseInfo::text(b.yylsh());
                if (event[u"uid"_s].toString().contains(yylsh))
                    events.insert(yylsh, event.toObject());
            }
        }
        return events;
    }

    quint16 m_port = 0;

private Q_SLOTS:
    // The demo account books two slots; then the catalogue gets names that need escaping and
    // folding.
    void initTestCase()
    {
        RVServiceOptions options = RVServiceThread::ephemeralOptions();
        options.databasePath = path(u"service.sqlite"_s);
        m_service = std::make_unique<RVServiceThread>(options);
        QString error;
        QVERIFY2(m_service->startService(&error), qPrintable(error));
        m_port = m_service->port();
        RVProtocol::setServiceEndpoint(u"127.0.0.1"_s, m_port);
        const auto user = RVProtocol().login(RVDemoInputs::demoAccountName(),
                                             RVDemoInputs::demoAccountPassword());
        QVERIFY(user);
        const RVDemoInputs demo = RVDemoInputs::fetch(QDate::currentDate());
        QVERIFY(demo.doctor && demo.schedule);
        const auto slots =
            RVProtocol().doctorDayScheduleForScheduleId(RVBaseInfo::text(demo.schedule->pbid()));
        QVERIFY(slots && slots->size() >= 2);
        for (int i = 0; i < 2; ++i) {
            const auto made = RVBooking(*user, *demo.doctor, *demo.schedule, slots->at(i)).book();
            QVERIFY2(made.ok && made.booking, qPrintable(made.message));
            m_booked.append(*made.booking);
        }
        {
            auto db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"service"_s);
            db.setDatabaseName(options.databasePath);
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.prepare(
                u"UPDATE hospitals SET yymc = ?, yydz = ?, yydh = ? WHERE hospid = ?"_s));
            query.addBindValue(hospitalName);
            query.addBindValue(hospitalAddress);
            query.addBindValue(u"010-69156114"_s);
            query.addBindValue(RVBaseInfo::text(m_booked.first().hospid()));
            QVERIFY(query.exec() && query.numRowsAffected() == 1);
            QVERIFY(query.prepare(u"UPDATE doctors SET ysmc = ? WHERE ysdm = ?"_s));
            query.addBindValue(doctorName);
            query.addBindValue(RVBaseInfo::text(m_booked.first().ysdm()));
            QVERIFY(query.exec() && query.numRowsAffected() == 1);
        }
        QSqlDatabase::removeDatabase(u"service"_s);
        saveLogin(true);
    }

    // One pass per open booking; the page is A6 and its code scans to the booking.
    void passesScanToTheirBookings()
    {
        const Run exported = patient({u"--export-passes"_s, path(u"passes"_s)});
        QCOMPARE(exported.status, 0);
        QCOMPARE(exported.out.trimmed(), u"2"_s);
        const RVReservationInfo &b = m_booked.first();
        const QString pdf = path(u"passes/%1.pdf"_s.arg(RVBaseInfo::text(b.yylsh())));
        // A6 is 105 by 148 mm: 297.64 by 419.53 points, which the PDF may round.
        const Run info = run(QStringLiteral(RV_PDFINFO), {pdf});
        const auto size =
            QRegularExpression(u"Page size: +([0-9.]+) x ([0-9.]+) pts"_s).match(info.out);
        QVERIFY2(size.hasMatch(), qPrintable(info.out + info.err));
        QVERIFY(qAbs(size.captured(1).toDouble() - 297.64) < 1);
        QVERIFY(qAbs(size.captured(2).toDouble() - 419.53) < 1);
        QCOMPARE(run(QStringLiteral(RV_PDFTOPPM),
                     {u"-r"_s, u"200"_s, u"-png"_s, u"-singlefile"_s, pdf, path(u"page"_s)})
                     .status,
                 0);
        const Run scanned =
            run(QStringLiteral(RV_ZBARIMG), {u"--raw"_s, u"-q"_s, path(u"page.png"_s)});
        QCOMPARE(scanned.out.trimmed(),
                 u"rvbooking:%1?hospid=%2&pbid=%3&fzxh=%4&jzrq=%5"_s.arg(
                     RVBaseInfo::text(b.yylsh()), RVBaseInfo::text(b.hospid()),
                     RVBaseInfo::text(b.pbid()), RVBaseInfo::text(b.fzxh()),
                     RVBaseInfo::text(b.jzrq()).replace(u' ', u"%20"_s)));
    }

    // Each export holds every booking under the same identifier; a cancel comes out cancelled
    // (higher sequence, no alarm, said in the title); without the service the kept bookings.
    void calendarFollowsTheBookings()
    {
        const auto first = exportCalendar(u"first.ics"_s);
        QCOMPARE(first.size(), 2);
        for (const RVReservationInfo &b : m_booked) {
            const QJsonObject event = first.value(RVBaseInfo::text(b.yylsh()));
            QDateTime start =
                QDateTime::fromString(RVBaseInfo::text(b.jzrq()), u"yyyy-MM-dd HH:mm:ss"_s);
            start.setTimeZone(QTimeZone(8 * 3600));
            QCOMPARE(event[u"start"_s].toDouble(), double(start.toSecsSinceEpoch()));
            QCOMPARE(event[u"minutes"_s].toDouble(), 30.0);
            QCOMPARE(event[u"alarms"_s].toArray(), (QJsonArray{-86400.0, -7200.0}));
            QCOMPARE(event[u"status"_s].toString(), u"CONFIRMED"_s);
            const QString summary = event[u"summary"_s].toString();
            QVERIFY2(summary.contains(doctorName) && summary.contains(RVBaseInfo::text(b.bzksmc())),
                     qPrintable(summary));
            QVERIFY(event[u"location"_s].toString().contains(hospitalName));
            QVERIFY(event[u"location"_s].toString().contains(hospitalAddress));
            QVERIFY(event[u"description"_s].toString().contains(RVBaseInfo::text(b.fzxh())));
            QVERIFY(event[u"description"_s].toString().contains(u"010-69156114"_s));
        }
        const QString cancelled = RVBaseInfo::text(m_booked.first().yylsh());
        QVERIFY(RVProtocol().removeReserationWithUserId(RVBaseInfo::text(m_booked.first().yhid()),
                                                        cancelled));
        const auto second = exportCalendar(u"second.ics"_s);
        QCOMPARE(second.value(cancelled)[u"status"_s].toString(), u"CANCELLED"_s);
        QCOMPARE(second.value(cancelled)[u"alarms"_s].toArray(), QJsonArray());
        QVERIFY(second.value(cancelled)[u"summary"_s].toString().startsWith(u"已取消："_s));
        QVERIFY(second.value(cancelled)[u"sequence"_s].toInt() >
                first.value(cancelled)[u"sequence"_s].toInt());
        for (const QString &yylsh : second.keys())
            QCOMPARE(second.value(yylsh)[u"uid"_s], first.value(yylsh)[u"uid"_s]);

        m_service.reset();
        const auto offline = exportCalendar(u"offline.ics"_s);
        QCOMPARE(offline.size(), 2);
        for (const QString &yylsh : second.keys()) {
            QJsonObject kept = offline.value(yylsh), listed = second.value(yylsh);
            QCOMPARE(kept, listed);
        }
    }

    void failuresAreToldAndEndNonZero_data()
    {
        QTest::addColumn<bool>("loggedIn");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("message");
        QTest::newRow("nobody logged in") << false << u"out.ics"_s << u"nobody is logged in"_s;
        QTest::newRow("unwritable file")
            << true << u"missing/folder/out.ics"_s << u"cannot write"_s;
    }
    void failuresAreToldAndEndNonZero()
    {
        QFETCH(bool, loggedIn);
        QFETCH(QString, target);
        QFETCH(QString, message);
        saveLogin(loggedIn);
        const Run exported = patient({u"--export-calendar"_s, path(target)});
        QVERIFY(exported.status > 0);
        QVERIFY2(exported.err.contains(message), qPrintable(exported.err));
        QVERIFY(!QFile::exists(path(target)));
    }
};

QTEST_GUILESS_MAIN(TestExportCommands)
#include "tst_exportcommands.moc"
