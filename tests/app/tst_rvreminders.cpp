// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
// Runs under dbus-run-session: a private session bus, on which a fake notification service
// records what it is asked to show.
#include "app/rvreminders.h"
#include "models/rvbookingstore.h"
#include "platform/desktopnotifier.h"
#include "protocols/rvappconfiginfo.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTimeZone>

using namespace Qt::StringLiterals;

namespace
{
const QString kEntry = u"org.rvpatient.RVPatient"_s;
const QString kPath = u"/org/freedesktop/Notifications"_s;
const QString kName = u"org.freedesktop.Notifications"_s;
} // namespace

class FakeNotifications : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    QList<QVariantList> calls;

public Q_SLOTS:
    uint Notify(const QString &app, uint replaces, const QString &icon, const QString &summary,
                const QString &body, const QStringList &actions, const QVariantMap &hints, int)
    {
        calls.append(
            {app, replaces, icon, summary, body, actions, hints.value(u"desktop-entry"_s)});
        return uint(calls.size());
    }
};

class TestRVReminders : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY2(QDBusConnection::sessionBus().isConnected(),
                 "no session bus: run this test under dbus-run-session (Debian package dbus)");
        QVERIFY(m_fakeBus.registerObject(kPath, &m_fake, QDBusConnection::ExportAllSlots));
        QVERIFY2(m_fakeBus.registerService(kName), "the fake notification service has no name");
        RVUserInfo user;
        user.setYhid(u"7"_s);
        RVAppConfigInfo config;
        config.setUserInfo(user);
        config.setLastLoginSuccess(true);
        QVERIFY(config.saveNSUserDefaults());
    }
    void init()
    {
        QVERIFY(RVBookingStore::remove(u"7"_s));
        const QDateTime now = QDateTime::currentDateTime().toTimeZone(QTimeZone(8 * 3600));
        QVERIFY(m_store.saveList({RVBaseInfo::fromDictionary<RVReservationInfo>(
            QJsonObject{{u"yylsh"_s, u"L1"_s},
                        {u"yyzt"_s, u"0"_s},
                        {u"ysmc"_s, u"王医生"_s},
                        {u"hospid"_s, u"H1"_s},
                        {u"jzrq"_s, now.addSecs(7140).toString(u"yyyy-MM-dd HH:mm:ss"_s)}})}));
        QVERIFY(m_store.saveHospital(RVBaseInfo::fromDictionary<RVHospitalInfo>(
            QJsonObject{{u"hospid"_s, u"H1"_s}, {u"yymc"_s, u"第一医院"_s}})));
        m_fake.calls.clear();
    }

    // A visit two hours ahead is reminded at once, with the application's entry and "查看",
    // which opens the booking; a second start shows it no more.
    void aVisitTwoHoursAheadIsRemindedOnce()
    {
        {
            platform::DesktopNotifier notifier(kEntry);
            RVReminders reminders(&notifier);
            QTRY_COMPARE(m_fake.calls.size(), 1);
            const QVariantList call = m_fake.calls.first();
            QCOMPARE((QStringList{call.value(0).toString(), call.value(6).toString()}),
                     QStringList(2, kEntry));
            const QString body = call.value(4).toString();
            QVERIFY(body.contains(u"王医生"_s) && body.contains(u"第一医院"_s));
            QCOMPARE(call.value(5).toStringList(),
                     (QStringList{u"default"_s, u"查看"_s, u"view"_s, u"查看"_s}));
            QTRY_COMPARE(m_store.shownReminders().size(), 1);

            QSignalSpy asked(&reminders, &RVReminders::viewRequested);
            m_fakeBus.send(QDBusMessage::createSignal(kPath, kName, u"ActionInvoked"_s)
                           << 1u << u"view"_s);
            QVERIFY(asked.wait());
            const auto booking = asked.first().first().value<std::optional<RVReservationInfo>>();
            QCOMPARE(booking.value_or(RVReservationInfo()).yylsh(), QJsonValue(u"L1"_s));
        }
        platform::DesktopNotifier notifier(kEntry);
        RVReminders reminders(&notifier);
        QVERIFY(QSignalSpy(&reminders, &RVReminders::loaded).wait());
        // Sent after whatever the start sent: when it arrives, nothing else came before it.
        QVERIFY(notifier.notify(u"probe"_s, u"probe"_s, {}));
        QTRY_COMPARE(m_fake.calls.size(), 2);
        QCOMPARE(m_fake.calls.last().value(3).toString(), u"probe"_s);
    }

    // Without a bus, or without a notification service on it, nothing fails and nothing counts
    // as shown: a later start tries again.
    void withoutServiceNothingIsShown_data()
    {
        QTest::addColumn<bool>("bus");
        QTest::newRow("no session bus") << false;
        QTest::newRow("no notification service") << true;
    }
    void withoutServiceNothingIsShown()
    {
        QFETCH(bool, bus);
        const QDBusConnection connection =
            bus ? QDBusConnection::sessionBus()
                : QDBusConnection::connectToBus(u"unix:path=/nonexistent/bus"_s, u"none"_s);
        QVERIFY(m_fakeBus.unregisterService(kName));
        platform::DesktopNotifier notifier(kEntry, connection);
        QSignalSpy failed(&notifier, &platform::DesktopNotifier::failed);
        RVReminders reminders(&notifier);
        QCOMPARE(failed.wait(bus ? 5000 : 300), bus);
        QVERIFY(m_fake.calls.isEmpty() && m_store.shownReminders().isEmpty());
        QVERIFY(m_fakeBus.registerService(kName));
    }

private:
    QDBusConnection m_fakeBus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, u"fake-notifications"_s);
    FakeNotifications m_fake;
    RVBookingStore m_store{u"7"_s};
};

QTEST_MAIN(TestRVReminders)
#include "tst_rvreminders.moc"
