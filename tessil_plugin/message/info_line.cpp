#include "message/info_line.h"

#include <QCoreApplication>

QString formatDateInfo(const QDateTime& sentTime)
{
    if (!sentTime.isValid())
        return QString();
    return sentTime.toLocalTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) + QStringLiteral(", ");
}

QString formatTotalSize(qint64 total)
{
    const qint64 kilo = 1024;
    const qint64 mega = kilo * 1024;
    const qint64 giga = mega * 1024;
    if (total < kilo)
        return QCoreApplication::translate("InfoLine", "%1 B").arg(total);
    if (total < mega)
        return QCoreApplication::translate("InfoLine", "%1 KB").arg(QString::number(double(total) / kilo, 'f', 1));
    if (total < giga)
        return QCoreApplication::translate("InfoLine", "%1 MB").arg(QString::number(double(total) / mega, 'f', 1));
    return QCoreApplication::translate("InfoLine", "%1 GB").arg(QString::number(double(total) / giga, 'f', 1));
}
