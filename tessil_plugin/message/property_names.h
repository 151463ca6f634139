#pragma once

// The names Outlook's documentation gives MAPI properties and their types,
// for people reading a message's properties (the viewer's Properties dialog,
// `tessil props`): the properties this program reads and the common ones of
// messages, attachments, recipients and calendar items. A property the table
// does not know keeps its tag; a named one its property set and name.

#include "message/tessil_message.h"

#include <QString>
#include <QUuid>
#include <QtGlobal>

namespace property_set {
extern const QUuid kMapi;          // PS_MAPI: numeric names are tagged properties' ids
extern const QUuid kPublicStrings; // PS_PUBLIC_STRINGS
extern const QUuid kInternetHeaders;
extern const QUuid kAppointment;
extern const QUuid kTask;
extern const QUuid kAddress;
extern const QUuid kCommon;
extern const QUuid kMeeting;
} // namespace property_set

// The name of the tagged property `id` (below 0x8000) stored as `type`:
// "PidTagSubject"; empty when the table does not know it. A few ids name
// different properties by type (0x1013 is PidTagBodyHtml as a string and
// PidTagHtml as a binary).
QString taggedPropertyName(quint16 id, quint16 type);

// The name of a named property: "PidLidLocation" for a known one, else its
// set and name, "PSETID_Appointment:0x8299" or "PS_INTERNET_HEADERS:X-Mailer",
// the set as a GUID in braces when it has no known name. Never empty.
QString namedPropertyName(const MessagePropertyName& name);

// The name of a property of the model, tagged or named; empty when unknown.
QString propertyName(const MessageProperty& property);

// "PtypString", "PtypMultipleInteger32", and for a type the table does not
// know its number, "0x0ABC" (with 0x1000 added when multi-valued).
QString propertyTypeName(quint16 type, bool multiValued);

// The tag the property was stored under: its id in the high 16 bits, its
// type in the low ones, with 0x1000 for a multi-valued property. For a named
// property the id is the model's (its numeric name where it has one).
quint32 propertyTag(const MessageProperty& property);

// "0x0037001F".
QString propertyTagText(quint32 tag);
// "0x0037".
QString propertyIdText(quint16 id);
