#pragma once

// The two figures of the view's information line: when the message was sent
// and how large its attachments are together.

#include <QString>

struct TessilMessage;

// The sent time in local time as "yyyy-MM-dd hh:mm:ss" followed by ", ";
// empty when the message has no sent time.
QString formatDateInfo(const TessilMessage& message);

// The total content size of all attachments (rendered calendar or contact
// attachments included): "%1 B" below 1024 bytes, else KB, MB or GB with one
// decimal, in steps of 1024.
QString formatTotalSize(const TessilMessage& message);
