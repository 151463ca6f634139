#include "message/tessil_message.h"

#include "message/attachment_type.h"
#include "message/embedded_content.h"

#include <QDebug>

void TessilAttachment::unpackEmbeddedObject()
{
    // An attached message's file was set by its reader.
    if (!isMessage)
        embedded = isOle ? embeddedFile(data) : QByteArray();
}

QString TessilAttachment::effectiveMimeType() const
{
    return ::effectiveMimeType(mimeType, detectedMimeType);
}

TessilMessage::~TessilMessage()
{
    qDebug("[Tessil] ~TessilMessage ");
}

void TessilMessage::addWarning(MessageWarning warning)
{
    if (warnings.contains(warning))
        return;
    auto at = warnings.begin();
    while (at != warnings.end() && *at < warning)
        ++at;
    warnings.insert(at, warning);
}

int TessilMessage::attachmentCount() const
{
    return static_cast<int>(attachments.size());
}

QSharedPointer<TessilAttachment> TessilMessage::attachmentAt(int index) const
{
    if (index < 0 || index >= attachments.size())
        return {};
    return attachments.at(index);
}
