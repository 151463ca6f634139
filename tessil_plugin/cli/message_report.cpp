#include "cli/message_report.h"

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
    report.prepared = prepareMessage(report.message);
    if (prepare)
        prepareMessageBody(report.prepared);
    for (int i = 0; i < report.message->attachmentCount(); ++i) {
        if (const QSharedPointer<TessilAttachment> attachment = report.message->attachmentAt(i))
            report.attachments.append({attachment, report.prepared.listedAttachments.contains(i)});
    }
    return report;
}
