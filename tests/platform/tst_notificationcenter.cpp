// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "platform/notificationcenter.h"

#include <QTest>

using namespace Qt::StringLiterals;
using platform::Notification;
using platform::NotificationCenter;

class TestNotificationCenter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void deliveryBySenderAndName()
    {
        NotificationCenter center;
        int a = 0;
        int b = 0;
        int anySender = 0;
        const int senderA = 0;
        const int senderB = 0;
        const void *observer = &a;
        center.addObserver(observer, u"N"_s, &senderA, [&](const Notification &) { ++a; });
        center.addObserver(&b, u"N"_s, &senderB, [&](const Notification &) { ++b; });
        center.addObserver(&anySender, u"N"_s, nullptr, [&](const Notification &n) {
            QCOMPARE(n.name, u"N"_s);
            ++anySender;
        });
        center.postNotificationName(u"N"_s, &senderA);
        center.postNotificationName(u"other"_s, &senderA);
        QCOMPARE(a, 1);
        QCOMPARE(b, 0);
        QCOMPARE(anySender, 1);
    }

    void removalDuringDelivery()
    {
        NotificationCenter center;
        int first = 0;
        int second = 0;
        center.addObserver(&first, u"N"_s, nullptr, [&](const Notification &) {
            ++first;
            center.removeObserver(&second);
        });
        center.addObserver(&second, u"N"_s, nullptr, [&](const Notification &) { ++second; });
        center.postNotificationName(u"N"_s, nullptr);
        QCOMPARE(first, 1);
        QCOMPARE(second, 0); // removed by the first handler before its turn
        QCOMPARE(center.observerCount(u"N"_s), 1);
        center.removeObserver(&first);
        QCOMPARE(center.observerCount(u"N"_s), 0);
    }
};

QTEST_GUILESS_MAIN(TestNotificationCenter)
#include "tst_notificationcenter.moc"
