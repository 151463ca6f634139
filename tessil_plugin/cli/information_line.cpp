#include "cli/information_line.h"

#include "message/info_line.h"
#include "message/prepared_message.h"

QString informationLine(const InformationFigures& figures)
{
    const int count = figures.attachmentCount;
    return formatDateInfo(figures.sentTime) + formatTotalSize(figures.totalSize) + QStringLiteral(", ")
        + QString::number(count) + (count < 2 ? QStringLiteral(" attachment") : QStringLiteral(" attachments"));
}
