#include "message/property_values.h"

#include "message/filetime.h"
#include "tnef/mapi_properties.h"
#include "tnef/tnef.h"

#include <QUuid>
#include <QtEndian>

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// FILETIME ticks of 9999-12-31 23:59:59.999 UTC: the last time a QDateTime
// and an ISO date can both show.
constexpr quint64 kLastTicks = 2650467743999999999ULL;
// Days from 1899-12-30, the floating-time epoch, to 1970-01-01.
constexpr double kFloatingEpochDays = 25569.0;

PropertyValue bytesValue(const QByteArray& bytes)
{
    PropertyValue value;
    value.kind = PropertyValue::Kind::Bytes;
    value.bytes = bytes;
    return value;
}

PropertyValue integerValue(PropertyValue::Kind kind, qint64 number)
{
    PropertyValue value;
    value.kind = kind;
    value.integer = number;
    return value;
}

PropertyValue timeValue(const QDateTime& time)
{
    PropertyValue value;
    value.kind = PropertyValue::Kind::Time;
    value.time = time;
    return value;
}

PropertyValue realValue(double number)
{
    PropertyValue value;
    value.kind = PropertyValue::Kind::Real;
    value.real = number;
    return value;
}

PropertyValue textValue(const QString& text)
{
    PropertyValue value;
    value.kind = PropertyValue::Kind::Text;
    value.text = text;
    return value;
}

QByteArray upToZero(const QByteArray& bytes)
{
    const qsizetype zero = bytes.indexOf('\0');
    return zero >= 0 ? bytes.left(zero) : bytes;
}

QString string8Text(const QByteArray& bytes, quint32 codePage)
{
    const QByteArray text = upToZero(bytes);
    if (text.isEmpty())
        return QStringLiteral("");
    char* converted = tnef_string_to_utf8(text.constData(), size_t(text.size()), codePage);
    const QString result = converted ? QString::fromUtf8(converted) : QString::fromUtf8(text);
    std::free(converted);
    return result;
}

PropertyValue fileTimeValue(const QByteArray& bytes)
{
    const quint64 ticks = qFromLittleEndian<quint64>(bytes.constData());
    if (ticks > kLastTicks)
        return integerValue(PropertyValue::Kind::Integer, qint64(ticks));
    // Whole milliseconds, counted from 1970 in either direction.
    const qint64 milliseconds = ticks >= kFiletimeUnixEpoch ? qint64((ticks - kFiletimeUnixEpoch) / 10000)
                                                         : -qint64((kFiletimeUnixEpoch - ticks + 9999) / 10000);
    return timeValue(QDateTime::fromMSecsSinceEpoch(milliseconds, Qt::UTC));
}

PropertyValue floatingTimeValue(double days)
{
    // The days of the years 1601 to 9999 since 1899-12-30.
    if (!std::isfinite(days) || days < -109205.0 || days >= 2958466.0)
        return realValue(days);
    const double milliseconds = std::round((days - kFloatingEpochDays) * 86400000.0);
    return timeValue(QDateTime::fromMSecsSinceEpoch(qint64(milliseconds), Qt::UTC));
}

// The little-endian IEEE number in the first bytes.
template <typename Float, typename Bits> Float floatAt(const uchar* data)
{
    const Bits bits = qFromLittleEndian<Bits>(data);
    Float result;
    static_assert(sizeof result == sizeof bits, "IEEE sizes");
    std::memcpy(&result, &bits, sizeof result);
    return result;
}

} // namespace

PropertyValue decodePropertyValue(quint16 type, const QByteArray& bytes, quint32 codePage)
{
    const qsizetype size = bytes.size();
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
    switch (type) {
    case PTYP_NULL:
        return PropertyValue();
    case PTYP_INTEGER16:
        // Widened to four bytes by the readers; two as stored elsewhere.
        if (size == 2)
            return integerValue(PropertyValue::Kind::Integer, qFromLittleEndian<qint16>(data));
        if (size == 4)
            return integerValue(PropertyValue::Kind::Integer, qint16(qFromLittleEndian<quint32>(data) & 0xFFFF));
        break;
    case PTYP_INTEGER32:
        if (size == 4)
            return integerValue(PropertyValue::Kind::Integer, qFromLittleEndian<qint32>(data));
        break;
    case PTYP_BOOLEAN:
        if (size == 2 || size == 4)
            return integerValue(PropertyValue::Kind::Boolean, (size == 2 ? qFromLittleEndian<quint16>(data)
                                                                         : qFromLittleEndian<quint32>(data)) != 0);
        break;
    case PTYP_ERROR_CODE:
        if (size == 4)
            return integerValue(PropertyValue::Kind::ErrorCode, qFromLittleEndian<quint32>(data));
        break;
    case PTYP_INTEGER64:
        if (size == 8)
            return integerValue(PropertyValue::Kind::Integer, qFromLittleEndian<qint64>(data));
        break;
    case PTYP_CURRENCY:
        if (size == 8)
            return integerValue(PropertyValue::Kind::Currency, qFromLittleEndian<qint64>(data));
        break;
    case PTYP_FLOATING32:
        if (size == 4)
            return realValue(double(floatAt<float, quint32>(data)));
        break;
    case PTYP_FLOATING64:
        if (size == 8)
            return realValue(floatAt<double, quint64>(data));
        break;
    case PTYP_FLOATING_TIME:
        if (size == 8)
            return floatingTimeValue(floatAt<double, quint64>(data));
        break;
    case PTYP_TIME:
        if (size == 8)
            return fileTimeValue(bytes);
        break;
    case PTYP_GUID:
        if (size == 16)
            return textValue(QUuid(qFromLittleEndian<quint32>(data), qFromLittleEndian<quint16>(data + 4),
                                   qFromLittleEndian<quint16>(data + 6), data[8], data[9], data[10], data[11],
                                   data[12], data[13], data[14], data[15])
                                 .toString(QUuid::WithBraces)
                                 .toUpper());
        break;
    case PTYP_STRING:
        return textValue(QString::fromUtf8(upToZero(bytes)));
    case PTYP_STRING8:
        return textValue(string8Text(bytes, codePage));
    default:
        break;
    }
    return bytesValue(bytes);
}

QList<PropertyValue> decodePropertyValues(const MessageProperty& property, quint32 codePage)
{
    QList<PropertyValue> values;
    if (property.type == PTYP_NULL && !property.multiValued)
        return {PropertyValue()};
    const QList<QByteArray> stored = property.allValues();
    values.reserve(stored.size());
    for (const QByteArray& bytes : stored)
        values.append(decodePropertyValue(property.type, bytes, codePage));
    return values;
}
