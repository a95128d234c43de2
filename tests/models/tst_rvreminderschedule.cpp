// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvreminderschedule.h"

#include <QTest>
#include <QTimeZone>

using namespace Qt::StringLiterals;

namespace
{
const QDateTime kNow(QDate(2026, 3, 10), QTime(8, 0), QTimeZone(8 * 3600));

RVReservationInfo bookingAt(qint64 secondsAhead, const QString &yyzt)
{
    return RVBaseInfo::fromDictionary<RVReservationInfo>(
        QJsonObject{{u"yylsh"_s, u"L1"_s},
                    {u"yyzt"_s, yyzt},
                    {u"jzrq"_s, kNow.addSecs(secondsAhead).toString(u"yyyy-MM-dd HH:mm:ss"_s)}});
}

QString markName(RVReminderSchedule::Mark mark)
{
    return mark == RVReminderSchedule::Mark::DayBefore ? u"day"_s : u"2h"_s;
}
} // namespace

class TestRVReminderSchedule : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // One open booking at `ahead` seconds from now; `shown` names the marks already shown.
    void dueAndNext_data()
    {
        QTest::addColumn<qint64>("ahead");
        QTest::addColumn<QString>("yyzt");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("due");
        QTest::addColumn<qint64>("next"); // seconds from now; -1: none

        const qint64 h = 3600;
        const QStringList none;
        QTest::newRow("a week ahead") << 7 * 24 * h << u"0"_s << none << QString() << 6 * 24 * h;
        QTest::newRow("a second before the day mark")
            << 24 * h + 1 << u"0"_s << none << QString() << qint64(1);
        QTest::newRow("at the day mark") << 24 * h << u"0"_s << none << u"day"_s << 22 * h;
        QTest::newRow("day mark shown")
            << 23 * h << u"0"_s << QStringList{u"day"_s} << QString() << 21 * h;
        QTest::newRow("at the two-hour mark")
            << 2 * h << u"0"_s << QStringList{u"day"_s} << u"2h"_s << qint64(-1);
        QTest::newRow("day mark passed unseen") << 10 * h << u"0"_s << none << u"day"_s << 8 * h;
        QTest::newRow("both passed unseen: the later alone")
            << h << u"0"_s << none << u"2h"_s << qint64(-1);
        QTest::newRow("two-hour mark shown")
            << h << u"0"_s << QStringList{u"2h"_s} << QString() << qint64(-1);
        QTest::newRow("visit begun") << qint64(0) << u"0"_s << none << QString() << qint64(-1);
        QTest::newRow("cancelled") << h << u"1"_s << none << QString() << qint64(-1);
    }
    void dueAndNext()
    {
        QFETCH(qint64, ahead);
        QFETCH(QString, yyzt);
        QFETCH(QStringList, shown);
        QFETCH(QString, due);
        QFETCH(qint64, next);
        const RVReservationInfo booking = bookingAt(ahead, yyzt);
        // The keys come from the schedule itself: the marks' keys while nothing is shown.
        const RVReminderSchedule unseen({booking}, {});
        QSet<QString> shownKeys;
        for (const qint64 probe : {ahead - 24 * 3600, ahead - 2 * 3600}) {
            for (const auto &reminder : unseen.due(kNow.addSecs(probe))) {
                if (shown.contains(markName(reminder.mark)))
                    shownKeys.insert(reminder.key);
            }
        }
        QCOMPARE(shownKeys.size(), shown.size());

        const RVReminderSchedule schedule({booking}, shownKeys);
        const auto dueNow = schedule.due(kNow);
        QCOMPARE(dueNow.size(), due.isEmpty() ? 0 : 1);
        if (!due.isEmpty()) {
            QCOMPARE(markName(dueNow.first().mark), due);
            QCOMPARE(schedule.bookingOf(dueNow.first().key)->yylsh(), QJsonValue(u"L1"_s));
        }
        const auto nextAt = schedule.next(kNow);
        QCOMPARE(nextAt ? kNow.secsTo(*nextAt) : -1, next);
    }
};

QTEST_GUILESS_MAIN(TestRVReminderSchedule)
#include "tst_rvreminderschedule.moc"
