// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvbookingcalendar.h"

#include "models/rvbookingstore.h"

#include <QCoreApplication>
#include <QTimeZone>

#include <libical/ical.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace
{
constexpr int kMinutes = 30;
constexpr int kDaySeconds = 24 * 3600;
constexpr int kTwoHoursSeconds = 2 * 3600;

struct ComponentFree {
    void operator()(icalcomponent *component) const { icalcomponent_free(component); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

// Control characters have no place in a calendar text (a line break is escaped); a service
// could still send them.
QByteArray textOf(const QString &text)
{
    QString clean;
    clean.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\n' || c == u'\t' || c.unicode() >= 0x20)
            clean.append(c);
    }
    return clean.toUtf8();
}

QString joined(const QStringList &parts, const QString &separator)
{
    QStringList present;
    for (const QString &part : parts) {
        if (!part.trimmed().isEmpty())
            present.append(part.trimmed());
    }
    return present.join(separator);
}

icaltimetype utcTime(const QDateTime &when)
{
    return icaltime_from_timet_with_zone(static_cast<time_t>(when.toSecsSinceEpoch()), 0,
                                         icaltimezone_get_utc_timezone());
}

void addText(icalcomponent *component, icalproperty *(*make)(const char *), const QString &text)
{
    if (!text.isEmpty())
        icalcomponent_add_property(component, make(textOf(text).constData()));
}

icalcomponent *alarm(int secondsBefore, const QString &summary)
{
    icalcomponent *alarm = icalcomponent_new(ICAL_VALARM_COMPONENT);
    icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
    icaltriggertype trigger{};
    trigger.time = icaltime_null_time();
    trigger.duration = icaldurationtype_from_int(-secondsBefore);
    icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
    addText(alarm, icalproperty_new_description, summary);
    return alarm;
}

icalcomponent *event(const RVBookingCalendar::Entry &entry, const QDateTime &start,
                     const QString &host, const QDateTime &now)
{
    const RVReservationInfo &b = entry.booking;
    icalcomponent *event = icalcomponent_new(ICAL_VEVENT_COMPONENT);
    addText(event, icalproperty_new_uid, RVBookingCalendar::uidOf(b, host));
    icalcomponent_add_property(event, icalproperty_new_dtstamp(utcTime(now)));
    icalcomponent_add_property(event, icalproperty_new_dtstart(utcTime(start)));
    icalcomponent_add_property(event,
                               icalproperty_new_dtend(utcTime(start.addSecs(kMinutes * 60))));
    const QString summary = RVBookingCalendar::summaryOf(b);
    addText(event, icalproperty_new_summary, summary);
    addText(event, icalproperty_new_location, RVBookingCalendar::locationOf(entry));
    addText(event, icalproperty_new_description, RVBookingCalendar::descriptionOf(entry));
    // A calendar that imports the file again takes the higher sequence as the newer event.
    const bool open = b.isOpen();
    icalcomponent_add_property(
        event, icalproperty_new_status(open ? ICAL_STATUS_CONFIRMED : ICAL_STATUS_CANCELLED));
    icalcomponent_add_property(event, icalproperty_new_sequence(open ? 0 : 1));
    // A cancelled appointment must not call the patient to the hospital.
    if (open) {
        icalcomponent_add_component(event, alarm(kDaySeconds, summary));
        icalcomponent_add_component(event, alarm(kTwoHoursSeconds, summary));
    }
    return event;
}
} // namespace

std::optional<QDateTime> RVBookingCalendar::startOf(const RVReservationInfo &booking)
{
    // China has kept one offset all year since 1991.
    static const QTimeZone china(8 * 3600);
    for (const QJsonValue &value : {booking.jzrq(), booking.yysj()}) {
        const QString text = RVBaseInfo::text(value).trimmed();
        for (const QString &format : {u"yyyy-MM-dd HH:mm:ss"_s, u"yyyy-MM-dd HH:mm"_s}) {
            QDateTime when = QDateTime::fromString(text, format);
            if (when.isValid()) {
                when.setTimeZone(china);
                return when;
            }
        }
    }
    return std::nullopt;
}

QString RVBookingCalendar::uidOf(const RVReservationInfo &booking, const QString &host)
{
    return RVBookingStore::keyOf(booking) + u'@' + (host.isEmpty() ? u"rv-patient"_s : host);
}

QString RVBookingCalendar::summaryOf(const RVReservationInfo &booking)
{
    const QString who =
        joined({RVBaseInfo::text(booking.bzksmc()), RVBaseInfo::text(booking.ysmc())}, u" "_s);
    const QString summary =
        who.isEmpty() ? QCoreApplication::translate("RVBookingCalendar", "挂号")
                      : QCoreApplication::translate("RVBookingCalendar", "挂号：%1").arg(who);
    // A calendar that shows cancelled events at all shows them like the others: the title says it.
    return booking.isOpen()
               ? summary
               : QCoreApplication::translate("RVBookingCalendar", "已取消：%1").arg(summary);
}

QString RVBookingCalendar::locationOf(const Entry &entry)
{
    const QString named = entry.hospital ? RVBaseInfo::text(entry.hospital->yymc()) : QString();
    const QString name = named.isEmpty() ? RVBaseInfo::text(entry.booking.yymc()) : named;
    const QString address = entry.hospital ? RVBaseInfo::text(entry.hospital->yydz()) : QString();
    return joined({name, address}, u", "_s);
}

QString RVBookingCalendar::descriptionOf(const Entry &entry)
{
    const QString fzxh = RVBaseInfo::text(entry.booking.fzxh());
    const QString phone = entry.hospital ? RVBaseInfo::text(entry.hospital->yydh()) : QString();
    QStringList lines;
    if (!fzxh.isEmpty())
        lines << QCoreApplication::translate("RVBookingCalendar", "分诊序号：%1").arg(fzxh);
    if (!phone.isEmpty())
        lines << QCoreApplication::translate("RVBookingCalendar", "医院电话：%1").arg(phone);
    lines << QCoreApplication::translate("RVBookingCalendar",
                                         "取消预约：在“预约挂号”的“预约纪录”中右移本预约");
    return lines.join(u'\n');
}

QByteArray RVBookingCalendar::write(const QList<Entry> &entries, const QString &host, int *written,
                                    const QDateTime &now)
{
    Component calendar(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_prodid("-//rv//rv-patient//ZH"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_calscale("GREGORIAN"));
    int events = 0;
    for (const Entry &entry : entries) {
        if (const auto start = startOf(entry.booking)) {
            icalcomponent_add_component(calendar.get(), event(entry, *start, host, now));
            ++events;
        }
    }
    if (written != nullptr)
        *written = events;
    char *text = icalcomponent_as_ical_string_r(calendar.get());
    QByteArray file(text);
    icalmemory_free_buffer(text);
    return file;
}
