#include "meetingline.h"

#include "message/mailbox_text.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

QString dateAndTime(const QDateTime& when, const QLocale& locale)
{
    return QCoreApplication::translate("MeetingLine", "%1 %2", "A date, then a time of day: \"Monday, 6 May 2024 09:30\"")
        .arg(locale.toString(when.date(), QLocale::LongFormat), locale.toString(when.time(), QLocale::ShortFormat));
}

QString when(const MeetingDetails& details, const QLocale& locale)
{
    const QDateTime start = details.start.toLocalTime();
    const QDateTime end = details.end.toLocalTime();
    if (start.isValid() && end.isValid() && end >= start) {
        const QString to = end.date() == start.date() ? locale.toString(end.time(), QLocale::ShortFormat)
                                                      : dateAndTime(end, locale);
        return QCoreApplication::translate("MeetingLine", "%1 to %2", "From the start to the end of a meeting").arg(dateAndTime(start, locale), to);
    }
    if (start.isValid())
        return dateAndTime(start, locale);
    if (end.isValid())
        return QCoreApplication::translate("MeetingLine", "until %1", "A meeting or task that has only an end").arg(dateAndTime(end, locale));
    return QString();
}

} // namespace

QString meetingLine(const MeetingDetails& details, const QLocale& locale)
{
    QStringList parts;
    const QString time = when(details, locale);
    if (!time.isEmpty())
        parts << QCoreApplication::translate("MeetingLine", "When: %1").arg(time);
    const QString zone = details.timeZone.simplified();
    if (!zone.isEmpty())
        parts << QCoreApplication::translate("MeetingLine", "Time zone: %1", "The time zone the meeting was planned in").arg(zone);
    const QString place = details.location.simplified();
    if (!place.isEmpty())
        parts << QCoreApplication::translate("MeetingLine", "Where: %1").arg(place);
    const QString organiser = mailboxText(details.organiserName, details.organiserEmail).simplified();
    if (!organiser.isEmpty())
        parts << QCoreApplication::translate("MeetingLine", "Organiser: %1").arg(organiser);
    return parts.join(QStringLiteral("  ·  "));
}
