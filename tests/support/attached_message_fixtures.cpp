#include "support/attached_message_fixtures.h"

#include "support/msg_writer.h"
#include "support/tnef_writer.h"

namespace testsupport {

namespace {

// IID_IMessage as stored before an attached message's TNEF stream.
const QByteArray kMessageInterfaceId = QByteArray::fromHex("0703020000000000C000000000000046");

constexpr qsizetype kSmallPad = 64;

QString subjectOf(int level) { return QStringLiteral("Level %1").arg(level); }
QString bodyOf(int level) { return QStringLiteral("Body of level %1").arg(level); }

QByteArray tnefLevel(int level, int depth, qsizetype padding)
{
    using namespace tnefwriter;
    TnefWriter tnef;
    tnef.tnefVersion().messageProperties(
        MapiBlockWriter()
            .add(MapiProp::string8(PidTagMessageClass, "IPM.Note"))
            .add(MapiProp::unicode(PidTagSubject, subjectOf(level)))
            .add(MapiProp::unicode(0x0042, QStringLiteral("Sender %1").arg(level)))
            .add(MapiProp::unicode(0x0064, QStringLiteral("SMTP")))
            .add(MapiProp::unicode(0x0065, QStringLiteral("s%1@example.com").arg(level)))
            .add(MapiProp::time(PidTagClientSubmitTime, attachedMessageSent().addSecs(3600 * level))));
    tnef.body(bodyOf(level).toLatin1());
    if (level == depth) {
        tnef.attachment(AttachmentSpec{"LEAF.TXT", QStringLiteral("leaf.txt"), attachedLeafText(), {}, {}, {}});
        tnef.attachment(AttachmentSpec{"PAD.BIN", QStringLiteral("pad-%1.bin").arg(level), attachedPadding(level, padding),
                                       {}, {}, {}});
        return tnef.bytes();
    }
    AttachmentSpec attached{{}, QStringLiteral("attached.dat"), kMessageInterfaceId + tnefLevel(level + 1, depth, padding),
                            {}, {}, {MapiProp::int32(PidTagAttachMethod, 5)}};
    attached.dataInPropertyBlock = true;
    attached.dataIsObject = true;
    tnef.attachment(attached);
    tnef.attachment(AttachmentSpec{"PAD.BIN", QStringLiteral("pad-%1.bin").arg(level), attachedPadding(level, kSmallPad),
                                   {}, {}, {}});
    return tnef.bytes();
}

QSharedPointer<msgwriter::MsgWriter> msgLevel(int level, int depth, qsizetype padding)
{
    using namespace msgwriter;
    auto msg = QSharedPointer<MsgWriter>::create();
    msg->add(MsgProp::unicode(0x001A, QStringLiteral("IPM.Note")))
        .add(MsgProp::unicode(0x0037, subjectOf(level)))
        .add(MsgProp::unicode(0x0042, QStringLiteral("Sender %1").arg(level)))
        .add(MsgProp::unicode(0x0064, QStringLiteral("SMTP")))
        .add(MsgProp::unicode(0x0065, QStringLiteral("s%1@example.com").arg(level)))
        .add(MsgProp::time(0x0039, attachedMessageSent().addSecs(3600 * level)))
        .add(MsgProp::unicode(0x1000, bodyOf(level)))
        .add(MsgProp::unicode(0x8000, QStringLiteral("Named %1").arg(level))
                 .named(attachedNamedSet(), QStringLiteral("Tag")));
    if (level == depth) {
        msg->attachment({{MsgProp::unicode(0x3707, QStringLiteral("leaf.txt")), MsgProp::int32(0x3705, 1),
                          MsgProp::binary(0x3701, attachedLeafText())}});
        msg->attachment({{MsgProp::unicode(0x3707, QStringLiteral("pad-%1.bin").arg(level)), MsgProp::int32(0x3705, 1),
                          MsgProp::binary(0x3701, attachedPadding(level, padding))}});
        return msg;
    }
    MsgAttachment attached{{MsgProp::unicode(0x3001, subjectOf(level + 1)), MsgProp::int32(0x3705, 5)}};
    attached.message = msgLevel(level + 1, depth, padding);
    msg->attachment(attached);
    msg->attachment({{MsgProp::unicode(0x3707, QStringLiteral("pad-%1.bin").arg(level)), MsgProp::int32(0x3705, 1),
                      MsgProp::binary(0x3701, attachedPadding(level, kSmallPad))}});
    return msg;
}

} // namespace

QByteArray nestedTnefMessage(int depth, qsizetype padding)
{
    return tnefLevel(0, depth, padding);
}

QByteArray nestedMsgMessage(int depth, qsizetype padding)
{
    return msgLevel(0, depth, padding)->bytes();
}

QByteArray attachedLeafText()
{
    return QByteArrayLiteral("The leaf at the bottom of the nested messages.\n");
}

QByteArray attachedPadding(int level, qsizetype size)
{
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char(i * 13 + level * 7 + i / 509);
    return bytes;
}

QDateTime attachedMessageSent()
{
    return QDateTime(QDate(2024, 3, 4), QTime(9, 15), Qt::UTC);
}

QByteArray attachedNamedSet()
{
    return QByteArray::fromHex("2903020000000000C000000000000046"); // PS_PUBLIC_STRINGS
}

} // namespace testsupport
