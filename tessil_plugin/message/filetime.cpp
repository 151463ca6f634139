#include "message/filetime.h"

QDateTime filetimeToDateTime(quint64 filetime)
{
    if (filetime < kFiletimeUnixEpoch)
        return {};
    const qint64 msecs = static_cast<qint64>((filetime - kFiletimeUnixEpoch) / 10000);
    const QDateTime time = QDateTime::fromMSecsSinceEpoch(msecs, Qt::UTC);
    if (!time.isValid() || time.date().year() > 9999)
        return {};
    return time;
}
