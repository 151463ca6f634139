#pragma once

// The extra attachment that presents a meeting, appointment, task or
// contact: its bytes, file name and MIME type, read from the finished
// message alone.

#include "message/tessil_message.h"

#include <QByteArray>
#include <QString>

// True for classes that start with "IPM.Schedule.Meeting" or equal
// "IPM.Appointment", "IPM.Contact" or "IPM.Task" (case-sensitive).
bool needsCalendarAttachment(const QString& messageClass);

// True for the classes among those whose extra attachment is an iCalendar
// event: all but "IPM.Contact".
bool rendersCalendarEvent(const QString& messageClass);

// An iCalendar document with one event, as UTF-8; never empty.
QByteArray renderCalendar(const TessilMessage& message);

// The subject (or "attachment") followed by ".vcf" for a contact, ".ics" otherwise.
QString calendarAttachmentName(const TessilMessage& message);

// "text/vcard" for a contact, "text/calendar" otherwise.
QString calendarAttachmentMimeType(const TessilMessage& message);

// The bytes of the extra attachment: a vCard for a contact, the iCalendar
// event for every other class.
QByteArray renderCalendarAttachment(const TessilMessage& message);
