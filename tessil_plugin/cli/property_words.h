#pragma once

// How tessil writes a property value in words, for its text and its JSON:
// times in UTC ISO form, currency exactly, error codes in hex.

#include "message/property_values.h"

#include <QByteArray>
#include <QString>

// "2024-05-01T10:20:30Z" ("…30.250Z" with milliseconds).
QString utcIsoTime(const QDateTime& time);
// The amount in units, exactly: "-12.3400".
QByteArray currencyLiteral(qint64 tenThousandths);
// "0x8004010F".
QString errorCodeText(qint64 code);
