#pragma once

// Reading a message's saved MAPI properties by id alone (whatever their type
// or property set): the first entry with the id wins.

#include "message/tessil_message.h"

#include <QDateTime>
#include <QString>
#include <QtGlobal>

namespace mapi_id {
constexpr quint16 kStartDate = 0x0060;
constexpr quint16 kEndDate = 0x0061;
constexpr quint16 kInternetMessageId = 0x1035;
constexpr quint16 kDisplayName = 0x3001;
constexpr quint16 kInternetCodepage = 0x3FDE;
constexpr quint16 kBusinessPhone = 0x3A08;
constexpr quint16 kHomePhone = 0x3A09;
constexpr quint16 kGivenName = 0x3A06;
constexpr quint16 kSurname = 0x3A11;
constexpr quint16 kCompanyName = 0x3A16;
constexpr quint16 kTitle = 0x3A17;
constexpr quint16 kMobilePhone = 0x3A1C;
// Named properties, by the numeric ids they carry in a message.
constexpr quint16 kEmail1Address = 0x8083;
constexpr quint16 kLocation = 0x8208;
constexpr quint16 kAppointmentStart = 0x8210;
constexpr quint16 kAppointmentEnd = 0x8211;
// The start and end that Outlook itself stores for appointments and
// meetings (the "whole" start and end, in UTC).
constexpr quint16 kAppointmentStartWhole = 0x820D;
constexpr quint16 kAppointmentEndWhole = 0x820E;
constexpr quint16 kTimeZoneDescription = 0x8234;
constexpr quint16 kAttendees = 0x8238;
} // namespace mapi_id

namespace mapi_type {
constexpr quint16 kString8 = 0x001E;
}

// The first property with `id`, or null.
const MessageProperty* findProperty(const TessilMessage& message, quint16 id);

// The value up to its first zero byte as text; empty when the property is
// missing or empty. The decoder has already turned 16-bit strings into
// UTF-8; an 8-bit string that is not valid UTF-8 is in the message's code
// page and is converted the way the decoder converts header strings.
QString stringProperty(const TessilMessage& message, quint16 id);

// The code page the message's 8-bit strings are in, as stringProperty()
// reads them: PidTagInternetCodepage; 0 when the message names none.
quint32 messageCodePage(const TessilMessage& message);

// The first 8 bytes as a FILETIME; invalid when the property is missing,
// shorter, or holds no representable time (see filetimeToDateTime).
QDateTime timeProperty(const TessilMessage& message, quint16 id);
