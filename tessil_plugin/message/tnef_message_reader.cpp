#include "message/tnef_message_reader.h"

#include "message/attached_message.h"
#include "message/body_text.h"
#include "message/filetime.h"
#include "message/html_charset.h"
#include "message/recipients.h"
#include "message/shared_bytes.h"
#include "tnef/tnef.h"

#include <QtEndian>

#include <memory>

namespace {

constexpr quint16 kAttachData = 0x3701;
constexpr quint16 kAttachmentHidden = 0x7FFE;
constexpr quint16 kBoolean = 0x000B;

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

QUuid uuidOf(const unsigned char* guid)
{
    return QUuid(qFromLittleEndian<quint32>(guid), qFromLittleEndian<quint16>(guid + 4), qFromLittleEndian<quint16>(guid + 6),
                 guid[8], guid[9], guid[10], guid[11], guid[12], guid[13], guid[14], guid[15]);
}

MessageProperty propertyOf(const TnefProperty& source)
{
    MessageProperty property;
    property.id = source.id;
    property.type = source.type;
    property.multiValued = source.multi_valued != 0;
    property.value = copyOf(source.data, source.len);
    if (source.values) {
        // One copy of every value's bytes; each value is a view into it.
        const TnefPropertyValues& all = *source.values;
        const quint64 total = all.count ? all.ends[all.count - 1] : 0;
        const QByteArray bytes = copyOf(all.bytes, total);
        property.values.reserve(qsizetype(all.count));
        quint64 begin = 0;
        for (quint64 i = 0; i < all.count; ++i) {
            property.values.append(sharedBytes(bytes, bytes.constData() + begin, all.ends[i] - begin));
            begin = all.ends[i];
        }
        if (!property.values.isEmpty())
            property.value = property.values.first();
    } else if (source.data) {
        property.values.append(property.value);
    }
    if (source.name) {
        MessagePropertyName name;
        name.propertySet = uuidOf(source.name->guid);
        name.numericName = source.name->numeric_name;
        if (source.name->string_name)
            name.stringName = QString::fromUtf8(source.name->string_name);
        property.name = name;
    }
    return property;
}

QList<MessageProperty> propertiesOf(const TnefProperty* properties, int32_t count)
{
    QList<MessageProperty> list;
    if (!properties)
        return list;
    list.reserve(qMax<qsizetype>(0, count));
    for (int32_t i = 0; i < count; ++i)
        list.append(propertyOf(properties[i]));
    return list;
}

bool isHidden(const QList<MessageProperty>& properties)
{
    for (const MessageProperty& property : properties) {
        if (property.id == kAttachmentHidden && property.type == kBoolean && property.value.size() >= 4)
            return qFromLittleEndian<quint32>(property.value.constData()) != 0;
    }
    return false;
}

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

    message->properties = propertiesOf(result.properties, result.property_count);

    for (int32_t i = 0; result.recipients && i < result.recipient_count; ++i) {
        const TnefRecipient& source = result.recipients[i];
        const std::optional<RecipientType> type = recipientTypeOf(source.recipient_type);
        if (!type)
            continue;
        message->recipients.append(MessageRecipient{
            textOf(source.display_name),
            internetAddress(textOf(source.smtp_address), textOf(source.email_address), textOf(source.address_type)),
            *type});
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
            attachment->properties = propertiesOf(source.properties, source.property_count);
            // The data property is listed without its bytes: they are the attachment's data.
            for (MessageProperty& property : attachment->properties) {
                if (property.id == kAttachData && property.values.isEmpty() && !attachment->data.isEmpty()) {
                    property.value = attachment->data;
                    property.values = {attachment->data};
                }
            }
            attachment->hidden = isHidden(attachment->properties);
            if (holdsAttachedTnefMessage(attachment->data)) {
                attachment->isMessage = true;
                attachment->embedded = attachedTnefStream(attachment->data);
            }
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
