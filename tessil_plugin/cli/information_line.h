#pragma once

#include <QString>

struct InformationFigures;

// The viewer's information line, in English: the sent date (when known), the
// total attachment size and the attachment count, e.g.
// "2024-05-01 10:20:30, 12.3 KB, 2 attachments" or "0 B, 0 attachment".
// Count and size cover every attachment, inline images included.
QString informationLine(const InformationFigures& figures);
