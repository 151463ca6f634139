#include "message/contact_card.h"

#include "message/message_properties.h"

#include <QStringList>

namespace {

// Text-value escaping of vCard: backslash, comma and line breaks always;
// semicolons too, since they separate the parts of N and ORG.
QString vcardText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\\') || c == QLatin1Char(',') || c == QLatin1Char(';')) {
            out += QLatin1Char('\\');
            out += c;
        } else if (c == QLatin1Char('\r')) {
            out += QLatin1String("\\n");
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('\n')) {
            out += QLatin1String("\\n");
        } else {
            out += c;
        }
    }
    return out;
}

// Content lines longer than 75 octets are folded (CR LF and a space), never
// inside a UTF-8 sequence.
QByteArray foldLine(const QByteArray& line)
{
    constexpr qsizetype kLimit = 75;
    QByteArray out;
    qsizetype lineLength = 0;
    for (qsizetype i = 0; i < line.size();) {
        qsizetype length = 1;
        const unsigned char lead = static_cast<unsigned char>(line.at(i));
        if (lead >= 0xF0)
            length = 4;
        else if (lead >= 0xE0)
            length = 3;
        else if (lead >= 0xC0)
            length = 2;
        length = qMin(length, line.size() - i);
        if (lineLength + length > kLimit) {
            out += "\r\n ";
            lineLength = 1;
        }
        out += line.mid(i, length);
        lineLength += length;
        i += length;
    }
    return out + "\r\n";
}

} // namespace

QByteArray renderContactCard(const TessilMessage& message)
{
    const QString displayName = stringProperty(message, mapi_id::kDisplayName);
    const QString given = stringProperty(message, mapi_id::kGivenName);
    const QString surname = stringProperty(message, mapi_id::kSurname);
    const QString company = stringProperty(message, mapi_id::kCompanyName);
    const QString title = stringProperty(message, mapi_id::kTitle);
    const QString business = stringProperty(message, mapi_id::kBusinessPhone);
    const QString mobile = stringProperty(message, mapi_id::kMobilePhone);
    const QString home = stringProperty(message, mapi_id::kHomePhone);
    const QString email = stringProperty(message, mapi_id::kEmail1Address);

    QString formatted = displayName;
    if (formatted.isEmpty())
        formatted = message.subject;
    if (formatted.isEmpty())
        formatted = (given + QLatin1Char(' ') + surname).trimmed();

    QStringList lines;
    lines << QStringLiteral("BEGIN:VCARD") << QStringLiteral("VERSION:4.0");
    lines << QStringLiteral("FN:") + vcardText(formatted);
    if (!given.isEmpty() || !surname.isEmpty())
        lines << QStringLiteral("N:") + vcardText(surname) + QLatin1Char(';') + vcardText(given) + QStringLiteral(";;;");
    if (!company.isEmpty())
        lines << QStringLiteral("ORG:") + vcardText(company);
    if (!title.isEmpty())
        lines << QStringLiteral("TITLE:") + vcardText(title);
    if (!business.isEmpty())
        lines << QStringLiteral("TEL;TYPE=work,voice:") + vcardText(business);
    if (!mobile.isEmpty())
        lines << QStringLiteral("TEL;TYPE=cell,voice:") + vcardText(mobile);
    if (!home.isEmpty())
        lines << QStringLiteral("TEL;TYPE=home,voice:") + vcardText(home);
    if (!email.isEmpty())
        lines << QStringLiteral("EMAIL:") + vcardText(email);
    lines << QStringLiteral("END:VCARD");

    QByteArray card;
    for (const QString& line : lines)
        card += foldLine(line.toUtf8());
    return card;
}
