#include "cli/property_words.h"

QString utcIsoTime(const QDateTime& time)
{
    const QDateTime utc = time.toUTC();
    return utc.toString(utc.time().msec() ? Qt::ISODateWithMs : Qt::ISODate);
}

QByteArray currencyLiteral(qint64 tenThousandths)
{
    const bool negative = tenThousandths < 0;
    // Negated as unsigned, so that the most negative amount has a magnitude too.
    const quint64 magnitude = negative ? 0 - quint64(tenThousandths) : quint64(tenThousandths);
    return (negative ? QByteArray("-") : QByteArray()) + QByteArray::number(magnitude / 10000) + '.'
        + QByteArray::number(magnitude % 10000).rightJustified(4, '0');
}

QString errorCodeText(qint64 code)
{
    return QStringLiteral("0x") + QString::number(quint32(code), 16).toUpper().rightJustified(8, u'0');
}
