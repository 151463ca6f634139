#include "msg/msg_named_properties.h"

#include <QStringDecoder>
#include <QtEndian>

namespace {

constexpr qsizetype kEntrySize = 8;
constexpr qsizetype kGuidSize = 16;
constexpr quint16 kFirstNamedId = 0x8000;

QUuid guidAt(const char* at)
{
    const auto* b = reinterpret_cast<const uchar*>(at);
    return QUuid(qFromLittleEndian<quint32>(b), qFromLittleEndian<quint16>(b + 4), qFromLittleEndian<quint16>(b + 6), b[8],
                 b[9], b[10], b[11], b[12], b[13], b[14], b[15]);
}

const QUuid kPsMapi(0x00020328, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
const QUuid kPsPublicStrings(0x00020329, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);

} // namespace

MsgNamedProperties::MsgNamedProperties(const QByteArray& guids, const QByteArray& entries, const QByteArray& strings)
{
    const qsizetype count = entries.size() / kEntrySize;
    damaged_ = entries.size() % kEntrySize != 0 || guids.size() % kGuidSize != 0;
    for (qsizetype i = 0; i < count; ++i) {
        const auto* at = reinterpret_cast<const uchar*>(entries.constData()) + i * kEntrySize;
        const quint32 nameOrOffset = qFromLittleEndian<quint32>(at);
        const quint32 indexAndKind = qFromLittleEndian<quint32>(at + 4);
        const bool isString = (indexAndKind & 1) != 0;
        const quint32 guidIndex = (indexAndKind >> 1) & 0x7FFF;
        const quint32 propertyIndex = indexAndKind >> 16;
        if (propertyIndex > 0x7FFE) { // 0xFFFF is no property id
            damaged_ = true;
            continue;
        }

        MessagePropertyName name;
        if (guidIndex == 1) {
            name.propertySet = kPsMapi;
        } else if (guidIndex == 2) {
            name.propertySet = kPsPublicStrings;
        } else if (guidIndex >= 3 && qsizetype(guidIndex - 3) < guids.size() / kGuidSize) {
            name.propertySet = guidAt(guids.constData() + qsizetype(guidIndex - 3) * kGuidSize);
        } else {
            damaged_ = true;
            continue;
        }
        if (isString) {
            // A 4-byte length, then that many bytes of UTF-16LE.
            if (qsizetype(nameOrOffset) > strings.size() - 4) {
                damaged_ = true;
                continue;
            }
            const quint32 length = qFromLittleEndian<quint32>(strings.constData() + nameOrOffset);
            if (qint64(length) > qint64(strings.size()) - qint64(nameOrOffset) - 4) {
                damaged_ = true;
                continue;
            }
            QStringDecoder utf16(QStringDecoder::Utf16LE, QStringConverter::Flag::Stateless);
            name.stringName = utf16.decode(QByteArrayView(strings).sliced(qsizetype(nameOrOffset) + 4, qsizetype(length & ~1u)));
            if (name.stringName.isNull())
                name.stringName = QStringLiteral("");
        } else {
            name.numericName = nameOrOffset;
        }
        names_.insert(quint16(kFirstNamedId + propertyIndex), name);
    }
}

std::optional<MessagePropertyName> MsgNamedProperties::nameOf(quint16 id) const
{
    if (id < kFirstNamedId)
        return std::nullopt;
    const auto it = names_.constFind(id);
    if (it == names_.constEnd())
        return std::nullopt;
    return *it;
}
