#pragma once

// The line under a meeting's header: when it takes place (start to end, in
// local time), the time zone it was planned in, where, and who organises
// it, from the same properties as the calendar file beside it.

#include "message/meeting_details.h"

#include <QLocale>
#include <QString>

// The line in the interface language, dates and times written as `locale`
// writes them; empty when the details hold nothing to show.
QString meetingLine(const MeetingDetails& details, const QLocale& locale);
