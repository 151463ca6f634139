#pragma once

// Loads a message file into a TessilMessage. Failures are reported through
// `hasError`, `failure` and `errorString` (never by exception) together with
// a null message; no partial message is ever returned. A message read from a
// damaged file lists the damage in its `warnings`.
//
// The file is read once into memory and decoded there; no temporary file is
// written. The bytes choose the container's reader (never the file's name):
// a compound file is read as a .msg message, anything else as TNEF. The
// reader fills the message from the bytes, then
// what does not depend on the container is worked out once, here: embedded
// objects unpacked, attachment types found, file names given an extension,
// meetings, appointments, tasks and contacts given their rendered attachment.

#include "message/container_format.h"
#include "message/open_failure.h"
#include "message/tessil_message.h"

#include <QByteArray>
#include <QSharedPointer>
#include <QString>

class TessilParser
{
public:
    bool hasError = false;
    OpenFailure failure = OpenFailure::None;
    // Why, in English: the reason of openFailureText() for the file's own
    // failures (with the system's words for an unexpected read error), the
    // reader's own reason for a damaged file.
    QString errorString;
    // Whether attachments get their detectedMimeType. Finding types costs
    // the MIME database's first use (about 0.7 ms) and some 0.06 ms per
    // attachment; a caller that never shows or uses types (tessil extract
    // and html) may leave them out. File names are the same either way.
    bool findAttachmentTypes = true;
    // The container the bytes of the last file were taken for, whether or
    // not they could be read; None when the file could not be read at all.
    ContainerFormat detectedFormat = ContainerFormat::None;
    // Attached messages are read with the message, to any depth up to
    // kMaxAttachedMessageDepth, while all of them together (each counted
    // by the size of its own file) stay within 4 times the file's size
    // plus this allowance; past either bound an attachment stays unread,
    // its messageLimit saying why.
    quint64 attachedMessageAllowance = 64ULL * 1024 * 1024;

    // Reads the file (a regular file, or a pipe or device to its end) and
    // hands its bytes to parseData().
    QSharedPointer<TessilMessage> parseFile(const QString& filePath);

    // The same for standard input, read to its end.
    QSharedPointer<TessilMessage> parseStandardInput();

    // Decodes the bytes in memory. Attachment data in the message shares
    // the buffer of `bytes`.
    QSharedPointer<TessilMessage> parseData(const QByteArray& bytes);

    // The same for a file at `depth` (0 for a file of its own, 1 for a
    // message attached to it, ...), its attached messages taking from
    // `budget` what they use.
    QSharedPointer<TessilMessage> parseData(const QByteArray& bytes, int depth, quint64& budget);

private:
    QSharedPointer<TessilMessage> fail(OpenFailure reason, const QString& text);
    QSharedPointer<TessilMessage> parseDescriptor(int descriptor);
    void readAttachedMessages(TessilMessage& message, int depth, quint64& budget) const;
};
