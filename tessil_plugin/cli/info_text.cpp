#include "cli/info_text.h"

#include "cli/information_line.h"
#include "cli/message_report.h"
#include "cli/printable_text.h"
#include "message/recipients.h"

#include <QStringList>

#include <algorithm>

namespace {

// Only the last column (the name) may hold wide or combining characters, so
// counting UTF-16 units lines the table up.
QString padRight(const QString& text, qsizetype width)
{
    return text.leftJustified(width, u' ');
}

QString padLeft(const QString& text, qsizetype width)
{
    return text.rightJustified(width, u' ');
}

QString bodyName(const PreparedBody& body)
{
    switch (body.source) {
    case DisplayBody::Html:
        return QStringLiteral("HTML");
    case DisplayBody::Rtf:
        switch (body.rtfForm) {
        case RtfForm::Html:
            return QStringLiteral("RTF (HTML)");
        case RtfForm::Text:
            return QStringLiteral("RTF (text)");
        case RtfForm::Converted:
            break;
        }
        return QStringLiteral("RTF");
    case DisplayBody::Plain:
        return QStringLiteral("plain text");
    case DisplayBody::None:
        break;
    }
    return QStringLiteral("none");
}

} // namespace

QByteArray infoText(const MessageReport& report)
{
    const TessilMessage& message = *report.message;
    QStringList lines;
    lines << printable(report.file);
    const auto field = [&](const char* label, const QString& value) {
        lines << QStringLiteral("  ") + padRight(QString::fromLatin1(label), 14) + value;
    };
    field("From:", message.senderEmail.isEmpty() ? QStringLiteral("<No Sender>") : printable(message.senderEmail));
    // As the viewer words them: from the recipient list where there is one.
    const QString to = recipientLine(message, RecipientType::To);
    const QString cc = recipientLine(message, RecipientType::Cc);
    if (!to.isEmpty())
        field("To:", printable(to));
    if (!cc.isEmpty())
        field("Cc:", printable(cc));
    field("Subject:", message.subject.isEmpty() ? QStringLiteral("<No Subject>") : printable(message.subject));
    field("Information:", informationLine(report.prepared.information));
    field("Body:", bodyName(report.prepared.body));
    field("Attachments:", QString::number(report.attachments.size()));

    if (!report.attachments.isEmpty()) {
        const QString sizeHeader = QStringLiteral("SIZE");
        const QString shownHeader = QStringLiteral("SHOWN");
        const QString typeHeader = QStringLiteral("TYPE");
        QStringList sizes;
        QStringList types;
        qsizetype sizeWidth = sizeHeader.size();
        qsizetype typeWidth = typeHeader.size();
        for (const ReportedAttachment& entry : report.attachments) {
            sizes << QString::number(entry.attachment->content().size());
            const QString type = entry.attachment->mimeType.isEmpty() ? QStringLiteral("-")
                                                                      : printable(entry.attachment->mimeType);
            types << type;
            sizeWidth = std::max(sizeWidth, sizes.last().size());
            typeWidth = std::max(typeWidth, type.size());
        }
        const QString indent = QStringLiteral("    ");
        lines << indent + padLeft(sizeHeader, sizeWidth) + QStringLiteral("  ") + padRight(shownHeader, 6)
                + QStringLiteral("  ") + padRight(typeHeader, typeWidth) + QStringLiteral("  NAME");
        for (qsizetype i = 0; i < report.attachments.size(); ++i) {
            const ReportedAttachment& entry = report.attachments.at(i);
            const QString shown = entry.listed ? QStringLiteral("grid") : QStringLiteral("inline");
            lines << indent + padLeft(sizes.at(i), sizeWidth) + QStringLiteral("  ") + padRight(shown, 6)
                    + QStringLiteral("  ") + padRight(types.at(i), typeWidth) + QStringLiteral("  ")
                    + printable(entry.attachment->fileName);
        }
    }
    return (lines.join(u'\n') + u'\n').toUtf8();
}
