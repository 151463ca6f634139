#include "propertymodel.h"

#include "interfacelocale.h"

#include "message/property_names.h"
#include "message/property_values.h"

#include <QDateTime>

namespace {

const qsizetype kShownBytes = 256;

QString shownValue(const PropertyValue& value, bool full)
{
    const QLocale locale = interfaceLocale();
    switch (value.kind) {
    case PropertyValue::Kind::Null:
        return QString();
    case PropertyValue::Kind::Integer:
        return QString::number(value.integer);
    case PropertyValue::Kind::Real:
        return QString::number(value.real, 'g', QLocale::FloatingPointShortest);
    case PropertyValue::Kind::Currency: {
        const quint64 magnitude = value.integer < 0 ? 0 - quint64(value.integer) : quint64(value.integer);
        return QStringLiteral("%1%2.%3")
            .arg(value.integer < 0 ? QStringLiteral("-") : QString())
            .arg(magnitude / 10000)
            .arg(magnitude % 10000, 4, 10, QLatin1Char('0'));
    }
    case PropertyValue::Kind::Boolean:
        return value.integer ? QStringLiteral("true") : QStringLiteral("false");
    case PropertyValue::Kind::Time:
        // Local time with seconds, in the interface's way of writing dates.
        return locale.toString(value.time.toLocalTime(),
                               locale.dateFormat(QLocale::ShortFormat) + QStringLiteral(" HH:mm:ss"));
    case PropertyValue::Kind::Text:
        return value.text;
    case PropertyValue::Kind::ErrorCode:
        return QStringLiteral("0x") + QString::number(quint32(value.integer), 16).toUpper().rightJustified(8, u'0');
    case PropertyValue::Kind::Bytes:
        break;
    }
    if (full)
        return QString::fromLatin1(value.bytes.toHex(' '));
    QString text = QString::fromLatin1(value.bytes.left(kShownBytes).toHex(' '));
    if (value.bytes.size() > kShownBytes)
        text += QStringLiteral(" \u2026");
    return text;
}

} // namespace

PropertyModel::PropertyModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void PropertyModel::setProperties(const QList<MessageProperty>& properties, quint32 codePage)
{
    beginResetModel();
    rows.clear();
    for (const MessageProperty& property : properties) {
        Row row;
        row.tag = propertyTag(property);
        row.tagText = propertyTagText(row.tag);
        row.name = propertyName(property);
        row.type = propertyTypeName(property.type, property.multiValued);
        QStringList shown, full;
        for (const PropertyValue& value : decodePropertyValues(property, codePage)) {
            QString text = shownValue(value, false);
            // One line per value in the table; a text's own line breaks as
            // well would make rows of any height.
            shown << text.replace(QLatin1Char('\n'), QChar(0x21B5)).remove(QLatin1Char('\r'));
            full << shownValue(value, true);
        }
        row.value = shown.join(QStringLiteral("; "));
        row.fullValue = full.join(QLatin1Char('\n'));
        rows.append(row);
    }
    endResetModel();
}

int PropertyModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows.size());
}

int PropertyModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PropertyModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rows.size())
        return {};
    const Row& row = rows.at(index.row());
    if (role == FullValueRole)
        return row.fullValue;
    if (role == SortRole && index.column() == TagColumn)
        return row.tag;
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole && role != SortRole)
        return {};
    switch (index.column()) {
    case TagColumn:
        return row.tagText;
    case NameColumn:
        return row.name;
    case TypeColumn:
        return row.type;
    case ValueColumn:
        // A long value in full as its tip, up to what a tip can show.
        return role == Qt::ToolTipRole ? row.value.left(2000) : row.value;
    }
    return {};
}

QVariant PropertyModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case TagColumn:
        return tr("Tag");
    case NameColumn:
        return tr("Name");
    case TypeColumn:
        return tr("Type");
    case ValueColumn:
        return tr("Value");
    }
    return {};
}
