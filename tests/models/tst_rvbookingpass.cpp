// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvbookingpass.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestRVBookingPass : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Only the last four characters of the identity number show.
    void identityShowsOnlyItsLastFour_data()
    {
        QTest::addColumn<QString>("sfzhm");
        QTest::addColumn<QString>("shown");
        QTest::newRow("18 characters") << u"11010119900307001X"_s << u"**************001X"_s;
        QTest::newRow("spaces around") << u" 110101199003070011 "_s << u"**************0011"_s;
        QTest::newRow("four or fewer") << u"0011"_s << u"0011"_s;
        QTest::newRow("none") << QString() << QString();
    }
    void identityShowsOnlyItsLastFour()
    {
        QFETCH(QString, sfzhm);
        QFETCH(QString, shown);
        QCOMPARE(RVBookingPass::maskedIdentity(sfzhm), shown);
    }

    // The serial number comes from the service: it names a file in the chosen folder and
    // nowhere else.
    void fileNameStaysInTheFolder_data()
    {
        QTest::addColumn<QJsonObject>("booking");
        QTest::addColumn<QString>("name");
        QTest::newRow("serial number")
            << QJsonObject{{u"yylsh"_s, u"2026120800000001"_s}} << u"2026120800000001.pdf"_s;
        QTest::newRow("path in it")
            << QJsonObject{{u"yylsh"_s, u"../../etc/x"_s}} << u"______etc_x.pdf"_s;
        QTest::newRow("no serial number") << QJsonObject{{u"pbid"_s, u"P1"_s},
                                                         {u"fzxh"_s, 3},
                                                         {u"jzrq"_s, u"2013-05-20 08:30:00"_s}}
                                          << u"slot_P1_3_2013-05-20_08_30_00.pdf"_s;
    }
    void fileNameStaysInTheFolder()
    {
        QFETCH(QJsonObject, booking);
        QFETCH(QString, name);
        QCOMPARE(RVBookingPass(RVBaseInfo::fromDictionary<RVReservationInfo>(booking)).fileName(),
                 name);
    }
};

QTEST_GUILESS_MAIN(TestRVBookingPass)
#include "tst_rvbookingpass.moc"
