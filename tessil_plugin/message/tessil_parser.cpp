#include "message/tessil_parser.h"

#include "message/body_text.h"
#include "message/calendar_rendering.h"
#include "message/file_extension.h"
#include "message/filetime.h"
#include "message/html_charset.h"
#include "tnef/tnef.h"

#include <QFile>
#include <QTemporaryFile>

#include <cstdio>
#include <unistd.h>

namespace {

QString textOf(const char* utf8)
{
    return utf8 ? QString::fromUtf8(utf8) : QString();
}

QByteArray bytesOf(const unsigned char* data, quint64 length)
{
    if (!data || length == 0)
        return {};
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(length));
}

// Releases the decoder's result however parseData leaves.
struct ResultGuard
{
    TnefResult* result = nullptr;
    ~ResultGuard() { tnef_free(result); }
};

} // namespace

QSharedPointer<TessilMessage> TessilParser::parseFile(const QString& filePath)
{
    hasError = false;
    errorString.clear();

    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly)) {
        hasError = true;
        errorString = QStringLiteral("Cannot open file");
        return {};
    }
    return parseData(file.readAll());
}

QSharedPointer<TessilMessage> TessilParser::parseData(const QByteArray& bytes)
{
    hasError = false;
    errorString.clear();
    auto fail = [this](const QString& text) {
        hasError = true;
        errorString = text;
        return QSharedPointer<TessilMessage>();
    };

    // The decoder reads a stdio stream; the copy is removed when `temporary`
    // goes out of scope, whichever way this function returns.
    QTemporaryFile temporary;
    temporary.setAutoRemove(true);
    if (!temporary.open())
        return fail(QStringLiteral("Cannot create temporary file"));
    if (temporary.write(bytes) != bytes.size() || !temporary.flush() || !temporary.seek(0))
        return fail(QStringLiteral("Cannot create temporary file"));

    const int duplicate = ::dup(temporary.handle());
    if (duplicate < 0)
        return fail(QStringLiteral("fdopen failed"));
    FILE* stream = ::fdopen(duplicate, "rb");
    if (!stream) {
        ::close(duplicate);
        return fail(QStringLiteral("fdopen failed"));
    }
    // The duplicate shares the file offset that the write moved.
    std::rewind(stream);

    ResultGuard guard;
    guard.result = tnef_parse(stream);
    std::fclose(stream); // closes the duplicate only
    if (!guard.result)
        return fail(QStringLiteral("tnef_parse returned null"));
    if (guard.result->error != 0) {
        return fail(guard.result->error_text ? QString::fromUtf8(guard.result->error_text)
                                             : QStringLiteral("unknown error"));
    }
    return buildMessage(guard.result);
}

QSharedPointer<TessilMessage> TessilParser::buildMessage(const TnefResult* result)
{
    QSharedPointer<TessilMessage> message = QSharedPointer<TessilMessage>::create();
    if (!result)
        return message;

    message->subject = textOf(result->subject);
    message->senderName = textOf(result->sender_name);
    message->senderEmail = textOf(result->sender_email);
    message->displayTo = textOf(result->display_to);
    message->displayCc = textOf(result->display_cc);

    if (result->submit_time != 0)
        message->sentTime = filetimeToDateTime(result->submit_time);

    if (result->html && result->html_len != 0) {
        message->htmlBody = normaliseHtmlCharset(decodeBodyText(reinterpret_cast<const char*>(result->html),
                                                                static_cast<qsizetype>(result->html_len),
                                                                result->code_page));
    }
    if (result->rtf && result->rtf_len != 0)
        message->rtfBody = bytesOf(result->rtf, result->rtf_len);
    if (result->body && result->body_len != 0) {
        message->plainBody = decodeBodyText(reinterpret_cast<const char*>(result->body),
                                            static_cast<qsizetype>(result->body_len), result->code_page);
    }

    if (result->properties) {
        message->properties.reserve(qMax<qsizetype>(0, result->property_count));
        for (int32_t i = 0; i < result->property_count; ++i) {
            const TnefProperty& property = result->properties[i];
            message->properties.append(MessageProperty{property.id, property.type, bytesOf(property.data, property.len)});
        }
    }

    if (result->message_class)
        message->messageClass = QString::fromUtf8(result->message_class);

    if (result->attachments) {
        for (int32_t i = 0; i < result->attachment_count; ++i) {
            const TnefAttachment& source = result->attachments[i];
            auto attachment = QSharedPointer<TessilAttachment>::create();
            attachment->isOle = source.is_ole != 0;
            attachment->mimeType = textOf(source.mime_type);
            attachment->contentId = textOf(source.content_id);
            attachment->data = bytesOf(source.data, source.len);
            attachment->fileName = ensureFileExtension(textOf(source.name), attachment->content());
            message->attachments.append(attachment);
        }
    }

    if (needsCalendarAttachment(message->messageClass)) {
        const QByteArray rendered = renderCalendarAttachment(*message);
        const QString name = calendarAttachmentName(*message);
        const QString mimeType = calendarAttachmentMimeType(*message);
        if (!rendered.isEmpty()) {
            auto attachment = QSharedPointer<TessilAttachment>::create();
            attachment->fileName = name;
            attachment->mimeType = mimeType;
            attachment->data = rendered;
            message->attachments.append(attachment);
        }
    }
    return message;
}
