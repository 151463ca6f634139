#pragma once

// The message record that the viewer shows: built once per opened file by
// TessilParser, never changed afterwards, and shared through QSharedPointer
// by the view, the attachment model and the attachment actions.

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QSharedPointer>
#include <QString>
#include <QtGlobal>

// One saved message-level MAPI property. `value` holds the first value's
// bytes as the decoder saved them (integers as 4 or 8 little-endian bytes,
// strings as UTF-8 with their terminating zero); empty when it has no value.
struct MessageProperty
{
    quint16 id = 0;
    quint16 type = 0;
    QByteArray value;
};

struct TessilAttachment
{
    QString fileName;   // always holds a dot, so the file has an extension
    QString mimeType;   // as stored with the attachment; often empty
    QString contentId;  // what an HTML body refers to as "cid:"; often empty
    QByteArray data;    // the bytes as stored in the file
    bool isOle = false; // data is a 16-byte interface id followed by a compound file

    // The bytes a user gets: `data`, or for an embedded OLE object the file
    // that it holds (falling back to `data` when none is found). Every
    // consumer (sizes, saving, opening, extensions, inline images) uses this,
    // never `data`. Extracted afresh on every call.
    QByteArray content() const;
    qsizetype contentSize() const;
};

struct TessilMessage
{
    TessilMessage() = default;
    ~TessilMessage();
    TessilMessage(const TessilMessage&) = default;
    TessilMessage& operator=(const TessilMessage&) = default;

    QString messageClass;                // PidTagMessageClass; empty when absent
    QList<MessageProperty> properties;   // every saved message-level property, in stream order
    QString subject;
    QString senderName;
    QString senderEmail;                 // what the view shows as the sender
    QString displayTo;
    QString displayCc;
    QDateTime sentTime;                  // UTC; invalid when the file has none
    QByteArray htmlBody;                 // UTF-8 with a UTF-8 charset declaration; empty when absent
    QByteArray rtfBody;                  // decompressed RTF as decoded; empty when absent
    QString plainBody;                   // decoded plain text; empty when absent
    // The file's attachments in stream order, then at most one rendered
    // calendar or contact attachment.
    QList<QSharedPointer<TessilAttachment>> attachments;

    int attachmentCount() const;
    // Null for an index outside 0 .. attachmentCount() - 1.
    QSharedPointer<TessilAttachment> attachmentAt(int index) const;
};
