#include "cli/message_report.h"

#include "cli/information_line.h"
#include "message/tessil_parser.h"

MessageReport loadMessageReport(const QString& file, bool prepare)
{
    MessageReport report;
    report.file = file;

    TessilParser parser;
    report.message = parser.parseFile(file);
    if (!report.message) {
        report.error = parser.errorString.isEmpty() ? QStringLiteral("unknown error") : parser.errorString;
        return report;
    }
    report.ok = true;
    report.infoLine = informationLine(*report.message);
    if (prepare)
        report.body = prepareBody(*report.message);
    for (const QSharedPointer<TessilAttachment>& attachment : report.message->attachments) {
        if (!attachment)
            continue;
        ReportedAttachment entry;
        entry.attachment = attachment;
        entry.content = attachment->content();
        entry.listed = attachment->contentId.isEmpty();
        report.attachments.append(entry);
    }
    return report;
}
