#include "cli/props_json.h"

#include "cli/json_writer.h"
#include "cli/message_report.h"
#include "cli/property_words.h"
#include "message/message_properties.h"
#include "message/property_names.h"
#include "message/property_values.h"

namespace {

void writeValue(JsonWriter& json, const PropertyValue& value)
{
    switch (value.kind) {
    case PropertyValue::Kind::Null:
        json.null();
        return;
    case PropertyValue::Kind::Integer:
        json.number(value.integer);
        return;
    case PropertyValue::Kind::Real:
        json.real(value.real);
        return;
    case PropertyValue::Kind::Currency:
        json.numberLiteral(currencyLiteral(value.integer));
        return;
    case PropertyValue::Kind::Boolean:
        json.boolean(value.integer != 0);
        return;
    case PropertyValue::Kind::Time:
        json.string(utcIsoTime(value.time));
        return;
    case PropertyValue::Kind::Text:
        json.string(value.text);
        return;
    case PropertyValue::Kind::ErrorCode:
        json.string(errorCodeText(value.integer));
        return;
    case PropertyValue::Kind::Bytes:
        json.asciiString(value.bytes.toHex());
        return;
    }
}

void writeProperties(JsonWriter& json, const QList<MessageProperty>& properties, quint32 codePage,
                     const std::function<void()>& written)
{
    json.beginArray();
    for (const MessageProperty& property : properties) {
        json.beginObject();
        json.key("tag");
        json.string(propertyTagText(propertyTag(property)));
        json.key("id");
        json.string(propertyIdText(property.id));
        json.key("type");
        json.string(propertyTypeName(property.type, property.multiValued));
        json.key("name");
        const QString name = propertyName(property);
        json.stringOrNull(name.isEmpty() ? QString() : name);
        json.key("values");
        json.beginArray();
        for (const PropertyValue& value : decodePropertyValues(property, codePage))
            writeValue(json, value);
        json.endArray();
        json.endObject();
        if (written)
            written();
    }
    json.endArray();
}

} // namespace

void writePropsJson(JsonWriter& json, const MessageReport& report, int attachment,
                    const std::function<void()>& written)
{
    json.beginObject();
    json.key("file");
    json.string(report.file);
    const bool one = attachment >= 0;
    if (one) {
        json.key("attachment");
        json.number(attachment + 1);
    }
    const quint32 codePage = report.ok ? messageCodePage(*report.message) : 0;
    json.key("properties");
    QList<MessageProperty> properties;
    if (report.ok)
        properties = one ? report.attachments.at(attachment).attachment->properties : report.message->properties;
    writeProperties(json, properties, codePage, written);
    json.key("attachments");
    json.beginArray();
    if (!one) {
        for (const ReportedAttachment& entry : report.attachments)
            writeProperties(json, entry.attachment->properties, codePage, written);
    }
    json.endArray();
    json.key("error");
    json.stringOrNull(report.ok ? QString() : report.error);
    json.endObject();
}
