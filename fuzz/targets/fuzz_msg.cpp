// The .msg reader alone: open the compound file, read every storage it
// names, and check what it made. A failure must be clean: no message, and
// a reason. Every value is where the model says values are: the first of a
// property's values is its value, strings are UTF-8 ending in their zero,
// attachments hold data. Each attached message's storage is read too, as
// the reader of attached messages will.

#include "msg/msg_container.h"
#include "msg/msg_message_reader.h"
#include "support/allocation_meter.h"
#include "support/fuzz_environment.h"

#include <QByteArray>
#include <QStringDecoder>

#include <cstdlib>

namespace {

volatile qsizetype sink;

void checkProperties(const QList<MessageProperty>& properties)
{
    for (const MessageProperty& p : properties) {
        if ((p.values.isEmpty() && !p.value.isEmpty()) || (!p.values.isEmpty() && p.value.constData() != p.values.first().constData()))
            std::abort();
        if (!p.multiValued && p.values.size() > 1)
            std::abort();
        for (const QByteArray& value : p.values) {
            if (p.type == 0x001E)
                std::abort(); // 8-bit strings are made UTF-8
            if (p.type == 0x001F) {
                if (!value.endsWith('\0'))
                    std::abort();
                QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
                utf8.decode(value);
                if (utf8.hasError())
                    std::abort();
            }
            sink = sink + value.size();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzenv::initialise(false);
    // First-use statics: the code-page converters, the UTF-8 decoder.
    QString error;
    readMsgMessage(QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8), &error);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    fuzzmeter::start();
    QString error;
    MsgDamage damage;
    const QSharedPointer<TessilMessage> message = readMsgMessage(bytes, &error, &damage);
    if (!message) {
        if (error.isEmpty())
            std::abort();
        fuzzmeter::check({"readMsgMessage", 16, 256 * 1024}, size);
        return 0;
    }
    checkProperties(message->properties);
    for (const QSharedPointer<TessilAttachment>& attachment : std::as_const(message->attachments)) {
        if (!attachment || attachment->data.isEmpty() || attachment->isOle)
            std::abort();
        checkProperties(attachment->properties);
        sink = sink + attachment->data.size();
        // An attached message, written as a file of its own, reads again.
        if (attachment->isMessage) {
            QString innerError;
            if (const QSharedPointer<TessilMessage> standalone = readMsgMessage(attachment->data, &innerError))
                checkProperties(standalone->properties);
            else if (innerError.isEmpty())
                std::abort();
        }
    }
    for (const MessageRecipient& recipient : std::as_const(message->recipients)) {
        if (recipient.name.isEmpty() && recipient.email.isEmpty())
            std::abort();
    }

    // Attached messages, each as its own storage.
    MsgContainer container(bytes);
    if (!container.open())
        std::abort(); // it opened a moment ago
    for (std::uint32_t child : container.children(0)) {
        const std::uint32_t object = container.find(child, "__substg1.0_3701000D");
        if (object == DirectoryEntry::kNoEntry || !container.entry(object).is_storage)
            continue;
        MsgDamage inner;
        if (const QSharedPointer<TessilMessage> attached = readMsgStorage(container, object, MsgObject::EmbeddedMessage, MsgNamedProperties(), inner))
            checkProperties(attached->properties);
    }
    fuzzmeter::check({"readMsgMessage+readMsgStorage", 32, 256 * 1024}, size);
    return 0;
}
