// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvbookingpass.h"

#include "models/rvbookingstore.h"

#include <QUrl>

using namespace Qt::StringLiterals;

namespace
{
constexpr qsizetype kShownDigits = 4;

QString encoded(const QJsonValue &value)
{
    // The time keeps its colons, which a query may hold as they are.
    return QString::fromLatin1(QUrl::toPercentEncoding(RVBaseInfo::text(value), ":"));
}
} // namespace

QString RVBookingPass::title()
{
    return u"预约凭证"_s;
}

QString RVBookingPass::maskedIdentity(const QString &sfzhm)
{
    const QString number = sfzhm.trimmed();
    const qsizetype hidden = std::max<qsizetype>(0, number.size() - kShownDigits);
    return QString(hidden, u'*') + number.mid(hidden);
}

QStringList RVBookingPass::lines() const
{
    const QString patient = RVBaseInfo::text(m_booking.brxm()).isEmpty()
                                ? RVBaseInfo::text(m_booking.xm())
                                : RVBaseInfo::text(m_booking.brxm());
    const QString time = RVBaseInfo::text(m_booking.jzrq()).isEmpty()
                             ? RVBaseInfo::text(m_booking.yysj())
                             : RVBaseInfo::text(m_booking.jzrq());
    const std::pair<QString, QString> parts[] = {
        {u"医院"_s, RVBaseInfo::text(m_booking.yymc())},
        {u"科室"_s, RVBaseInfo::text(m_booking.bzksmc())},
        {u"医生"_s, RVBaseInfo::text(m_booking.ysmc())},
        {u"时间"_s, time},
        {u"分诊序号"_s, RVBaseInfo::text(m_booking.fzxh())},
        {u"患者"_s, patient},
        {u"身份证号"_s, maskedIdentity(RVBaseInfo::text(m_booking.sfzhm()))},
    };
    QStringList lines;
    for (const auto &[caption, value] : parts) {
        if (!value.trimmed().isEmpty())
            lines << caption + u"：" + value.trimmed();
    }
    return lines;
}

QString RVBookingPass::payload() const
{
    return u"rvbooking:"_s + encoded(m_booking.yylsh()) + u"?hospid="_s +
           encoded(m_booking.hospid()) + u"&pbid="_s + encoded(m_booking.pbid()) + u"&fzxh="_s +
           encoded(m_booking.fzxh()) + u"&jzrq="_s + encoded(m_booking.jzrq());
}

std::optional<RVQrCode> RVBookingPass::qrCode() const
{
    return RVQrCode::encode(payload().toUtf8());
}

QString RVBookingPass::fileName() const
{
    QString name = RVBookingStore::keyOf(m_booking);
    for (QChar &c : name) {
        const bool safe = (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') ||
                          (c >= u'A' && c <= u'Z') || c == u'-' || c == u'_';
        if (!safe)
            c = u'_';
    }
    return name + u".pdf"_s;
}
