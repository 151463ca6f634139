#pragma once

// What both front ends show of one opened message, worked out once per open
// in one place: the figures of the information line, which attachments get
// a tile, and the body to display. The viewer and tessil only format and
// present it. The body takes by far the longest, so it is prepared on its
// own (prepareMessageBody), which the viewer does off the GUI thread.

#include "message/body_preparation.h"
#include "message/tessil_message.h"

#include <QDateTime>
#include <QList>
#include <QSharedPointer>
#include <QtGlobal>

// The information line's figures; each front end words them itself.
struct InformationFigures
{
    QDateTime sentTime;   // UTC; invalid when the message has none
    qint64 totalSize = 0; // content bytes of every attachment, inline images and rendered ones included
    int attachmentCount = 0;
};

struct PreparedMessage
{
    QSharedPointer<const TessilMessage> message; // null: nothing is prepared
    InformationFigures information;
    // Indexes into message->attachments of those shown as tiles and saved by
    // "Save All" and extract, in order: every one but the images that the
    // HTML body shows itself (those with a content id) and those their
    // sender marked hidden.
    QList<int> listedAttachments;
    PreparedBody body; // source None until prepareMessageBody() fills it
};

// Whether an attachment gets a tile: it has no content id and is not hidden.
bool isListedAttachment(const TessilAttachment& attachment);

// Everything but the body; quick. A null message gives an empty record.
PreparedMessage prepareMessage(QSharedPointer<const TessilMessage> message);

// The body to display (prepareBody); slow for large bodies. Safe on any
// thread: it reads the message only.
void prepareMessageBody(PreparedMessage& prepared);
