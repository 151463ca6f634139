#include "cli/info_json.h"

#include "cli/information_line.h"
#include "cli/json_writer.h"
#include "cli/message_report.h"
#include "message/recipients.h"

#include <QCryptographicHash>

namespace {

void writeDigest(JsonWriter& json, const QByteArray& bytes)
{
    json.beginObject();
    json.key("size");
    json.number(bytes.size());
    json.key("sha256");
    json.string(QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex()));
    json.endObject();
}

void writeBody(JsonWriter& json, const char* key, const QByteArray& bytes)
{
    json.key(key);
    if (bytes.isEmpty())
        json.null();
    else
        writeDigest(json, bytes);
}

QString displayBodyName(DisplayBody body)
{
    switch (body) {
    case DisplayBody::Html:
        return QStringLiteral("html");
    case DisplayBody::Rtf:
        return QStringLiteral("rtf");
    case DisplayBody::Plain:
        return QStringLiteral("plain");
    case DisplayBody::None:
        break;
    }
    return QString();
}

void writeAttachment(JsonWriter& json, const ReportedAttachment& entry)
{
    const TessilAttachment& attachment = *entry.attachment;
    json.beginObject();
    json.key("fileName");
    json.string(attachment.fileName);
    json.key("mimeType");
    json.string(attachment.mimeType);
    json.key("contentId");
    json.string(attachment.contentId);
    json.key("isOle");
    json.boolean(attachment.isOle);
    json.key("storedSize");
    json.number(attachment.data.size());
    json.key("size");
    json.number(entry.attachment->content().size());
    json.key("sha256");
    json.string(QString::fromLatin1(QCryptographicHash::hash(entry.attachment->content(), QCryptographicHash::Sha256).toHex()));
    json.key("listed");
    json.boolean(entry.listed);
    json.key("detectedMimeType");
    json.string(attachment.detectedMimeType);
    json.key("isMessage");
    json.boolean(attachment.isMessage);
    json.endObject();
}

} // namespace

void writeInfoJson(JsonWriter& json, const MessageReport& report)
{
    const TessilMessage* message = report.ok ? report.message.data() : nullptr;
    // Null for a file that could not be decoded, the text (possibly empty) otherwise.
    auto text = [&](const char* key, const QString& value) {
        json.key(key);
        if (message)
            json.string(value.isNull() ? QStringLiteral("") : value);
        else
            json.null();
    };

    json.beginObject();
    json.key("file");
    json.string(report.file);
    json.key("ok");
    json.boolean(report.ok);
    json.key("error");
    if (report.ok)
        json.null();
    else
        json.string(report.error);
    text("messageClass", message ? message->messageClass : QString());
    text("subject", message ? message->subject : QString());
    text("senderName", message ? message->senderName : QString());
    text("senderEmail", message ? message->senderEmail : QString());
    text("displayTo", message ? message->displayTo : QString());
    text("displayCc", message ? message->displayCc : QString());
    json.key("sentTime");
    if (message && message->sentTime.isValid())
        json.string(message->sentTime.toUTC().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss'Z'")));
    else
        json.null();
    text("infoLine", message ? informationLine(report.prepared.information) : QString());
    json.key("propertyCount");
    if (message)
        json.number(message->properties.size());
    else
        json.null();

    json.key("bodies");
    json.beginObject();
    writeBody(json, "html", message ? message->htmlBody : QByteArray());
    writeBody(json, "rtf", message ? message->rtfBody : QByteArray());
    writeBody(json, "plain", message ? message->plainBody.toUtf8() : QByteArray());
    json.endObject();

    json.key("displayBody");
    json.stringOrNull(displayBodyName(report.prepared.body.source));

    json.key("attachments");
    json.beginArray();
    for (const ReportedAttachment& entry : report.attachments)
        writeAttachment(json, entry);
    json.endArray();

    json.key("format");
    json.stringOrNull(containerFormatName(report.format));
    json.key("recipients");
    json.beginArray();
    for (const MessageRecipient& recipient : message ? message->recipients : QList<MessageRecipient>()) {
        json.beginObject();
        json.key("name");
        json.string(recipient.name);
        json.key("email");
        json.string(recipient.email);
        json.key("type");
        json.string(recipientTypeName(recipient.type));
        json.endObject();
    }
    json.endArray();

    json.key("warnings");
    json.beginArray();
    if (message) {
        for (const MessageWarning warning : std::as_const(message->warnings))
            json.string(messageWarningId(warning));
    }
    json.endArray();
    json.endObject();
}

