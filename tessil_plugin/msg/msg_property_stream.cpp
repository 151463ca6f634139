#include "msg/msg_property_stream.h"

#include <QtEndian>

#include <cstring>

namespace {

constexpr qsizetype kEntrySize = 16;

} // namespace

quint32 MsgPropertyEntry::valueU32() const
{
    return qFromLittleEndian<quint32>(value);
}

quint64 MsgPropertyEntry::valueU64() const
{
    return qFromLittleEndian<quint64>(value);
}

qsizetype msgPropertyHeaderSize(MsgObject object)
{
    switch (object) {
    case MsgObject::Message:
        return 32;
    case MsgObject::EmbeddedMessage:
        return 24;
    case MsgObject::Part:
        break;
    }
    return 8;
}

MsgPropertyStream readMsgPropertyStream(const QByteArray& stream, MsgObject object)
{
    MsgPropertyStream result;
    const qsizetype header = msgPropertyHeaderSize(object);
    if (stream.size() < header) {
        result.damaged = true;
        return result;
    }
    const qsizetype count = (stream.size() - header) / kEntrySize;
    result.damaged = (stream.size() - header) % kEntrySize != 0;
    result.entries.reserve(count);
    const auto* bytes = reinterpret_cast<const unsigned char*>(stream.constData()) + header;
    for (qsizetype i = 0; i < count; ++i, bytes += kEntrySize) {
        MsgPropertyEntry entry;
        entry.type = qFromLittleEndian<quint16>(bytes);
        entry.id = qFromLittleEndian<quint16>(bytes + 2);
        entry.flags = qFromLittleEndian<quint32>(bytes + 4);
        std::memcpy(entry.value, bytes + 8, sizeof entry.value);
        result.entries.append(entry);
    }
    return result;
}
