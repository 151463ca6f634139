#include "cli/props_text.h"

#include "cli/message_report.h"
#include "cli/printable_text.h"
#include "cli/property_words.h"
#include "message/message_properties.h"
#include "message/property_names.h"
#include "message/property_values.h"

#include <QStringList>

#include <algorithm>

namespace {

const qsizetype kShownBytes = 256;

QString valueText(const PropertyValue& value)
{
    switch (value.kind) {
    case PropertyValue::Kind::Null:
        return QStringLiteral("null");
    case PropertyValue::Kind::Integer:
        return QString::number(value.integer);
    case PropertyValue::Kind::Real:
        return QString::number(value.real, 'g', QLocale::FloatingPointShortest);
    case PropertyValue::Kind::Currency:
        return QString::fromLatin1(currencyLiteral(value.integer));
    case PropertyValue::Kind::Boolean:
        return value.integer ? QStringLiteral("true") : QStringLiteral("false");
    case PropertyValue::Kind::Time:
        return utcIsoTime(value.time);
    case PropertyValue::Kind::Text:
        return printable(value.text);
    case PropertyValue::Kind::ErrorCode:
        return errorCodeText(value.integer);
    case PropertyValue::Kind::Bytes:
        break;
    }
    QString text = QString::fromLatin1(value.bytes.left(kShownBytes).toHex(' '));
    if (value.bytes.size() > kShownBytes)
        text += QStringLiteral(" \u2026");
    return text + QStringLiteral(" (%1 bytes)").arg(value.bytes.size());
}

void appendTable(QStringList& lines, const QList<MessageProperty>& properties, quint32 codePage)
{
    if (properties.isEmpty())
        return;
    struct Row
    {
        QString tag, type, name, value;
    };
    QList<Row> rows;
    Row header{QStringLiteral("TAG"), QStringLiteral("TYPE"), QStringLiteral("NAME"), QStringLiteral("VALUE")};
    qsizetype typeWidth = header.type.size();
    qsizetype nameWidth = header.name.size();
    for (const MessageProperty& property : properties) {
        QStringList values;
        for (const PropertyValue& value : decodePropertyValues(property, codePage))
            values << valueText(value);
        const QString name = propertyName(property);
        rows.append({propertyTagText(propertyTag(property)), propertyTypeName(property.type, property.multiValued),
                     name.isEmpty() ? QStringLiteral("-") : printable(name), values.join(QStringLiteral("; "))});
        typeWidth = std::max(typeWidth, rows.last().type.size());
        nameWidth = std::max(nameWidth, rows.last().name.size());
    }
    rows.prepend(header);
    for (const Row& row : std::as_const(rows)) {
        QString line = QStringLiteral("    ") + row.tag.leftJustified(10) + QStringLiteral("  ")
            + row.type.leftJustified(typeWidth) + QStringLiteral("  ");
        line += row.value.isEmpty() ? row.name : row.name.leftJustified(nameWidth) + QStringLiteral("  ") + row.value;
        lines << line;
    }
}

QString countText(qsizetype count)
{
    return QStringLiteral("%1 propert%2").arg(count).arg(count == 1 ? QStringLiteral("y") : QStringLiteral("ies"));
}

} // namespace

QByteArray propsText(const MessageReport& report, int attachment)
{
    const TessilMessage& message = *report.message;
    const quint32 codePage = messageCodePage(message);
    QStringList lines;
    lines << printable(report.file);
    if (attachment < 0) {
        lines << QStringLiteral("  Message: ") + countText(message.properties.size());
        appendTable(lines, message.properties, codePage);
    }
    for (qsizetype i = 0; i < report.attachments.size(); ++i) {
        if (attachment >= 0 && i != attachment)
            continue;
        const TessilAttachment& attachment = *report.attachments.at(i).attachment;
        lines << QStringLiteral("  Attachment %1: %2, %3")
                     .arg(i + 1)
                     .arg(printable(attachment.fileName), countText(attachment.properties.size()));
        appendTable(lines, attachment.properties, codePage);
    }
    return (lines.join(u'\n') + u'\n').toUtf8();
}
