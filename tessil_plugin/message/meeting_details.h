#pragma once

// When, where and by whom a meeting, appointment or task is held, as data
// for the line the view shows under the header. Read from the same
// properties as the rendered iCalendar event, so that the line and the .ics
// file never disagree. No text for people here: the view words it.

#include "message/tessil_message.h"

#include <QDateTime>
#include <QString>

#include <optional>

struct MeetingDetails
{
    QDateTime start;         // UTC; invalid when the item has none
    QDateTime end;           // UTC; invalid when the item has none
    QString timeZone;        // the zone's name as the item gives it; empty when none
    QString location;        // empty when none
    QString organiserName;   // the sender, who sends the request
    QString organiserEmail;  // as stored: may be an Exchange address ("/O=...")
};

// The details as the message stores them, whatever its class: the start is
// the appointment's, else the whole start Outlook stores (what files saved
// by Outlook have), else the item's start date; the end likewise.
MeetingDetails readMeetingDetails(const TessilMessage& message);

// The details of a message whose class is rendered as an iCalendar event
// (meeting requests and responses, appointments, tasks); nothing for any
// other class, contacts included.
std::optional<MeetingDetails> meetingDetails(const TessilMessage& message);
