#include "message/tnef_message_reader.h"

#include "message/body_text.h"
#include "message/filetime.h"
#include "message/html_charset.h"
#include "message/shared_bytes.h"
#include "tnef/tnef.h"

#include <memory>

namespace {

QString textOf(const char* utf8)
{
    return utf8 ? QString::fromUtf8(utf8) : QString();
}

QByteArray copyOf(const unsigned char* data, quint64 length)
{
    if (!data || length == 0)
        return {};
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(length));
}

const struct
{
    uint32_t flag;
    MessageWarning warning;
} kWarnings[] = {
    {TNEF_WARNING_TRUNCATED, MessageWarning::Truncated},
    {TNEF_WARNING_CHECKSUM, MessageWarning::Checksum},
    {TNEF_WARNING_CORRUPT_PROPERTIES, MessageWarning::CorruptProperties},
    {TNEF_WARNING_RTF_CHECKSUM, MessageWarning::RtfChecksum},
};

QSharedPointer<TessilMessage> messageOf(const TnefResult& result, const QByteArray& bytes)
{
    auto message = QSharedPointer<TessilMessage>::create();
    for (const auto& entry : kWarnings) {
        if (result.warnings & entry.flag)
            message->addWarning(entry.warning);
    }
    message->subject = textOf(result.subject);
    message->senderName = textOf(result.sender_name);
    message->senderEmail = textOf(result.sender_email);
    message->displayTo = textOf(result.display_to);
    message->displayCc = textOf(result.display_cc);
    message->messageClass = textOf(result.message_class);
    if (result.submit_time != 0)
        message->sentTime = filetimeToDateTime(result.submit_time);

    if (result.html && result.html_len != 0) {
        message->htmlBody = normaliseHtmlCharset(decodeBodyText(reinterpret_cast<const char*>(result.html),
                                                                static_cast<qsizetype>(result.html_len),
                                                                result.code_page));
    }
    message->rtfBody = copyOf(result.rtf, result.rtf_len);
    if (result.body && result.body_len != 0) {
        message->plainBody = decodeBodyText(reinterpret_cast<const char*>(result.body),
                                            static_cast<qsizetype>(result.body_len), result.code_page);
    }

    if (result.properties) {
        message->properties.reserve(qMax<qsizetype>(0, result.property_count));
        for (int32_t i = 0; i < result.property_count; ++i) {
            const TnefProperty& property = result.properties[i];
            message->properties.append(MessageProperty{property.id, property.type, copyOf(property.data, property.len)});
        }
    }

    if (result.attachments) {
        message->attachments.reserve(qMax<qsizetype>(0, result.attachment_count));
        for (int32_t i = 0; i < result.attachment_count; ++i) {
            const TnefAttachment& source = result.attachments[i];
            auto attachment = QSharedPointer<TessilAttachment>::create();
            attachment->fileName = textOf(source.name);
            attachment->isOle = source.is_ole != 0;
            attachment->mimeType = textOf(source.mime_type);
            attachment->contentId = textOf(source.content_id);
            attachment->data = sharedBytes(bytes, source.data, source.len);
            message->attachments.append(attachment);
        }
    }
    return message;
}

} // namespace

QSharedPointer<TessilMessage> readTnefMessage(const QByteArray& bytes, QString* error)
{
    const std::unique_ptr<TnefResult, decltype(&tnef_free)> result(
        tnef_parse_buffer(reinterpret_cast<const unsigned char*>(bytes.constData()), static_cast<size_t>(bytes.size())),
        &tnef_free);
    if (!result) {
        *error = QStringLiteral("tnef_parse returned null");
        return {};
    }
    if (result->error != 0) {
        *error = result->error_text ? QString::fromUtf8(result->error_text) : QStringLiteral("unknown error");
        return {};
    }
    return messageOf(*result, bytes);
}

bool hasTnefSignature(const QByteArray& bytes)
{
    return bytes.startsWith(QByteArrayLiteral("\x78\x9F\x3E\x22"));
}
