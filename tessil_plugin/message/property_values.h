#pragma once

// The values of a MAPI property as what they mean: numbers, times, texts,
// GUIDs, bytes. The viewer's Properties dialog and `tessil props` word them
// each in their own way (local time and the first bytes on screen, UTC and
// every byte for scripts) from this one reading of the stored bytes.

#include "message/tessil_message.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QtGlobal>

struct PropertyValue
{
    enum class Kind {
        Null,     // no value (PtypNull)
        Integer,  // integer: 16-, 32- and 64-bit integers
        Real,     // real: floating-point numbers
        Currency, // integer: ten-thousandths of the currency unit
        Boolean,  // integer: 0 or 1
        Time,     // time (UTC): times and floating times of the years 1601 to 9999
        Text,     // text: strings, and GUIDs in braces
        ErrorCode,// integer: the 32-bit code
        Bytes,    // bytes: binaries, objects, and any value that is not what its type says
    };

    Kind kind = Kind::Null;
    qint64 integer = 0;
    double real = 0;
    QDateTime time;
    QString text;
    QByteArray bytes;
};

// One stored value of a property of `type` (without the multi-value flag),
// in the model's flat form (see MessageProperty). 8-bit strings are decoded
// in `codePage` (0: as the decoder reads header strings). A value whose size
// does not fit its type comes back as Bytes.
PropertyValue decodePropertyValue(quint16 type, const QByteArray& bytes, quint32 codePage);

// Every value of the property (MessageProperty::allValues); none for a
// property without a value (PtypNull gives one Null).
QList<PropertyValue> decodePropertyValues(const MessageProperty& property, quint32 codePage);
