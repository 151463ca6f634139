#include "message/calendar_rendering.h"

#include "message/contact_card.h"
#include "message/meeting_details.h"
#include "message/message_properties.h"

#include <QLocale>
#include <QStringList>
#include <QUuid>

namespace {

const QLatin1String kContactClass("IPM.Contact");

QString icsTime(const QDateTime& time)
{
    return QLocale::c().toString(time.toUTC(), QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
}

// Values are written as they stand, except that a line break would end the
// content line and corrupt the event: it becomes the two characters "\n".
QString icsValue(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\\n"));
    text.replace(QLatin1Char('\r'), QLatin1String("\\n"));
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return text;
}

// A parameter value cannot hold a double quote at all, and one holding a
// colon, semicolon or comma must be quoted, or the rest of the line would
// be read as the value or as further parameters.
QString icsParameter(const QString& text)
{
    QString value = icsValue(text);
    value.replace(QLatin1Char('"'), QLatin1Char('\''));
    if (value.contains(QLatin1Char(':')) || value.contains(QLatin1Char(';')) || value.contains(QLatin1Char(',')))
        return QLatin1Char('"') + value + QLatin1Char('"');
    return value;
}

} // namespace

bool needsCalendarAttachment(const QString& messageClass)
{
    return messageClass.startsWith(QLatin1String("IPM.Schedule.Meeting"))
           || messageClass == QLatin1String("IPM.Appointment") || messageClass == kContactClass
           || messageClass == QLatin1String("IPM.Task");
}

bool rendersCalendarEvent(const QString& messageClass)
{
    return needsCalendarAttachment(messageClass) && messageClass != kContactClass;
}

QString calendarAttachmentName(const TessilMessage& message)
{
    const QString base = message.subject.isEmpty() ? QStringLiteral("attachment") : message.subject;
    return base + (message.messageClass == kContactClass ? QLatin1String(".vcf") : QLatin1String(".ics"));
}

QString calendarAttachmentMimeType(const TessilMessage& message)
{
    return message.messageClass == kContactClass ? QStringLiteral("text/vcard") : QStringLiteral("text/calendar");
}

QByteArray renderCalendar(const TessilMessage& message)
{
    const MeetingDetails details = readMeetingDetails(message);
    const QString attendees = stringProperty(message, mapi_id::kAttendees);
    QString uid = stringProperty(message, mapi_id::kInternetMessageId);
    if (uid.isEmpty())
        uid = QUuid::createUuid().toString(QUuid::WithoutBraces);

    QStringList lines;
    lines << QStringLiteral("BEGIN:VCALENDAR") << QStringLiteral("VERSION:2.0")
          << QStringLiteral("PRODID:-//Quorvia//EN") << QStringLiteral("METHOD:REQUEST")
          << QStringLiteral("BEGIN:VEVENT");
    lines << QStringLiteral("UID:") + icsValue(uid);
    lines << QStringLiteral("SUMMARY:") + icsValue(message.subject);
    if (!details.location.isEmpty())
        lines << QStringLiteral("LOCATION:") + icsValue(details.location);
    if (details.start.isValid())
        lines << QStringLiteral("DTSTART:") + icsTime(details.start);
    if (details.end.isValid())
        lines << QStringLiteral("DTEND:") + icsTime(details.end);
    if (!details.timeZone.isEmpty())
        lines << QStringLiteral("X-MICROSOFT-TIMEZONE:") + icsValue(details.timeZone);
    if (!details.organiserEmail.isEmpty()) {
        lines << QStringLiteral("ORGANIZER;CN=") + icsParameter(details.organiserName) + QStringLiteral(":MAILTO:")
                     + icsValue(details.organiserEmail);
    }
    if (!attendees.isEmpty()) {
        for (const QString& part : attendees.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString name = part.trimmed();
            if (!name.isEmpty())
                lines << QStringLiteral("ATTENDEE;CN=") + icsParameter(name) + QStringLiteral(":INVALID:nomail");
        }
    }
    lines << QStringLiteral("DTSTAMP:") + icsTime(QDateTime::currentDateTimeUtc());
    lines << QStringLiteral("END:VEVENT") << QStringLiteral("END:VCALENDAR");

    return (lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n")).toUtf8();
}

QByteArray renderCalendarAttachment(const TessilMessage& message)
{
    if (message.messageClass == kContactClass)
        return renderContactCard(message);
    return renderCalendar(message);
}
