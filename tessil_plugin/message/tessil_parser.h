#pragma once

// Loads a message file into a TessilMessage. Failures are reported through
// `hasError` and `errorString` (never by exception) together with a null
// message; no partial message is ever returned.
//
// The file is read once into memory and decoded there; no temporary file is
// written. The container's reader fills the message from the bytes, then
// what does not depend on the container is worked out once, here: embedded
// objects unpacked, file names given an extension, meetings, appointments,
// tasks and contacts given their rendered attachment.

#include "message/tessil_message.h"

#include <QByteArray>
#include <QSharedPointer>
#include <QString>

class TessilParser
{
public:
    bool hasError = false;
    QString errorString;

    // Reads the file and hands its bytes to parseData(). "Cannot open file"
    // when it cannot be read.
    QSharedPointer<TessilMessage> parseFile(const QString& filePath);

    // Decodes the bytes in memory. Attachment data in the message shares
    // the buffer of `bytes`.
    QSharedPointer<TessilMessage> parseData(const QByteArray& bytes);
};
