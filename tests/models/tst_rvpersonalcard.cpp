// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvpersonalcard.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace
{
QString card(const QString &name, const QString &phone, int nameSize = 20)
{
    return u"<p align=left><font size=20>姓名：</font><font size=%1 color=blue>"_s.arg(nameSize) +
           name +
           u"</font></p>\n<p align=left><font size=20>电话：</font><font size=20 color=blue>"_s +
           phone + u"</font></p>"_s;
}
} // namespace

class TestRVPersonalCard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void markup_data()
    {
        QTest::addColumn<QJsonValue>("xm");
        QTest::addColumn<QJsonValue>("sjhm");
        QTest::addColumn<QString>("markup");
        const QJsonValue absent(QJsonValue::Undefined);
        QTest::newRow("saved user") << QJsonValue(u"李四"_s) << QJsonValue(u"13800000000"_s)
                                    << card(u"李四"_s, u"13800000000"_s);
        QTest::newRow("nothing saved") << absent << absent << card({}, {});
        QTest::newRow("name holding a bold tag")
            << QJsonValue(u"<b>王</b>五"_s) << QJsonValue(u"1"_s)
            << card(u"&lt;b&gt;王&lt;/b&gt;五"_s, u"1"_s);
        QTest::newRow("brackets the wrong way round")
            << QJsonValue(u"a>b<c"_s) << QJsonValue(u"<1>"_s)
            << card(u"a&gt;b&lt;c"_s, u"&lt;1&gt;"_s);
        QTest::newRow("number kept as a number")
            << QJsonValue(u"李四"_s) << QJsonValue(13800000000.0)
            << card(u"李四"_s, u"13800000000"_s);
        QTest::newRow("placeholder-like values stay")
            << QJsonValue(u"%2"_s) << QJsonValue(u"%3"_s) << card(u"%2"_s, u"%3"_s);
    }
    void markup()
    {
        QFETCH(QJsonValue, xm);
        QFETCH(QJsonValue, sjhm);
        QFETCH(QString, markup);
        RVUserInfo user;
        user.setXm(xm);
        user.setSjhm(sjhm);
        QCOMPARE(RVPersonalCard(user).markup(), markup);
    }

    void longNameIsDrawnSmaller_data()
    {
        QTest::addColumn<int>("fitsFrom");
        QTest::addColumn<int>("size");
        QTest::newRow("fits at full size") << 20 << 20;
        QTest::newRow("fits smaller") << 15 << 15;
        QTest::newRow("fits at the least size") << 12 << 12;
        QTest::newRow("fits at none: the least size") << 0 << 12;
    }
    void longNameIsDrawnSmaller()
    {
        QFETCH(int, fitsFrom);
        QFETCH(int, size);
        QCOMPARE(RVPersonalCard::nameSize([=](int at) { return at <= fitsFrom; }), size);
        RVUserInfo user;
        user.setXm(u"欧阳司马长名字"_s);
        QCOMPARE(RVPersonalCard(user).markup(u"欧阳…"_s, size), card(u"欧阳…"_s, {}, size));
    }
};

QTEST_APPLESS_MAIN(TestRVPersonalCard)
#include "tst_rvpersonalcard.moc"
