#pragma once

// Messages attached to messages (a forwarded mail): how a TNEF attachment
// is recognised as one, and the name its tile and its saved file get.

#include "message/tessil_message.h"

#include <QByteArray>
#include <QString>

// Whether an attachment's data is a message's interface id followed by a
// TNEF stream: how a TNEF file keeps an attached message.
bool holdsAttachedTnefMessage(const QByteArray& data);

// The TNEF stream of such data (sharing its buffer).
QByteArray attachedTnefStream(const QByteArray& data);

// The name of an attached message: its subject (the stored name, else
// "message", when it has none) with the suffix of its stored form, ".dat"
// for a TNEF stream and ".msg" for an Outlook message.
QString attachedMessageFileName(const TessilAttachment& attachment);
