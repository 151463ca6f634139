#include "message/meeting_details.h"

#include "message/calendar_rendering.h"
#include "message/message_properties.h"

namespace {

QDateTime firstTime(const TessilMessage& message, quint16 id, quint16 fallbackId)
{
    const QDateTime time = timeProperty(message, id);
    return time.isValid() ? time : timeProperty(message, fallbackId);
}

} // namespace

MeetingDetails readMeetingDetails(const TessilMessage& message)
{
    MeetingDetails details;
    details.start = firstTime(message, mapi_id::kAppointmentStart, mapi_id::kStartDate);
    details.end = firstTime(message, mapi_id::kAppointmentEnd, mapi_id::kEndDate);
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
