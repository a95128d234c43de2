// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "benchbooking.h"

#include "benchhttpclient.h"
#include "protocols/rvcipher.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>

using namespace Qt::StringLiterals;

namespace
{
const QString busy = u"服务暂时不可用，请稍后再试"_s;

QByteArray form(const QString &yhm, const QString &code, const QJsonObject &body,
                const QString &key)
{
    const QJsonObject envelope{{u"head"_s, QJsonObject{{u"trcode"_s, code}}}, {u"body"_s, body}};
    const QString json = QString::fromUtf8(QJsonDocument(envelope).toJson(QJsonDocument::Compact));
    return "yhm=" + yhm.toUtf8() + "&jym=" + code.toUtf8() +
           "&bwnr=" + RVCipher::encipherToHex(json, key).value_or(QString()).toLatin1();
}

// The reply envelope, opened with the key; an empty object when it cannot be read.
QJsonObject opened(const QByteArray &reply, const QString &key)
{
    const auto text = RVCipher::decipherFromHex(QString::fromLatin1(reply), key);
    return text ? QJsonDocument::fromJson(text->toUtf8()).object() : QJsonObject();
}

bool succeeded(const QJsonObject &envelope)
{
    return envelope.value(u"head"_s).toObject().value(u"succflag"_s).toString() == u"0"_s;
}

QString message(const QJsonObject &envelope)
{
    return envelope.value(u"head"_s).toObject().value(u"retmsg"_s).toString();
}

// One exchange, its latency noted; the opened reply, or nullopt when nothing came back.
std::optional<QJsonObject> exchange(BenchHttpClient &client, const QByteArray &form,
                                    const QString &key, QList<qint64> &latencies)
{
    QElapsedTimer clock;
    clock.start();
    const auto reply = client.post(form);
    latencies.append(clock.nsecsElapsed() / 1000);
    if (!reply)
        return std::nullopt;
    return opened(*reply, key);
}
} // namespace

bool BenchBooking::prepare(const QStringList &halfDays)
{
    m_halfDays = halfDays;
    m_held = std::make_unique<std::atomic<int>[]>(halfDays.size() * slotsPerHalfDay);
    BenchHttpClient client(m_port, false);
    for (int i = 0; i < patients; ++i) {
        const QString yhm = u"bench%1"_s.arg(i);
        const QJsonObject body{{u"yhm"_s, yhm},
                               {u"mm"_s, u"bench-pass"_s},
                               {u"xm"_s, u"压测用户"_s},
                               {u"sfzhm"_s, u"330102199001011234"_s},
                               {u"sjhm"_s, u"139%1"_s.arg(i, 8, 10, QChar(u'0'))}};
        const auto reply = client.post(form(yhm, u"A001"_s, body, RVCipher::fixedKeyText()));
        const QJsonObject envelope = opened(reply.value_or(QByteArray()), RVCipher::fixedKeyText());
        const QJsonObject user = envelope.value(u"body"_s).toObject();
        if (!succeeded(envelope))
            return false;
        m_patients.append(
            {yhm, user.value(u"yhid"_s).toString(), user.value(u"gzmy"_s).toString()});
    }
    return halfDays.size() > 0;
}

int BenchBooking::bookAndCancel(BenchHttpClient &client, int clientNumber, QList<qint64> &latencies)
{
    const Patient &patient = m_patients.at(clientNumber % m_patients.size());
    const int halfDay = static_cast<int>(QRandomGenerator::global()->bounded(m_halfDays.size()));
    const int slot = static_cast<int>(QRandomGenerator::global()->bounded(slotsPerHalfDay));
    const QJsonObject request{{u"pbid"_s, m_halfDays.at(halfDay)},
                              {u"fzxh"_s, QString::number(slot + 1)},
                              {u"yhid"_s, patient.yhid},
                              {u"yzhm"_s, u"570461"_s}};
    const auto booked = exchange(client, form(patient.yhm, u"C001"_s, request, patient.key),
                                 patient.key, latencies);
    if (!booked || (!succeeded(*booked) && message(*booked) == busy))
        return 1;
    if (!succeeded(*booked))
        return 0; // taken or full: the expected answer under contention
    std::atomic<int> &held = m_held[halfDay * slotsPerHalfDay + slot];
    if (held.exchange(1) != 0) // another client was granted this slot and has not let go
        ++m_soldTwice;
    const QString yylsh = booked->value(u"body"_s)
                              .toObject()
                              .value(u"list"_s)
                              .toArray()
                              .first()
                              .toObject()
                              .value(u"yylsh"_s)
                              .toString();
    held = 0; // let go before the cancel: a booking granted after it is legitimate
    const auto cancelled = exchange(
        client,
        form(patient.yhm, u"C005"_s, {{u"yhid"_s, patient.yhid}, {u"yylsh"_s, yylsh}}, patient.key),
        patient.key, latencies);
    return cancelled && succeeded(*cancelled) ? 0 : 1;
}
