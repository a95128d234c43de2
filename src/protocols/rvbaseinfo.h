// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>

#include <optional>

// Declares the accessor pair of a record field stored under the service key of the same name.
// A field holds the JSON value as it came (a number stays a number); Undefined means absent.
#define RV_FIELD(key, Setter)                                                                      \
    QJsonValue key() const                                                                         \
    {                                                                                              \
        return field(QStringLiteral(#key));                                                        \
    }                                                                                              \
    void Setter(const QJsonValue &value)                                                           \
    {                                                                                              \
        setField(QStringLiteral(#key), value);                                                     \
    }

// The base of every request, reply and list-item record that crosses the service boundary:
// the envelope head, reading a reply text into head and body, and writing the request
// envelope. Derived records name their own keys and override bodyWithDictionary / body_dict,
// calling the parent first. Records are plain values, cheap to copy.
class RVBaseInfo
{
public:
    RVBaseInfo() = default;
    RVBaseInfo(const RVBaseInfo &) = default;
    RVBaseInfo &operator=(const RVBaseInfo &) = default;
    RVBaseInfo(RVBaseInfo &&) = default;
    RVBaseInfo &operator=(RVBaseInfo &&) = default;
    virtual ~RVBaseInfo();

    // Parses a reply text; false (and the record untouched) when the text is absent or not a
    // JSON object. A head or body member that is not an object counts as absent.
    bool initWithString(const QString &text);
    // The same from an envelope already parsed.
    void initWithObject(const QJsonObject &envelope);
    // The envelope object of a reply text, or nullopt when the text is absent or not a JSON
    // object.
    static std::optional<QJsonObject> envelopeOf(const QString &text);
    // Reads the head when given, then the body when given.
    void initWithDictionary(const std::optional<QJsonObject> &body,
                            const std::optional<QJsonObject> &head);

    template <class Record> static std::optional<Record> fromString(const QString &text)
    {
        Record record;
        if (!record.initWithString(text))
            return std::nullopt;
        return record;
    }
    template <class Record> static Record fromObject(const QJsonObject &envelope)
    {
        Record record;
        record.initWithObject(envelope);
        return record;
    }
    template <class Record>
    static Record fromDictionary(const std::optional<QJsonObject> &body,
                                 const std::optional<QJsonObject> &head = std::nullopt)
    {
        Record record;
        record.initWithDictionary(body, head);
        return record;
    }

    virtual void headWithDictionary(const QJsonObject &head);
    virtual void bodyWithDictionary(const QJsonObject &body);
    virtual QJsonObject head_dict() const;
    virtual QJsonObject body_dict() const;
    QString toJson() const;
    // The request text of a head and a body, as toJson writes it.
    static QString envelopeText(const QJsonObject &head, const QJsonObject &body);

    // The parsed JSON value of a text, or nullopt when it is absent or not JSON.
    static std::optional<QJsonValue> analyzing(const QString &text);
    static QJsonValue analyzing_head(const QString &text);
    static QJsonValue analyzing_body(const QString &text);

    // Integer value by the service's rule: a number gives its integer part; a text the integer
    // read from its start (leading spaces, an optional sign, digits; none gives 0).
    static long long intValue(const QJsonValue &value);
    // Display text of a field: text as it is, a number in decimal, anything else empty.
    static QString text(const QJsonValue &value);
    // A text argument as a field value: a null text is absent.
    static QJsonValue valueOf(const QString &text)
    {
        return text.isNull() ? QJsonValue(QJsonValue::Undefined) : QJsonValue(text);
    }

    QJsonValue trdate() const { return m_trdate; }
    void setTrdate(const QJsonValue &value) { m_trdate = value; }
    QJsonValue trtime() const { return m_trtime; }
    void setTrtime(const QJsonValue &value) { m_trtime = value; }
    QJsonValue trcode() const { return m_trcode; }
    void setTrcode(const QJsonValue &value) { m_trcode = value; }
    bool state() const { return m_state; }
    void setState(bool value) { m_state = value; }
    QJsonValue errorMsg() const { return m_errorMsg; }
    void setErrorMsg(const QJsonValue &value) { m_errorMsg = value; }

    QJsonValue field(const QString &key) const { return m_fields.value(key); }
    void setField(const QString &key, const QJsonValue &value);
    bool hasField(const QString &key) const { return m_fields.contains(key); }

protected:
    // The pattern every derived record follows for its own keys: read each key (absent when
    // missing) and write each present one.
    void readKeys(const QJsonObject &body, const QStringList &keys);
    void writeKeys(QJsonObject &body, const QStringList &keys) const;

private:
    QJsonValue m_trdate{QJsonValue::Undefined};
    QJsonValue m_trtime{QJsonValue::Undefined};
    QJsonValue m_trcode{QJsonValue::Undefined};
    bool m_state = false;
    QJsonValue m_errorMsg{QJsonValue::Undefined};
    QJsonObject m_fields;
};

// A list field reads the array under its key into item records, in order; a missing array
// gives an empty list.
template <class Item> QList<Item> rvReadList(const QJsonObject &body, const QString &key)
{
    const QJsonArray array = body.value(key).toArray();
    QList<Item> items;
    items.reserve(array.size());
    for (const QJsonValue &element : array)
        items.append(RVBaseInfo::fromDictionary<Item>(element.toObject()));
    return items;
}

template <class Item> QJsonArray rvWriteList(const QList<Item> &items)
{
    QJsonArray array;
    for (const Item &item : items)
        array.append(item.body_dict());
    return array;
}
