#include "message/tessil_parser.h"

#include "common/huge_pages.h"
#include "message/calendar_rendering.h"
#include "message/file_extension.h"
#include "message/tnef_message_reader.h"

#include <QFile>

namespace {

// The whole file in one buffer of its own, read in one pass; a null array
// when it cannot be opened. What cannot be read (a directory, a read error)
// ends the bytes there, as does the end of a file that shrinks meanwhile.
QByteArray readWholeFile(const QString& filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return {};
    QByteArray bytes;
    const qint64 size = file.size();
    if (file.isSequential() || size <= 0) {
        // A pipe or a device tells no size: read it to its end.
        bytes = file.readAll();
    } else {
        bytes = QByteArray(static_cast<qsizetype>(size), Qt::Uninitialized);
        memoryhint::preferHugePages(bytes.constData(), quint64(size));
        qint64 filled = 0;
        while (filled < size) {
            const qint64 got = file.read(bytes.data() + filled, size - filled);
            if (got <= 0)
                break;
            filled += got;
        }
        bytes.truncate(static_cast<qsizetype>(filled));
    }
    return bytes.isNull() ? QByteArray("") : bytes;
}

// What every container's message needs once its reader has filled it.
void completeMessage(TessilMessage& message)
{
    for (const QSharedPointer<TessilAttachment>& attachment : std::as_const(message.attachments)) {
        attachment->unpackEmbeddedObject();
        attachment->fileName = ensureFileExtension(attachment->fileName, attachment->content());
    }
    if (!needsCalendarAttachment(message.messageClass))
        return;
    const QByteArray rendered = renderCalendarAttachment(message);
    if (rendered.isEmpty())
        return;
    auto attachment = QSharedPointer<TessilAttachment>::create();
    attachment->fileName = calendarAttachmentName(message);
    attachment->mimeType = calendarAttachmentMimeType(message);
    attachment->data = rendered;
    message.attachments.append(attachment);
}

} // namespace

QSharedPointer<TessilMessage> TessilParser::parseFile(const QString& filePath)
{
    hasError = false;
    errorString.clear();
    const QByteArray bytes = readWholeFile(filePath);
    if (bytes.isNull()) {
        hasError = true;
        errorString = QStringLiteral("Cannot open file");
        return {};
    }
    return parseData(bytes);
}

QSharedPointer<TessilMessage> TessilParser::parseData(const QByteArray& bytes)
{
    hasError = false;
    errorString.clear();
    QString error;
    QSharedPointer<TessilMessage> message = readTnefMessage(bytes, &error);
    if (!message) {
        hasError = true;
        errorString = error;
        return {};
    }
    completeMessage(*message);
    return message;
}
