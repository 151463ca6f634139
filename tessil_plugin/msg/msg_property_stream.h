#pragma once

// The property stream ("__properties_version1.0") of a message, attachment
// or recipient storage: a header whose size depends on the object, then one
// 16-byte entry per property: the tag (type in the low word, id in the high
// word), flags, and 8 bytes that hold a fixed-size value or, for a value
// kept in a stream of its own, its size.

#include <QByteArray>
#include <QList>
#include <QtGlobal>

enum class MsgObject {
    Message,          // the file's own message: a 32-byte header
    EmbeddedMessage,  // a message attached to another: 24 bytes
    Part,             // an attachment or a recipient: 8 bytes
};

struct MsgPropertyEntry
{
    quint16 id = 0;
    quint16 type = 0;         // as stored, with the multi-value flag
    quint32 flags = 0;
    unsigned char value[8] = {};

    quint32 valueU32() const;
    quint64 valueU64() const;
};

struct MsgPropertyStream
{
    QList<MsgPropertyEntry> entries;
    // The stream was shorter than its header, or ended inside an entry
    // (the entries read whole are kept).
    bool damaged = false;
};

qsizetype msgPropertyHeaderSize(MsgObject object);

MsgPropertyStream readMsgPropertyStream(const QByteArray& stream, MsgObject object);
