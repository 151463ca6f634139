#include "message/tessil_parser.h"

#include "common/huge_pages.h"
#include "message/attached_message.h"
#include "message/attachment_type.h"
#include "message/calendar_rendering.h"
#include "message/file_extension.h"
#include "message/tnef_message_reader.h"
#include "msg/msg_message_reader.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What a pipe is read in first; the buffer doubles from there.
const qsizetype kFirstChunk = 64 * 1024;

OpenFailure failureOfError(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return OpenFailure::NotFound;
    case EACCES:
    case EPERM:
        return OpenFailure::PermissionDenied;
    case EISDIR:
        return OpenFailure::IsDirectory;
    default:
        return OpenFailure::Unreadable;
    }
}

// The reason for a system error: the plain words where there are some, the
// system's own text after them where the failure is unexpected.
QString textOfError(int error)
{
    const OpenFailure failure = failureOfError(error);
    if (failure != OpenFailure::Unreadable)
        return openFailureText(failure);
    return openFailureText(failure) + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(error));
}

ssize_t readSome(int descriptor, char* into, size_t count)
{
    ssize_t got;
    do
        got = ::read(descriptor, into, count);
    while (got < 0 && errno == EINTR);
    return got;
}

// Everything from the descriptor's position to its end, in one buffer of its
// own: a regular file in one pass into a buffer of the size it has now (the
// end of a file that shrinks meanwhile ends the bytes), a pipe or a device,
// which tell no size, in growing steps. False, with errno set, when reading
// fails: a message read from part of a file would pass for the whole.
bool readToEnd(int descriptor, QByteArray* bytes)
{
    struct stat status = {};
    if (::fstat(descriptor, &status) != 0)
        return false;
    const off_t position = S_ISREG(status.st_mode) ? ::lseek(descriptor, 0, SEEK_CUR) : -1;
    const bool sized = position >= 0 && status.st_size > position;
    qsizetype filled = 0;
    if (sized) {
        const qint64 size = status.st_size - position;
        *bytes = QByteArray(static_cast<qsizetype>(size), Qt::Uninitialized);
        memoryhint::preferHugePages(bytes->constData(), quint64(size));
    }
    for (;;) {
        if (!sized && filled == bytes->size())
            bytes->resize(std::max(kFirstChunk, bytes->size() * 2));
        if (filled == bytes->size())
            break;
        const ssize_t got = readSome(descriptor, bytes->data() + filled, size_t(bytes->size() - filled));
        if (got < 0)
            return false;
        if (got == 0)
            break;
        filled += got;
    }
    bytes->truncate(filled);
    return true;
}

// What every container's message needs once its reader has filled it.
// The types are found here, once: the message is read from several threads.
void completeMessage(TessilMessage& message, bool findTypes)
{
    for (const QSharedPointer<TessilAttachment>& attachment : std::as_const(message.attachments)) {
        attachment->unpackEmbeddedObject();
        if (attachment->isMessage)
            attachment->fileName = attachedMessageFileName(*attachment);
        if (findTypes)
            attachment->detectedMimeType = detectMimeType(attachment->fileName, attachment->content());
        attachment->fileName = ensureFileExtension(attachment->fileName, attachment->content(), attachment->effectiveMimeType());
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
    if (findTypes)
        attachment->detectedMimeType = detectMimeType(attachment->fileName, rendered);
    message.attachments.append(attachment);
}

} // namespace

QSharedPointer<TessilMessage> TessilParser::fail(OpenFailure reason, const QString& text)
{
    hasError = true;
    failure = reason;
    errorString = text.isEmpty() ? openFailureText(reason) : text;
    return {};
}

QSharedPointer<TessilMessage> TessilParser::parseFile(const QString& filePath)
{
    hasError = false;
    failure = OpenFailure::None;
    errorString.clear();
    detectedFormat = ContainerFormat::None;
    int descriptor;
    do
        descriptor = ::open(QFile::encodeName(filePath).constData(), O_RDONLY | O_CLOEXEC);
    while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0) {
        const int error = errno;
        return fail(failureOfError(error), textOfError(error));
    }
    const QSharedPointer<TessilMessage> message = parseDescriptor(descriptor);
    ::close(descriptor);
    return message;
}

QSharedPointer<TessilMessage> TessilParser::parseStandardInput()
{
    hasError = false;
    failure = OpenFailure::None;
    errorString.clear();
    detectedFormat = ContainerFormat::None;
    return parseDescriptor(STDIN_FILENO);
}

QSharedPointer<TessilMessage> TessilParser::parseDescriptor(int descriptor)
{
    // A folder opens like a file; reading it fails with EISDIR.
    QByteArray bytes;
    if (!readToEnd(descriptor, &bytes)) {
        const int error = errno;
        return fail(failureOfError(error), textOfError(error));
    }
    return parseData(bytes);
}

QSharedPointer<TessilMessage> TessilParser::parseData(const QByteArray& bytes)
{
    quint64 budget = 4 * quint64(bytes.size()) + attachedMessageAllowance;
    return parseData(bytes, 0, budget);
}

void TessilParser::readAttachedMessages(TessilMessage& message, int depth, quint64& budget) const
{
    for (const QSharedPointer<TessilAttachment>& attachment : std::as_const(message.attachments)) {
        if (!attachment->isMessage)
            continue;
        const QByteArray& file = attachment->content();
        if (depth + 1 > kMaxAttachedMessageDepth) {
            attachment->messageLimit = AttachedMessageLimit::TooDeep;
            continue;
        }
        if (quint64(file.size()) > budget) {
            attachment->messageLimit = AttachedMessageLimit::TooLarge;
            continue;
        }
        budget -= quint64(file.size());
        TessilParser nested;
        nested.findAttachmentTypes = findAttachmentTypes;
        attachment->message = nested.parseData(file, depth + 1, budget);
        if (!attachment->message)
            attachment->messageLimit = AttachedMessageLimit::Unreadable;
    }
}

QSharedPointer<TessilMessage> TessilParser::parseData(const QByteArray& bytes, int depth, quint64& budget)
{
    hasError = false;
    failure = OpenFailure::None;
    errorString.clear();
    detectedFormat = detectContainerFormat(bytes);
    if (bytes.isEmpty())
        return fail(OpenFailure::Empty, QString());
    QString error;
    if (detectedFormat == ContainerFormat::Msg) {
        bool holdsNoMessage = false;
        MsgDamage damage;
        QSharedPointer<TessilMessage> message = readMsgMessage(bytes, &error, &damage, &holdsNoMessage);
        if (!message)
            return fail(holdsNoMessage ? OpenFailure::NotRecognised : OpenFailure::Damaged, error);
        readAttachedMessages(*message, depth, budget);
        completeMessage(*message, findAttachmentTypes);
        return message;
    }
    // What is neither goes to the TNEF reader, which says why it is no TNEF stream.
    QSharedPointer<TessilMessage> message = readTnefMessage(bytes, &error);
    if (!message)
        return fail(detectedFormat == ContainerFormat::Tnef ? OpenFailure::Damaged : OpenFailure::NotRecognised, error);
    readAttachedMessages(*message, depth, budget);
    completeMessage(*message, findAttachmentTypes);
    return message;
}
