#include "message/info_line.h"

#include <QCoreApplication>

QString formatDateInfo(const QDateTime& sentTime)
{
    if (!sentTime.isValid())
        return QString();
    return sentTime.toLocalTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) + QStringLiteral(", ");
}

QString formatTotalSize(qint64 total, const QLocale& locale)
{
    QLocale numbers = locale;
    numbers.setNumberOptions(QLocale::OmitGroupSeparator);
    const qint64 kilo = 1024;
    const qint64 mega = kilo * 1024;
    const qint64 giga = mega * 1024;
    if (total < kilo)
        return QCoreApplication::translate("InfoLine", "%1 B").arg(numbers.toString(total));
    if (total < mega)
        return QCoreApplication::translate("InfoLine", "%1 KB").arg(numbers.toString(double(total) / kilo, 'f', 1));
    if (total < giga)
        return QCoreApplication::translate("InfoLine", "%1 MB").arg(numbers.toString(double(total) / mega, 'f', 1));
    return QCoreApplication::translate("InfoLine", "%1 GB").arg(numbers.toString(double(total) / giga, 'f', 1));
}
