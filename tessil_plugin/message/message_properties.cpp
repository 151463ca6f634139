#include "message/message_properties.h"

#include "message/filetime.h"
#include "tnef/tnef.h"

#include <QtEndian>

#include <cstdlib>

const MessageProperty* findProperty(const TessilMessage& message, quint16 id)
{
    for (const MessageProperty& property : message.properties) {
        if (property.id == id)
            return &property;
    }
    return nullptr;
}

QString stringProperty(const TessilMessage& message, quint16 id)
{
    const MessageProperty* property = findProperty(message, id);
    if (!property || property->value.isEmpty())
        return {};
    QByteArray text = property->value;
    const qsizetype zero = text.indexOf('\0');
    if (zero >= 0)
        text.truncate(zero);
    if (text.isEmpty())
        return {};
    if (property->type != mapi_type::kString8)
        return QString::fromUtf8(text);

    // Valid UTF-8 comes back unchanged; anything else is decoded from the
    // message's code page, as the decoder does for the subject.
    char* converted = tnef_string_to_utf8(text.constData(), static_cast<size_t>(text.size()), messageCodePage(message));
    const QString result = converted ? QString::fromUtf8(converted) : QString::fromUtf8(text);
    std::free(converted);
    return result;
}

quint32 messageCodePage(const TessilMessage& message)
{
    const MessageProperty* property = findProperty(message, mapi_id::kInternetCodepage);
    if (!property || property->value.size() < 4)
        return 0;
    return qFromLittleEndian<quint32>(property->value.constData());
}

QDateTime timeProperty(const TessilMessage& message, quint16 id)
{
    const MessageProperty* property = findProperty(message, id);
    if (!property || property->value.size() < 8)
        return {};
    return filetimeToDateTime(qFromLittleEndian<quint64>(property->value.constData()));
}
