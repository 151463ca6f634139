#pragma once

// Recipients as the header shows them, whatever the container: their
// Internet addresses and types from stored values, and the To and Cc texts.

#include "message/tessil_message.h"

#include <QString>
#include <QtGlobal>

#include <optional>

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

// The To or Cc line of the header: the recipients of that type from the
// message's list, each as mailboxText() and separated by "; ", or,
// when the list is empty, displayTo or displayCc as stored (for Bcc,
// nothing).
QString recipientLine(const TessilMessage& message, RecipientType type);
