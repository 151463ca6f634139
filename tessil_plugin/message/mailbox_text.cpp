#include "message/mailbox_text.h"

bool isExchangeAddress(const QString& address)
{
    return address.trimmed().startsWith(QLatin1String("/O="), Qt::CaseInsensitive);
}

QString mailboxText(const QString& name, const QString& address)
{
    const QString shownName = name.trimmed();
    const QString shownAddress = isExchangeAddress(address) ? QString() : address.trimmed();
    if (shownAddress.isEmpty())
        return shownName;
    if (shownName.isEmpty() || shownName.compare(shownAddress, Qt::CaseInsensitive) == 0)
        return shownAddress;
    return shownName + QStringLiteral(" <") + shownAddress + QLatin1Char('>');
}
