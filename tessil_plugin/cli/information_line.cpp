#include "cli/information_line.h"

#include "message/info_line.h"
#include "message/tessil_message.h"

QString informationLine(const TessilMessage& message)
{
    const int count = message.attachmentCount();
    return formatDateInfo(message) + formatTotalSize(message) + QStringLiteral(", ") + QString::number(count)
        + (count < 2 ? QStringLiteral(" attachment") : QStringLiteral(" attachments"));
}
