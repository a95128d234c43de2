// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvbaseinfo.h"

#include <QJsonDocument>

#include <limits>

using namespace Qt::StringLiterals;

RVBaseInfo::~RVBaseInfo() = default;

bool RVBaseInfo::initWithString(const QString &text)
{
    const auto envelope = envelopeOf(text);
    if (!envelope)
        return false;
    initWithObject(*envelope);
    return true;
}

void RVBaseInfo::initWithObject(const QJsonObject &envelope)
{
    headWithDictionary(envelope.value(u"head"_s).toObject());
    const QJsonValue body = envelope.value(u"body"_s);
    if (body.isObject())
        bodyWithDictionary(body.toObject());
}

std::optional<QJsonObject> RVBaseInfo::envelopeOf(const QString &text)
{
    if (text.isNull())
        return std::nullopt;
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(text.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    return doc.object();
}

void RVBaseInfo::initWithDictionary(const std::optional<QJsonObject> &body,
                                    const std::optional<QJsonObject> &head)
{
    if (head)
        headWithDictionary(*head);
    if (body)
        bodyWithDictionary(*body);
}

void RVBaseInfo::headWithDictionary(const QJsonObject &head)
{
    m_trdate = head.value(u"trdate"_s);
    m_trtime = head.value(u"trtime"_s);
    m_trcode = head.value(u"trcode"_s);
    m_state = intValue(head.value(u"succflag"_s)) == 0;
    m_errorMsg = head.value(u"retmsg"_s);
}

void RVBaseInfo::bodyWithDictionary(const QJsonObject &) {}

QJsonObject RVBaseInfo::head_dict() const
{
    QJsonObject head;
    if (!m_trdate.isUndefined())
        head.insert(u"trdate"_s, m_trdate);
    if (!m_trtime.isUndefined())
        head.insert(u"trtime"_s, m_trtime);
    if (!m_trcode.isUndefined())
        head.insert(u"trcode"_s, m_trcode);
    return head;
}

QJsonObject RVBaseInfo::body_dict() const
{
    return {};
}

QString RVBaseInfo::toJson() const
{
    return envelopeText(head_dict(), body_dict());
}

QString RVBaseInfo::envelopeText(const QJsonObject &head, const QJsonObject &body)
{
    const QJsonObject envelope{{u"head"_s, head}, {u"body"_s, body}};
    return QString::fromUtf8(QJsonDocument(envelope).toJson(QJsonDocument::Indented));
}

std::optional<QJsonValue> RVBaseInfo::analyzing(const QString &text)
{
    if (text.isNull())
        return std::nullopt;
    QJsonParseError error{};
    // Wrapping lets a bare JSON value (a string, a number) parse too, as a JSON reader does.
    const QByteArray wrapped = "[" + text.toUtf8() + "]";
    const QJsonDocument doc = QJsonDocument::fromJson(wrapped, &error);
    if (error.error != QJsonParseError::NoError || !doc.isArray() || doc.array().size() != 1)
        return std::nullopt;
    return doc.array().at(0);
}

QJsonValue RVBaseInfo::analyzing_head(const QString &text)
{
    const auto parsed = analyzing(text);
    return parsed ? parsed->toObject().value(u"head"_s) : QJsonValue(QJsonValue::Undefined);
}

QJsonValue RVBaseInfo::analyzing_body(const QString &text)
{
    const auto parsed = analyzing(text);
    return parsed ? parsed->toObject().value(u"body"_s) : QJsonValue(QJsonValue::Undefined);
}

namespace
{

// 2^63: the first double that no long long holds. Every double below it in magnitude, and
// -2^63 itself, converts exactly; anything else would be undefined behaviour.
constexpr double beyondLongLong = 9223372036854775808.0;

long long saturatedIntegerPart(double d)
{
    if (d != d)
        return 0;
    if (d >= beyondLongLong)
        return std::numeric_limits<long long>::max();
    if (d < -beyondLongLong)
        return std::numeric_limits<long long>::min();
    return static_cast<long long>(d);
}

} // namespace

long long RVBaseInfo::intValue(const QJsonValue &value)
{
    if (value.isDouble())
        return saturatedIntegerPart(value.toDouble());
    if (value.isBool())
        return value.toBool() ? 1 : 0; // as the platform's JSON reader gives a boolean
    if (!value.isString())
        return 0;
    const QString s = value.toString();
    qsizetype i = 0;
    while (i < s.size() && (s[i] == u' ' || s[i] == u'\t' || s[i] == u'\n' || s[i] == u'\r'))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == u'-' || s[i] == u'+'))
        negative = s[i++] == u'-';
    // Accumulated as a negative number, whose range reaches one further than the positive.
    constexpr long long least = std::numeric_limits<long long>::min();
    long long result = 0;
    for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i) {
        const int digit = s[i].unicode() - u'0';
        if (result < (least + digit) / 10) {
            result = least; // saturate rather than overflow on absurdly long digit runs
            break;
        }
        result = result * 10 - digit;
    }
    if (negative)
        return result;
    return result == least ? std::numeric_limits<long long>::max() : -result;
}

QString RVBaseInfo::text(const QJsonValue &value)
{
    if (value.isString())
        return value.toString();
    if (value.isDouble()) {
        const double d = value.toDouble();
        // Whole numbers within the integer range print as integers; anything larger in
        // magnitude (never convertible) in exponent form.
        if (d > -beyondLongLong && d < beyondLongLong &&
            d == static_cast<double>(static_cast<long long>(d)))
            return QString::number(static_cast<long long>(d));
        return QString::number(d, 'g', 15);
    }
    return {};
}

void RVBaseInfo::setField(const QString &key, const QJsonValue &value)
{
    if (value.isUndefined())
        m_fields.remove(key);
    else
        m_fields.insert(key, value);
}

void RVBaseInfo::readKeys(const QJsonObject &body, const QStringList &keys)
{
    // List items arrive by the hundred, each holding a few of many keys: for a fresh record
    // walk what the body holds rather than every key the record knows.
    if (m_fields.isEmpty() && body.size() < keys.size()) {
        for (auto it = body.constBegin(); it != body.constEnd(); ++it) {
            const QString key = it.key();
            if (keys.contains(key))
                m_fields.insert(key, it.value());
        }
        return;
    }
    for (const QString &key : keys) {
        const auto it = body.constFind(key);
        if (it != body.constEnd())
            m_fields.insert(key, *it);
        else
            m_fields.remove(key);
    }
}

void RVBaseInfo::writeKeys(QJsonObject &body, const QStringList &keys) const
{
    for (const QString &key : keys) {
        const auto it = m_fields.constFind(key);
        if (it != m_fields.constEnd())
            body.insert(key, *it);
    }
}
