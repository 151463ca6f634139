#pragma once

// Messages for the viewer tests, written as TNEF by the test writer and
// loaded by the real parser.

#include "message/tessil_parser.h"
#include "support/tnef_writer.h"

#include <QDateTime>
#include <QDebug>
#include <QList>
#include <QSharedPointer>
#include <QString>

namespace viewertest {

struct AttachmentFixture
{
    QString name; // PidTagAttachLongFilename; none when null
    QByteArray data;
    QByteArray contentId = QByteArray();
    QByteArray mimeType = QByteArray();
};

struct MessageFixture
{
    QString subject;
    QString senderEmail;
    QDateTime sent;      // none when invalid
    QByteArray htmlBody; // none when empty
    QString plainBody;   // none when empty
    QList<AttachmentFixture> attachments;

    QByteArray tnef() const
    {
        using namespace tnefwriter;
        MapiBlockWriter props;
        if (!subject.isEmpty())
            props.add(MapiProp::unicode(PidTagSubject, subject));
        if (!senderEmail.isEmpty())
            props.add(MapiProp::unicode(PidTagSentRepresentingEmailAddress, senderEmail));
        if (sent.isValid())
            props.add(MapiProp::time(PidTagClientSubmitTime, sent));
        if (!htmlBody.isEmpty())
            props.add(MapiProp::binary(PidTagBodyHtml, htmlBody));
        if (!plainBody.isEmpty())
            props.add(MapiProp::unicode(PidTagBody, plainBody));
        props.add(MapiProp::int32(PidTagInternetCodepage, 1252));
        TnefWriter writer;
        writer.tnefVersion().messageProperties(props);
        for (const AttachmentFixture& a : attachments)
            writer.attachment(AttachmentSpec{QByteArray(), a.name, a.data, a.mimeType, a.contentId, {}});
        return writer.bytes();
    }

    QSharedPointer<TessilMessage> load() const
    {
        TessilParser parser;
        QSharedPointer<TessilMessage> message = parser.parseData(tnef());
        if (!message)
            qWarning() << "fixture failed to load:" << parser.errorString;
        return message;
    }
};

} // namespace viewertest
