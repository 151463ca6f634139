#include "msg/msg_message_reader.h"

#include "message/body_text.h"
#include "message/filetime.h"
#include "message/html_charset.h"
#include "message/recipients.h"
#include "msg/msg_properties.h"
#include "msg/msg_standalone_message.h"
#include "tnef/compressed_rtf.h"
#include "tnef/tnef.h"
#include "tnef/mapi_properties.h"

#include <QtEndian>

#include <algorithm>
#include <memory>

namespace {

enum : quint16 {
    kMessageClass = 0x001A,
    kSubject = 0x0037,
    kClientSubmitTime = 0x0039,
    kSentRepresentingName = 0x0042,
    kSentRepresentingAddressType = 0x0064,
    kSentRepresentingEmail = 0x0065,
    kConversationTopic = 0x0070,
    kRecipientType = 0x0C15,
    kSenderName = 0x0C1A,
    kSenderAddressType = 0x0C1E,
    kSenderEmail = 0x0C1F,
    kDisplayCc = 0x0E03,
    kDisplayTo = 0x0E04,
    kDeliveryTime = 0x0E06,
    kBody = 0x1000,
    kRtfCompressed = 0x1009,
    kBodyHtml = 0x1013,
    kDisplayName = 0x3001,
    kAddressType = 0x3002,
    kEmailAddress = 0x3003,
    kAttachData = 0x3701,
    kAttachFilename = 0x3704,
    kAttachMethod = 0x3705,
    kAttachLongFilename = 0x3707,
    kAttachMimeTag = 0x370E,
    kAttachContentId = 0x3712,
    kAttachContentLocation = 0x3713,
    kSmtpAddress = 0x39FE,
    kSenderSmtpAddress = 0x5D01,
    kSentRepresentingSmtpAddress = 0x5D02,
    kRecipientDisplayName = 0x5FF6,
    kAttachmentHidden = 0x7FFE,
};

constexpr quint32 kAttachEmbeddedMessage = 5;
constexpr char kPropertyStream[] = "__properties_version1.0";
constexpr char kNamedPropertyStorage[] = "__nameid_version1.0";
constexpr char kRecipientPrefix[] = "__recip_version1.0_#";
constexpr char kAttachmentPrefix[] = "__attach_version1.0_#";
// Where an OLE object keeps the file it holds, as for embedded objects in TNEF.
const char* const kObjectPayloads[] = {"CONTENTS", "Package", "Ole10Native"};

// The properties of one object, looked up by id. Named properties do not
// stand in for the tagged ones these fields come from.
class Properties
{
public:
    explicit Properties(const QList<MessageProperty>& list)
        : list_(list)
    {
    }

    const MessageProperty* find(quint16 id, quint16 type) const
    {
        for (const MessageProperty& property : list_) {
            if (property.id == id && property.type == type && !property.name && !property.multiValued
                && !property.values.isEmpty())
                return &property;
        }
        return nullptr;
    }

    QString text(quint16 id) const
    {
        const MessageProperty* property = find(id, PTYP_STRING);
        if (!property)
            return {};
        const QByteArray& value = property->value;
        const qsizetype zero = value.indexOf('\0');
        return QString::fromUtf8(zero >= 0 ? value.first(zero) : value);
    }

    std::optional<quint32> u32(quint16 id, quint16 type = PTYP_INTEGER32) const
    {
        const MessageProperty* property = find(id, type);
        if (!property || property->value.size() < 4)
            return std::nullopt;
        return qFromLittleEndian<quint32>(property->value.constData());
    }

    QDateTime time(quint16 id) const
    {
        const MessageProperty* property = find(id, PTYP_TIME);
        if (!property || property->value.size() < 8)
            return {};
        return filetimeToDateTime(qFromLittleEndian<quint64>(property->value.constData()));
    }

    QByteArray binary(quint16 id) const
    {
        const MessageProperty* property = find(id, PTYP_BINARY);
        return property ? property->value : QByteArray();
    }

private:
    const QList<MessageProperty>& list_;
};

QString firstText(const Properties& properties, std::initializer_list<quint16> ids)
{
    for (quint16 id : ids) {
        const QString text = properties.text(id);
        if (!text.isEmpty())
            return text;
    }
    return {};
}

// An HTML body held as bytes, in the Internet code page; a page that
// begins with a byte-order mark, or that the code page cannot decode, is
// read as any body is.
QString htmlFromBytes(QByteArray bytes, quint32 codePage)
{
    while (bytes.endsWith('\0'))
        bytes.chop(1);
    const bool marked = bytes.startsWith("\xEF\xBB\xBF") || bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
    if (!marked && codePage != 0) {
        const QString text = decodeWithCodePage(bytes, codePage);
        if (!text.isEmpty())
            return text;
    }
    return decodeBodyText(bytes.constData(), bytes.size(), codePage);
}

QByteArray decompressedRtf(const QByteArray& value, MsgDamage& damage)
{
    if (value.isEmpty())
        return {};
    const std::unique_ptr<RtfBody, decltype(&rtf_free_body)> body(
        rtf_decode_compressed_value(reinterpret_cast<const unsigned char*>(value.constData()), std::size_t(value.size())),
        &rtf_free_body);
    if (body && (body->warnings & TNEF_WARNING_RTF_CHECKSUM))
        damage.rtfChecksum = true;
    if (body && (body->warnings & TNEF_WARNING_TRUNCATED))
        damage.cutShort = true;
    if (!body || body->len == 0 || !body->data)
        return {};
    return QByteArray(reinterpret_cast<const char*>(body->data), qsizetype(body->len));
}

// The storages named prefix + an 8-digit hexadecimal number, in the order
// of their numbers.
QList<std::uint32_t> numberedStorages(const MsgContainer& container, std::uint32_t storage, const char* prefix)
{
    const std::string_view start(prefix);
    QList<std::pair<quint32, std::uint32_t>> found;
    for (std::uint32_t child : container.children(storage)) {
        const DirectoryEntry& entry = container.entry(child);
        if (!entry.is_storage || entry.name.size() != start.size() + 8)
            continue;
        const QByteArray name = QByteArray::fromStdString(entry.name);
        if (name.first(qsizetype(start.size())).compare(QByteArrayView(prefix), Qt::CaseInsensitive) != 0)
            continue;
        bool number = false;
        const quint32 index = name.sliced(qsizetype(start.size())).toUInt(&number, 16);
        if (number)
            found.append({index, child});
    }
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    QList<std::uint32_t> storages;
    storages.reserve(found.size());
    for (const auto& pair : found)
        storages.append(pair.second);
    return storages;
}

MsgObjectProperties readObject(MsgContainer& container, std::uint32_t storage, MsgObject object,
                               const MsgNamedProperties& names, const MsgCodePages& codePages, MsgDamage& damage)
{
    const MsgPropertyStream stream = loadMsgPropertyStream(container, storage, object);
    MsgObjectProperties read = readMsgProperties(container, storage, stream.entries, names, codePages);
    if (stream.damaged)
        damage.corruptProperties = true;
    if (read.damaged)
        damage.cutShort = true;
    return read;
}

void readRecipients(MsgContainer& container, std::uint32_t storage, const MsgNamedProperties& names,
                    const MsgCodePages& codePages, MsgDamage& damage, TessilMessage& message)
{
    for (std::uint32_t recipientStorage : numberedStorages(container, storage, kRecipientPrefix)) {
        const MsgObjectProperties read = readObject(container, recipientStorage, MsgObject::Part, names, codePages, damage);
        const Properties properties(read.properties);
        const std::optional<quint32> stored = properties.u32(kRecipientType);
        const std::optional<RecipientType> type = recipientTypeOf(stored ? qint64(*stored) : -1);
        if (!type)
            continue;
        MessageRecipient recipient;
        recipient.name = firstText(properties, {kDisplayName, kRecipientDisplayName});
        recipient.email = internetAddress(properties.text(kSmtpAddress), properties.text(kEmailAddress),
                                          properties.text(kAddressType));
        recipient.type = *type;
        if (!recipient.name.isEmpty() || !recipient.email.isEmpty())
            message.recipients.append(recipient);
    }
}

// The file an OLE object's storage holds, as for an embedded object in a
// TNEF file: the first non-empty of its payload streams.
QByteArray objectPayload(MsgContainer& container, std::uint32_t objectStorage)
{
    for (const char* name : kObjectPayloads) {
        const std::optional<QByteArray> payload = container.stream(objectStorage, name);
        if (payload && !payload->isEmpty())
            return *payload;
    }
    return {};
}

void readAttachments(MsgContainer& container, std::uint32_t storage, const MsgNamedProperties& names,
                     const MsgCodePages& codePages, MsgDamage& damage, TessilMessage& message)
{
    for (std::uint32_t attachmentStorage : numberedStorages(container, storage, kAttachmentPrefix)) {
        MsgObjectProperties read = readObject(container, attachmentStorage, MsgObject::Part, names, codePages, damage);
        const Properties properties(read.properties);
        QByteArray data = properties.binary(kAttachData);
        bool attachedMessage = false;
        if (data.isEmpty() && read.objectStorage != DirectoryEntry::kNoEntry) {
            // An attached message (its storage holds a property stream of
            // its own) is listed as a .msg file of its own, which opens
            // and saves like any other. Any other object is an OLE object.
            attachedMessage = properties.u32(kAttachMethod) == kAttachEmbeddedMessage
                || container.find(read.objectStorage, kPropertyStream) != DirectoryEntry::kNoEntry;
            data = attachedMessage ? msgStandaloneMessage(container, read.objectStorage)
                                   : objectPayload(container, read.objectStorage);
        }
        // As in TNEF files, an attachment without data is not listed.
        if (data.isEmpty())
            continue;
        auto attachment = QSharedPointer<TessilAttachment>::create();
        attachment->fileName = firstText(properties, {kAttachLongFilename, kAttachFilename, kDisplayName});
        attachment->mimeType = properties.text(kAttachMimeTag);
        attachment->contentId = firstText(properties, {kAttachContentId, kAttachContentLocation});
        attachment->data = data;
        attachment->isMessage = attachedMessage;
        attachment->hidden = properties.u32(kAttachmentHidden, PTYP_BOOLEAN).value_or(0) != 0;
        attachment->properties = std::move(read.properties);
        message.attachments.append(attachment);
    }
}

} // namespace

QSharedPointer<TessilMessage> readMsgStorage(MsgContainer& container, std::uint32_t storage, MsgObject object,
                                             const MsgNamedProperties& names, MsgDamage& damage)
{
    const MsgPropertyStream stream = loadMsgPropertyStream(container, storage, object);
    if (stream.damaged)
        damage.corruptProperties = true;
    const MsgCodePages codePages = msgCodePages(stream.entries);
    MsgObjectProperties read = readMsgProperties(container, storage, stream.entries, names, codePages);
    if (read.damaged)
        damage.cutShort = true;

    auto message = QSharedPointer<TessilMessage>::create();
    message->properties = std::move(read.properties);
    const Properties properties(message->properties);
    message->messageClass = properties.text(kMessageClass);
    message->subject = firstText(properties, {kSubject, kConversationTopic});
    message->senderName = firstText(properties, {kSentRepresentingName, kSenderName});
    message->senderEmail = internetAddress(properties.text(kSentRepresentingSmtpAddress),
                                           properties.text(kSentRepresentingEmail),
                                           properties.text(kSentRepresentingAddressType));
    if (message->senderEmail.isEmpty()) {
        message->senderEmail = internetAddress(properties.text(kSenderSmtpAddress), properties.text(kSenderEmail),
                                               properties.text(kSenderAddressType));
    }
    message->displayTo = properties.text(kDisplayTo);
    message->displayCc = properties.text(kDisplayCc);
    message->sentTime = properties.time(kClientSubmitTime);
    if (!message->sentTime.isValid())
        message->sentTime = properties.time(kDeliveryTime);

    if (const QByteArray html = properties.binary(kBodyHtml); !html.isEmpty())
        message->htmlBody = normaliseHtmlCharset(htmlFromBytes(html, codePages.html));
    else if (const QString text = properties.text(kBodyHtml); !text.isEmpty())
        message->htmlBody = normaliseHtmlCharset(text);
    message->rtfBody = decompressedRtf(properties.binary(kRtfCompressed), damage);
    message->plainBody = properties.text(kBody);

    readRecipients(container, storage, names, codePages, damage, *message);
    readAttachments(container, storage, names, codePages, damage, *message);
    if (container.cutShort())
        damage.cutShort = true;
    if (damage.cutShort)
        message->addWarning(MessageWarning::Truncated);
    if (damage.corruptProperties)
        message->addWarning(MessageWarning::CorruptProperties);
    if (damage.rtfChecksum)
        message->addWarning(MessageWarning::RtfChecksum);
    return message;
}

QSharedPointer<TessilMessage> readMsgMessage(const QByteArray& bytes, QString* error, MsgDamage* damage, bool* holdsNoMessage)
{
    if (holdsNoMessage)
        *holdsNoMessage = false;
    MsgContainer container(bytes);
    if (!container.open()) {
        *error = QStringLiteral("not a readable compound file");
        return {};
    }
    // A compound file of another kind (a Word document, a Windows
    // thumbnail cache) has neither a property stream nor property values.
    bool holdsMessage = container.find(0, kPropertyStream) != DirectoryEntry::kNoEntry;
    for (std::uint32_t child : container.children(0)) {
        if (holdsMessage)
            break;
        const std::string& name = container.entry(child).name;
        holdsMessage = QByteArray::fromStdString(name).startsWith("__substg1.0_");
    }
    if (!holdsMessage) {
        if (holdsNoMessage)
            *holdsNoMessage = true;
        *error = QStringLiteral("not an Outlook message");
        return {};
    }

    MsgDamage found;
    const std::uint32_t nameStorage = container.find(0, kNamedPropertyStorage);
    MsgNamedProperties names;
    if (nameStorage != DirectoryEntry::kNoEntry) {
        names = MsgNamedProperties(container.stream(nameStorage, "__substg1.0_00020102").value_or(QByteArray()),
                                   container.stream(nameStorage, "__substg1.0_00030102").value_or(QByteArray()),
                                   container.stream(nameStorage, "__substg1.0_00040102").value_or(QByteArray()));
        found.corruptProperties = names.damaged();
    }
    QSharedPointer<TessilMessage> message = readMsgStorage(container, 0, MsgObject::Message, names, found);
    if (damage)
        *damage = found;
    return message;
}
