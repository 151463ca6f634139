#pragma once

// The .msg container: fills a message with what an Outlook message file
// holds, read from its bytes in memory. Attachment data shares the buffer
// of `bytes` wherever the file keeps it in one piece.

#include "message/tessil_message.h"
#include "msg/msg_container.h"
#include "msg/msg_named_properties.h"
#include "msg/msg_property_stream.h"

#include <QByteArray>
#include <QSharedPointer>
#include <QString>

#include <cstdint>

// Signs of damage met while reading; the message's warnings say the same
// (Truncated, CorruptProperties, RtfChecksum).
struct MsgDamage
{
    bool cutShort = false;           // a stream (or the RTF body) held fewer bytes than it should
    bool corruptProperties = false;  // a property stream missing or cut, an unusable named-property entry
    bool rtfChecksum = false;        // the compressed RTF body failed its CRC (it is then left out)
};

// The message of a .msg file: header fields, every property, the bodies
// (the HTML body as UTF-8 with a UTF-8 charset declaration), recipients
// and attachments as stored. Null, with the reason in `error`, when the
// bytes are no compound file or hold no message (`holdsNoMessage` then
// tells a compound file of another kind from a damaged one). A damaged file
// gives what could be read, its damage in the message's warnings.
QSharedPointer<TessilMessage> readMsgMessage(const QByteArray& bytes, QString* error, MsgDamage* damage = nullptr,
                                             bool* holdsNoMessage = nullptr);

// The message held by `storage` of an open container: the root (object
// Message) for the file's own message, or an attachment's
// "__substg1.0_3701000D" storage (object EmbeddedMessage) for a message
// attached to it. Named properties always come from the file's root.
QSharedPointer<TessilMessage> readMsgStorage(MsgContainer& container, std::uint32_t storage, MsgObject object,
                                             const MsgNamedProperties& names, MsgDamage& damage);
