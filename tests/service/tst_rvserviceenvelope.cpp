// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
// The reply envelope is written as text; it must be, byte for byte, what QJsonDocument writes
// for the envelope object, whatever the message and the body hold.
#include "service/rvserviceenvelope.h"

#include <QJsonDocument>
#include <QTest>

using namespace Qt::StringLiterals;

class TestRVServiceEnvelope : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void replyIsWhatTheDocumentWrites_data()
    {
        QTest::addColumn<RVServiceOutcome>("outcome");
        QTest::addColumn<QString>("code");
        const QJsonObject user{{u"xm"_s, u"张三 \"三\""_s}, {u"xb"_s, 1}, {u"dz"_s, u"a\\b\tc"_s}};
        QTest::newRow("list written as text")
            << RVServiceOutcome::success(u"查询成功"_s, QByteArray(R"({"list":[{"a":"1"}]})"))
            << u"B006"_s;
        QTest::newRow("object body") << RVServiceOutcome::success(u"登录成功"_s, user) << u"A002"_s;
        QTest::newRow("refusal without a code")
            << RVServiceOutcome::refusal(u"请求格式错误"_s) << QString();
        QTest::newRow("message to escape")
            << RVServiceOutcome::refusal(u"未知的交易码：\"X\n\u0001\\"_s) << u"X\n"_s;
        QTest::newRow("lone surrogate")
            << RVServiceOutcome::refusal(QString(QChar(0xd800))) << u"B001"_s;
    }

    void replyIsWhatTheDocumentWrites()
    {
        QFETCH(RVServiceOutcome, outcome);
        QFETCH(QString, code);
        const QByteArray written = RVServiceEnvelope::replyJson(outcome, code);
        // The time as the reply has it: the second may have turned since.
        const QJsonObject read = QJsonDocument::fromJson(written).object();
        QJsonObject head{{u"succflag"_s, outcome.ok ? u"0"_s : u"-1"_s},
                         {u"retmsg"_s, outcome.retmsg},
                         {u"trdate"_s, read[u"head"_s][u"trdate"_s]},
                         {u"trtime"_s, read[u"head"_s][u"trtime"_s]}};
        if (!code.isEmpty())
            head.insert(u"trcode"_s, code);
        const QJsonObject body = outcome.bodyJson.isEmpty()
                                     ? outcome.body
                                     : QJsonDocument::fromJson(outcome.bodyJson).object();
        QCOMPARE(written, QJsonDocument(QJsonObject{{u"head"_s, head}, {u"body"_s, body}})
                              .toJson(QJsonDocument::Compact));
    }
};

QTEST_GUILESS_MAIN(TestRVServiceEnvelope)
#include "tst_rvserviceenvelope.moc"
