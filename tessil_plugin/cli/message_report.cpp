#include "cli/message_report.h"

#include "cli/console.h"
#include "message/tessil_parser.h"

MessageReport loadMessageReport(const QString& file, bool prepare, bool findTypes)
{
    MessageReport report;
    report.file = file;

    TessilParser parser;
    parser.findAttachmentTypes = findTypes;
    report.message = file == QLatin1String("-") ? parser.parseStandardInput() : parser.parseFile(file);
    report.format = parser.detectedFormat;
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

void reportProblems(const MessageReport& report)
{
    if (!report.ok) {
        reportFileError(report.file, report.error);
        return;
    }
    for (const MessageWarning warning : std::as_const(report.message->warnings))
        reportFileError(report.file, QStringLiteral("warning: ") + messageWarningText(warning));
}
