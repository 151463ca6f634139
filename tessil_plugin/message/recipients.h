#pragma once

// Addresses as the header shows them, whatever the container: recipients
// and their types from stored values, the To and Cc texts, and the rule
// that an Exchange address is no address to show.

#include "message/tessil_message.h"

#include <QString>
#include <QtGlobal>

#include <optional>

// Whether `address` is an Exchange address ("/O=ExchangeLabs/OU=..."),
// which means nothing outside the sender's organisation.
bool isExchangeAddress(const QString& address);

// The Internet address of a person or recipient: the SMTP address when
// there is one, else the e-mail address where its address type is SMTP
// (or absent, for an address with an "@"); empty for an Exchange address
// and for any other type.
QString internetAddress(const QString& smtpAddress, const QString& emailAddress, const QString& addressType);

// The type of a stored PidTagRecipientType (1, 2, 3 with the flags Outlook
// adds), To when it is absent (negative); none for the originator, a
// resent copy and unknown values, which are not shown.
std::optional<RecipientType> recipientTypeOf(qint64 stored);

// "to", "cc" or "bcc".
QString recipientTypeName(RecipientType type);

// "Name <address>", the name alone without an address, the address alone
// without a name.
QString nameWithAddress(const QString& name, const QString& address);

// The To or Cc line of the header: the recipients of that type from the
// message's list, each as nameWithAddress() and separated by "; ", or,
// when the list is empty, displayTo or displayCc as stored (for Bcc,
// nothing).
QString recipientLine(const TessilMessage& message, RecipientType type);
