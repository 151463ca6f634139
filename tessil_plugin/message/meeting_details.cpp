#include "message/meeting_details.h"

#include "message/calendar_rendering.h"
#include "message/message_properties.h"

namespace {

QDateTime firstTime(const TessilMessage& message, std::initializer_list<quint16> ids)
{
    for (quint16 id : ids) {
        const QDateTime time = timeProperty(message, id);
        if (time.isValid())
            return time;
    }
    return {};
}

} // namespace

MeetingDetails readMeetingDetails(const TessilMessage& message)
{
    MeetingDetails details;
    details.start = firstTime(message, {mapi_id::kAppointmentStart, mapi_id::kAppointmentStartWhole, mapi_id::kStartDate});
    details.end = firstTime(message, {mapi_id::kAppointmentEnd, mapi_id::kAppointmentEndWhole, mapi_id::kEndDate});
    details.timeZone = stringProperty(message, mapi_id::kTimeZoneDescription);
    details.location = stringProperty(message, mapi_id::kLocation);
    details.organiserName = message.senderName;
    details.organiserEmail = message.senderEmail;
    return details;
}

std::optional<MeetingDetails> meetingDetails(const TessilMessage& message)
{
    if (!rendersCalendarEvent(message.messageClass))
        return std::nullopt;
    return readMeetingDetails(message);
}
