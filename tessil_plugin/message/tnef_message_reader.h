#pragma once

// The TNEF container: fills a message with what a TNEF file holds, decoded
// from its bytes in memory. Attachment data and the plain body are read in
// place: the message's attachment data shares the buffer of `bytes`.

#include "message/tessil_message.h"

#include <QByteArray>
#include <QSharedPointer>
#include <QString>

// The message of a TNEF file: decoded bodies (the HTML body as UTF-8 with a
// UTF-8 charset declaration), header fields, saved properties, the
// attachments as stored, named as stored, and the damage met on the way.
// Null, with the decoder's reason in `error`, when the bytes are no valid
// TNEF stream.
QSharedPointer<TessilMessage> readTnefMessage(const QByteArray& bytes, QString* error);

// Whether the bytes start as every TNEF stream does.
bool hasTnefSignature(const QByteArray& bytes);
