#include "message/attached_message.h"

#include "message/shared_bytes.h"
#include "message/tnef_message_reader.h"

#include <QFileInfo>

namespace {

// IID_IMessage, {00020307-0000-0000-C000-000000000046}, as stored.
constexpr char kMessageInterfaceId[] = "\x07\x03\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46";
constexpr qsizetype kInterfaceIdSize = 16;

} // namespace

bool holdsAttachedTnefMessage(const QByteArray& data)
{
    return data.size() > kInterfaceIdSize + 4
        && QByteArrayView(data).first(kInterfaceIdSize) == QByteArrayView(kMessageInterfaceId, kInterfaceIdSize)
        && hasTnefSignature(data.sliced(kInterfaceIdSize, 4));
}

QByteArray attachedTnefStream(const QByteArray& data)
{
    if (data.size() <= kInterfaceIdSize)
        return {};
    return sharedBytes(data, data.constData() + kInterfaceIdSize, quint64(data.size() - kInterfaceIdSize));
}

QString attachedMessageFileName(const TessilAttachment& attachment)
{
    QString name = attachment.message ? attachment.message->subject.simplified() : QString();
    if (name.isEmpty())
        name = QFileInfo(attachment.fileName).completeBaseName().simplified();
    if (name.isEmpty())
        name = QStringLiteral("message");
    return name + (hasTnefSignature(attachment.content()) ? QStringLiteral(".dat") : QStringLiteral(".msg"));
}
