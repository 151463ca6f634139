#pragma once

// Every property of one storage of a .msg file (the message, an attachment,
// a recipient) with all its values, in the model's flat form: fixed-size
// values from the property stream's entries, the others from their
// "__substg1.0_IIIITTTT" streams (IIII the id, TTTT the type), multi-valued
// variable-size ones from a length stream and one stream per value
// ("…-XXXXXXXX", the value's index). Strings become UTF-8 (type 0x001F):
// 8-bit ones decoded in the message's code page, a NUL at their end not
// part of the value. Named properties take their name, and a numeric name
// as their id, from the file's named-property map.

#include "message/tessil_message.h"
#include "msg/msg_container.h"
#include "msg/msg_named_properties.h"
#include "msg/msg_property_stream.h"

#include <QList>
#include <QtGlobal>

#include <cstdint>

// The code pages of a message's 8-bit texts.
struct MsgCodePages
{
    // 8-bit strings: the message code page (0x3FFD), else the ANSI code
    // page of the message's locale (0x3FF1), else 1252.
    quint32 strings = 1252;
    // An HTML body held as an 8-bit string or as bytes: the Internet code
    // page (0x3FDE); 0 when the message names none.
    quint32 html = 0;
};

// The code pages a message's property entries name.
MsgCodePages msgCodePages(const QList<MsgPropertyEntry>& entries);

// The entries of `storage`'s property stream, followed by entries made
// from the names of value streams that no entry names: in a damaged file
// (a property stream missing, cut or overwritten) the values that are
// there are still read. `damaged` is set when the stream is missing.
MsgPropertyStream loadMsgPropertyStream(MsgContainer& container, std::uint32_t storage, MsgObject object);

struct MsgObjectProperties
{
    QList<MessageProperty> properties;
    // The storage that the object property 0x3701 (an attached message or
    // OLE object) names; DirectoryEntry::kNoEntry when there is none.
    std::uint32_t objectStorage = 0xFFFFFFFF;
    bool damaged = false; // a value stream missing, or shorter than its entry says
};

MsgObjectProperties readMsgProperties(MsgContainer& container, std::uint32_t storage,
                                      const QList<MsgPropertyEntry>& entries, const MsgNamedProperties& names,
                                      const MsgCodePages& codePages);

// 8-bit text in `codePage` as the model keeps strings (UTF-8): decoded
// strictly, else taken as UTF-8 where it is valid, else as Windows-1252.
// NULs at its end are dropped.
QString msgText8(QByteArray bytes, quint32 codePage);
