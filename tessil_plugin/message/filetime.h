#pragma once

#include <QDateTime>
#include <QtGlobal>

// 1970-01-01 00:00:00 UTC as a FILETIME (100-nanosecond ticks since 1601).
constexpr quint64 kFiletimeUnixEpoch = 116444736000000000ULL;

// The UTC instant of a FILETIME, or an invalid QDateTime for no time: a
// value before 1970 (zero included) or after the year 9999, which neither
// the information line's "yyyy" nor iCalendar's four-digit years can show.
QDateTime filetimeToDateTime(quint64 filetime);
