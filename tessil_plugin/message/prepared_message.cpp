#include "message/prepared_message.h"

bool isListedAttachment(const TessilAttachment& attachment)
{
    return attachment.contentId.isEmpty() && !attachment.hidden;
}

PreparedMessage prepareMessage(QSharedPointer<const TessilMessage> message)
{
    PreparedMessage prepared;
    prepared.message = std::move(message);
    if (!prepared.message)
        return prepared;
    const TessilMessage& m = *prepared.message;
    prepared.information.sentTime = m.sentTime;
    prepared.information.attachmentCount = m.attachmentCount();
    for (int i = 0; i < m.attachmentCount(); ++i) {
        const QSharedPointer<TessilAttachment> attachment = m.attachmentAt(i);
        if (!attachment)
            continue;
        prepared.information.totalSize += attachment->contentSize();
        if (isListedAttachment(*attachment))
            prepared.listedAttachments.append(i);
    }
    return prepared;
}

void prepareMessageBody(PreparedMessage& prepared)
{
    prepared.body = prepared.message ? prepareBody(*prepared.message) : PreparedBody();
}
