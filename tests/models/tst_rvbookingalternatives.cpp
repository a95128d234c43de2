// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "bookingtestservice.h"
#include "models/rvbookingalternatives.h"

#include <QJsonArray>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;
using Lists = QHash<QString, QJsonArray>;

namespace
{
QJsonObject half(const QString &pbid, int bcbm, const QString &day = u"2013-05-20"_s, int kyrs = 5,
                 int jlzt = 0)
{
    return {{u"pbid"_s, pbid}, {u"jzrq"_s, day},  {u"bcbm"_s, QString::number(bcbm)},
            {u"kyrs"_s, kyrs}, {u"jlzt"_s, jlzt}, {u"hospid"_s, u"H1"_s}};
}
QJsonArray times(const QString &yysj)
{
    QJsonArray slots;
    for (const QString &time : yysj.split(u' '))
        slots.append(QJsonObject{{u"fzxh"_s, time.left(2)}, {u"yysj"_s, time}});
    return slots;
}
QJsonObject doctor(const QString &ysdm, const QString &yszc, int kysl)
{
    return {{u"ysdm"_s, ysdm}, {u"yszc"_s, yszc}, {u"kysl"_s, QString::number(kysl)}};
}
// What bounds the requests: six later half-days of the doctor whose places all vanish, or six
// colleagues whose open half-day that day is the other one.
Lists vanishing(bool colleagues)
{
    Lists lists{{u"B006"_s, {}}, {u"D7"_s, {}}};
    for (int i = 0; i < 6; ++i) {
        const QString ysdm = u"D2%1"_s.arg(i);
        lists[u"B006"_s].append(doctor(ysdm, u"医师"_s, 3));
        lists[ysdm] = QJsonArray{half(u"P2%1"_s.arg(i), 2)};
        if (!colleagues)
            lists[u"D7"_s].append(half(u"P3%1"_s.arg(i), 2, u"2013-05-2%1"_s.arg(i + 1)));
    }
    return lists;
}
} // namespace

class TestRVBookingAlternatives : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void choicesComeNearestFirstWithinTheBound_data()
    {
        // Lists by code (B006), by doctor (B008) and by half-day (B009); the lost choice is
        // D7 (主任医师), P42, 2013-05-20 morning, slot 08:30.
        QTest::addColumn<bool>("slotGone");
        QTest::addColumn<Lists>("lists");
        QTest::addColumn<QString>("failing");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("requests");
        const QJsonArray own{
            half(u"P40"_s, 2, u"2013-05-19"_s),       half(u"P42"_s, 1),
            half(u"P44"_s, 1, u"2013-05-21"_s, 5, 1), half(u"P46"_s, 1, u"2013-05-22"_s),
            half(u"P45"_s, 2, u"2013-05-21"_s),       half(u"P43"_s, 2)};
        QTest::newRow("taken slot: the nearest in time, earlier of two as near")
            << true << Lists{{u"P42"_s, times(u"07:00 09:00 08:00 11:00"_s)}} << QString()
            << QStringList{u"D7 P42 08:00"_s, u"D7 P42 09:00"_s, u"D7 P42 07:00"_s} << 1;
        Lists later{{u"P42"_s, times(u"10:00"_s)}, {u"D7"_s, own}};
        QTest::newRow("a failed exchange ends the search with what it found")
            << true << later << u"B008"_s << QStringList{u"D7 P42 10:00"_s} << 2;
        later.insert({{u"P43"_s, times(u"14:00 14:30"_s)}, {u"P45"_s, times(u"15:00"_s)}});
        QTest::newRow("taken slot, one left: then the next open half-days, earliest first")
            << true << later << QString()
            << QStringList{u"D7 P42 10:00"_s, u"D7 P43 14:00"_s, u"D7 P45 15:00"_s} << 4;
        const QJsonArray department{
            doctor(u"D8"_s, u"医师"_s, 5), doctor(u"D7"_s, u"主任医师"_s, 5),
            doctor(u"D9"_s, u"主任医师"_s, 0), doctor(u"D10"_s, u"主任医师"_s, 3),
            doctor(u"D11"_s, u"主任医师"_s, 2)};
        QTest::newRow("full half-day: colleagues of the same title first")
            << false << Lists{{u"D7"_s, {half(u"P43"_s, 2)}},  {u"B006"_s, department},
                              {u"D8"_s, {half(u"P80"_s, 1)}},  {u"D10"_s, {half(u"P60"_s, 1)}},
                              {u"D11"_s, {half(u"P70"_s, 2)}}, {u"P60"_s, times(u"09:30"_s)},
                              {u"P80"_s, times(u"08:00"_s)}}
            << QString() << QStringList{u"D10 P60 09:30"_s, u"D8 P80 08:00"_s} << 8;
        QTest::newRow("nothing open") << false
                                      << Lists{{u"D7"_s, {half(u"P43"_s, 2, u"2013-05-20"_s, 0)}},
                                               {u"B006"_s, {doctor(u"D7"_s, u"主任医师"_s, 0)}}}
                                      << QString() << QStringList() << 2;
        QTest::newRow("later half-days vanishing: four slot lists at most")
            << true << vanishing(false) << QString() << QStringList() << 6;
        QTest::newRow("colleagues not there: four schedules at most")
            << true << vanishing(true) << QString() << QStringList() << 7;
    }
    void choicesComeNearestFirstWithinTheBound()
    {
        QFETCH(bool, slotGone);
        QFETCH(Lists, lists);
        QFETCH(QString, failing);
        BookingTestService service;
        for (const auto &[code, key] :
             {std::pair{u"B006"_s, u""_s}, {u"B008"_s, u"ysdm"_s}, {u"B009"_s, u"pbid"_s}}) {
            service.answer(code, [=](const QJsonObject &body) {
                const QJsonArray list = lists.value(key.isEmpty() ? code : body[key].toString());
                return BookingTestService::reply(code != failing, u"答复"_s, &list);
            });
        }
        const BookingTestService::Choice lost = BookingTestService::choice();
        const auto result =
            RVBookingAlternatives(lost.doctor, lost.half,
                                  slotGone ? std::optional(lost.slot) : std::nullopt)
                .search();
        QStringList found;
        for (const auto &[doctor, half, slot] : result.choices)
            found << QStringList{RVBaseInfo::text(doctor.ysdm()), RVBaseInfo::text(half.pbid()),
                                 RVBaseInfo::text(slot.yysj())}
                         .join(u' ');
        QTEST(found, "expected");
        QCOMPARE(result.cutShort, !failing.isEmpty());
        const qsizetype asked = service.received(u"B006"_s).size() +
                                service.received(u"B008"_s).size() +
                                service.received(u"B009"_s).size();
        QTEST(int(asked), "requests");
        QVERIFY(asked <= RVBookingAlternatives::kMaxRequests);
        if (!service.received(u"B006"_s).isEmpty()) // the department's doctors, not all
            QCOMPARE(service.received(u"B006"_s).first().body[u"bzksdm"_s].toString(), u"K03"_s);
    }

    void refusalIsReadFromTheListsNotTheWords_data()
    {
        QTest::addColumn<QString>("left"); // the slot numbers B009 lists; "-": it fails
        QTest::addColumn<int>("jlzt");     // of P42 in B008; -1: not listed
        QTest::addColumn<RVBookingAlternatives::Gone>("gone");
        using Gone = RVBookingAlternatives::Gone;
        QTest::newRow("slot still listed") << u"3 4"_s << 0 << Gone::Nothing;
        QTest::newRow("slot gone, others left") << u"4"_s << 0 << Gone::Slot;
        QTest::newRow("none left, fully booked") << QString() << 0 << Gone::HalfDay;
        QTest::newRow("none left, stopped") << QString() << 1 << Gone::Nothing;
        QTest::newRow("none left, not scheduled") << QString() << -1 << Gone::Nothing;
        QTest::newRow("slots unreadable") << u"-"_s << 0 << Gone::Nothing;
    }
    void refusalIsReadFromTheListsNotTheWords()
    {
        QFETCH(QString, left);
        QFETCH(int, jlzt);
        BookingTestService service;
        const QJsonArray slots = left.isEmpty() ? QJsonArray() : times(left);
        service.answer(u"B009"_s, BookingTestService::reply(left != u"-", u"答复"_s, &slots));
        QJsonArray schedule;
        if (jlzt >= 0)
            schedule.append(half(u"P42"_s, 1, u"2013-05-20"_s, 0, jlzt));
        service.answer(u"B008"_s, BookingTestService::reply(true, u"答复"_s, &schedule));
        const auto [doctor, halfDay, slot] = BookingTestService::choice();
        QTEST(RVBookingAlternatives::goneAfterRefusal({doctor, halfDay, slot}), "gone");
    }
};

QTEST_MAIN(TestRVBookingAlternatives)
#include "tst_rvbookingalternatives.moc"
