#include "message/info_line.h"

#include "message/tessil_message.h"

#include <QCoreApplication>

QString formatDateInfo(const TessilMessage& message)
{
    if (!message.sentTime.isValid())
        return QString();
    return message.sentTime.toLocalTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) + QStringLiteral(", ");
}

QString formatTotalSize(const TessilMessage& message)
{
    qint64 total = 0;
    for (const QSharedPointer<TessilAttachment>& attachment : message.attachments)
        if (attachment)
            total += attachment->contentSize();

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
