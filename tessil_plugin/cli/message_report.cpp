#include "cli/message_report.h"

#include "cli/console.h"
#include "message/tessil_parser.h"

#include <QStringList>

namespace {

QString attachmentWhere(const QList<int>& path)
{
    QStringList levels;
    for (const int number : path)
        levels << QString::number(number);
    return QStringLiteral("attachment %1").arg(levels.join(QLatin1Char('/')));
}

} // namespace

QString noSuchAttachmentError(const QList<int>& path, int count)
{
    return QStringLiteral("%1: no such attachment (the message has %2)").arg(attachmentWhere(path)).arg(count);
}

QSharedPointer<TessilMessage> attachedMessageAt(const QSharedPointer<TessilMessage>& message,
                                                const QList<int>& attachmentPath, QString* error,
                                                ContainerFormat* format)
{
    QSharedPointer<TessilMessage> at = message;
    QList<int> walked;
    for (const int number : attachmentPath) {
        walked.append(number);
        const QString where = attachmentWhere(walked);
        const QSharedPointer<TessilAttachment> attachment = at->attachmentAt(number - 1);
        if (!attachment) {
            *error = noSuchAttachmentError(walked, at->attachmentCount());
            return {};
        }
        if (!attachment->isMessage) {
            *error = QStringLiteral("%1: not an attached message").arg(where);
            return {};
        }
        if (!attachment->message) {
            switch (attachment->messageLimit) {
            case AttachedMessageLimit::TooDeep:
                *error = QStringLiteral("%1: nested more than %2 deep, not read").arg(where).arg(kMaxAttachedMessageDepth);
                break;
            case AttachedMessageLimit::TooLarge:
                *error = QStringLiteral("%1: the attached messages of this file are too large together, not read").arg(where);
                break;
            default:
                *error = QStringLiteral("%1: the attached message cannot be read").arg(where);
                break;
            }
            return {};
        }
        at = attachment->message;
        if (format)
            *format = detectContainerFormat(attachment->content());
    }
    return at;
}

MessageReport loadMessageReport(const QString& file, bool prepare, bool findTypes, const QList<int>& attachmentPath)
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
    if (!attachmentPath.isEmpty()) {
        report.message = attachedMessageAt(report.message, attachmentPath, &report.error, &report.format);
        if (!report.message)
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
