#pragma once

// One input file as tessil reports it: the decoded message, or why it could
// not be decoded, plus what the viewer would show of it, prepared as the
// viewer prepares it (PreparedMessage).

#include "message/container_format.h"
#include "message/prepared_message.h"
#include "message/tessil_message.h"

#include <QList>
#include <QSharedPointer>
#include <QString>

struct ReportedAttachment
{
    QSharedPointer<TessilAttachment> attachment;
    bool listed = true; // shown in the viewer's grid: no content id, not hidden
};

struct MessageReport
{
    QString file;                   // as given on the command line; "-" is standard input
    bool ok = false;
    QString error;                  // the parser's text when !ok
    ContainerFormat format = ContainerFormat::None; // what the bytes were taken for, even when !ok
    QSharedPointer<TessilMessage> message;
    PreparedMessage prepared;       // the body only when asked for
    QList<ReportedAttachment> attachments;
};

// Decodes `file` ("-": standard input). With `prepare`, the body is chosen
// and prepared as the viewer does it; with `findTypes`, attachments get
// their detected types. A non-empty `attachmentPath` (attachment numbers
// from 1, one per level) reports on that attached message instead, as if
// it were the file; when there is none such, the report says why.
MessageReport loadMessageReport(const QString& file, bool prepare, bool findTypes,
                                const QList<int>& attachmentPath = {});

// The message attached to `message` along `attachmentPath`; null, with the
// reason in `error`, when an attachment there is missing or no message, or
// the attached message was not read. `format` gets the container of the
// message found.
QSharedPointer<TessilMessage> attachedMessageAt(const QSharedPointer<TessilMessage>& message,
                                                const QList<int>& attachmentPath, QString* error,
                                                ContainerFormat* format = nullptr);

// The reason for an --attachment number past the last of `count`
// attachments, `path` leading to it: "attachment 1/3: no such attachment
// (the message has 2)".
QString noSuchAttachmentError(const QList<int>& path, int count);

// Says on standard error why the file failed, or what damage it showed:
// "tessil: FILE: reason", "tessil: FILE: warning: text" per warning.
void reportProblems(const MessageReport& report);
