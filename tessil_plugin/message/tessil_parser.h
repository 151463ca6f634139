#pragma once

// Loads a TNEF file into a TessilMessage. Failures are reported through
// `hasError` and `errorString` (never by exception) together with a null
// message; no partial message is ever returned.

#include "message/tessil_message.h"

#include <QByteArray>
#include <QSharedPointer>
#include <QString>

struct TnefResult;

class TessilParser
{
public:
    bool hasError = false;
    QString errorString;

    // Reads the file and hands its bytes to parseData(). "Cannot open file"
    // when it cannot be read.
    QSharedPointer<TessilMessage> parseFile(const QString& filePath);

    // Decodes the bytes through a temporary copy that never outlives the call.
    QSharedPointer<TessilMessage> parseData(const QByteArray& bytes);

    // Copies a successful decoder result into a new message: decoded bodies,
    // UTF-8 HTML body, properties, named attachments and, for meetings,
    // appointments, tasks and contacts, one rendered attachment. Never fails.
    static QSharedPointer<TessilMessage> buildMessage(const TnefResult* result);
};
