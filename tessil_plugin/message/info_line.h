#pragma once

// The two formatted figures of the information line: when the message was
// sent and how large its attachments are together. The figures themselves
// come from PreparedMessage.

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QtGlobal>

// The sent time in local time as "yyyy-MM-dd hh:mm:ss" followed by ", ";
// empty for an invalid time (the message has none).
QString formatDateInfo(const QDateTime& sentTime);

// A byte count: "%1 B" below 1024 bytes, else KB, MB or GB with one decimal,
// in steps of 1024. The number is written as `locale` writes numbers (its
// decimal separator, no group separator): the viewer passes the interface
// language's, tessil the C locale's. The units are translated ("InfoLine")
// where a translator is installed.
QString formatTotalSize(qint64 total, const QLocale& locale = QLocale::c());
