#include "message/recipients.h"

#include "message/mailbox_text.h"

#include <QStringList>

namespace {

constexpr qint64 kResentCopy = 0x10000000; // MAPI_P1: a copy made when the message was sent again
constexpr qint64 kSubmitted = 0x80000000;  // MAPI_SUBMITTED: set once the message went out

} // namespace

QString internetAddress(const QString& smtpAddress, const QString& emailAddress, const QString& addressType)
{
    const QString smtp = smtpAddress.trimmed();
    if (!smtp.isEmpty() && !isExchangeAddress(smtp))
        return smtp;
    const QString email = emailAddress.trimmed();
    if (email.isEmpty() || isExchangeAddress(email))
        return {};
    const QString type = addressType.trimmed();
    if (type.compare(QLatin1String("SMTP"), Qt::CaseInsensitive) == 0 || (type.isEmpty() && email.contains(QLatin1Char('@'))))
        return email;
    return {};
}

std::optional<RecipientType> recipientTypeOf(qint64 stored)
{
    if (stored < 0)
        return RecipientType::To;
    if (stored & kResentCopy)
        return std::nullopt;
    switch (stored & ~kSubmitted) {
    case 1:
        return RecipientType::To;
    case 2:
        return RecipientType::Cc;
    case 3:
        return RecipientType::Bcc;
    default:
        return std::nullopt;
    }
}

QString recipientTypeName(RecipientType type)
{
    switch (type) {
    case RecipientType::Cc:
        return QStringLiteral("cc");
    case RecipientType::Bcc:
        return QStringLiteral("bcc");
    case RecipientType::To:
        break;
    }
    return QStringLiteral("to");
}

QString recipientLine(const TessilMessage& message, RecipientType type)
{
    if (message.recipients.isEmpty()) {
        switch (type) {
        case RecipientType::To:
            return message.displayTo;
        case RecipientType::Cc:
            return message.displayCc;
        case RecipientType::Bcc:
            break;
        }
        return {};
    }
    QStringList parts;
    for (const MessageRecipient& recipient : message.recipients) {
        if (recipient.type == type) {
            const QString text = mailboxText(recipient.name, recipient.email);
            if (!text.isEmpty())
                parts << text;
        }
    }
    return parts.join(QStringLiteral("; "));
}
