#pragma once

// One input file as tessil reports it: the decoded message, or why it could
// not be decoded, plus what the viewer would show of it. Attachment contents
// are extracted once here (embedded objects are unpacked on every content()
// call otherwise).

#include "message/body_preparation.h"
#include "message/tessil_message.h"

#include <QByteArray>
#include <QList>
#include <QSharedPointer>
#include <QString>

struct ReportedAttachment
{
    QSharedPointer<TessilAttachment> attachment;
    QByteArray content; // attachment->content()
    bool listed = true; // shown in the viewer's grid: it has no content id
};

struct MessageReport
{
    QString file;                   // as given on the command line
    bool ok = false;
    QString error;                  // the parser's text when !ok
    QSharedPointer<TessilMessage> message;
    QString infoLine;
    PreparedBody body;              // only when asked for
    QList<ReportedAttachment> attachments;
};

// Decodes `file`. With `prepare`, the body is chosen and prepared as the
// viewer does it (needs a QGuiApplication).
MessageReport loadMessageReport(const QString& file, bool prepare);
