#include "message/filetime.h"

#include <QTimeZone>

QDateTime filetimeToDateTime(quint64 filetime)
{
    if (filetime < kFiletimeUnixEpoch)
        return {};
    const qint64 msecs = static_cast<qint64>((filetime - kFiletimeUnixEpoch) / 10000);
    const QDateTime time = QDateTime::fromMSecsSinceEpoch(msecs, QTimeZone::utc());
    if (!time.isValid() || time.date().year() > 9999)
        return {};
    return time;
}
