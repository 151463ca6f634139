#include "cli/info_text.h"

#include "cli/message_report.h"

#include <QStringList>

#include <algorithm>

namespace {

QString printable(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += c;
            out += text.at(++i);
            continue;
        }
        const char16_t unit = c.unicode();
        const bool hidden = c.category() == QChar::Other_Control || c.isSurrogate()
            || (unit >= 0x202A && unit <= 0x202E) || (unit >= 0x2066 && unit <= 0x2069);
        out += hidden ? QChar(u'?') : c;
    }
    return out;
}

// Terminal columns taken by the text: wide East Asian characters and most
// emoji take two, combining marks none. Close enough to line up a table.
int displayWidth(const QString& text)
{
    int width = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            ++i;
        }
        const QChar::Category category = QChar::category(c);
        if (category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing || c == 0x200B)
            continue;
        const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF && c != 0x303F)
            || (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F)
            || (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1F64F)
            || (c >= 0x1F900 && c <= 0x1F9FF) || (c >= 0x20000 && c <= 0x3FFFD);
        width += wide ? 2 : 1;
    }
    return width;
}

QString padRight(const QString& text, int width)
{
    return text + QString(std::max(0, width - displayWidth(text)), u' ');
}

QString padLeft(const QString& text, int width)
{
    return QString(std::max(0, width - displayWidth(text)), u' ') + text;
}

QString bodyName(DisplayBody body)
{
    switch (body) {
    case DisplayBody::Html:
        return QStringLiteral("HTML");
    case DisplayBody::Rtf:
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
    field("Subject:", message.subject.isEmpty() ? QStringLiteral("<No Subject>") : printable(message.subject));
    field("Information:", report.infoLine);
    field("Body:", bodyName(report.body.source));
    field("Attachments:", QString::number(report.attachments.size()));

    if (!report.attachments.isEmpty()) {
        const QString sizeHeader = QStringLiteral("SIZE");
        const QString shownHeader = QStringLiteral("SHOWN");
        const QString typeHeader = QStringLiteral("TYPE");
        QStringList sizes;
        QStringList types;
        int sizeWidth = displayWidth(sizeHeader);
        int typeWidth = displayWidth(typeHeader);
        for (const ReportedAttachment& entry : report.attachments) {
            sizes << QString::number(entry.content.size());
            const QString type = entry.attachment->mimeType.isEmpty() ? QStringLiteral("-")
                                                                      : printable(entry.attachment->mimeType);
            types << type;
            sizeWidth = std::max(sizeWidth, displayWidth(sizes.last()));
            typeWidth = std::max(typeWidth, displayWidth(type));
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
