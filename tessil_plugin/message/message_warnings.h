#pragma once

// Signs of damage that a container's reader met while it filled a message.
// The message then holds what could be read; the view and tessil say that
// something may be missing. Every reader reports what its format can tell.

#include <QString>

enum class MessageWarning {
    Truncated,         // the file (or the RTF body) ends inside a record: what followed is missing
    Checksum,          // a record's data does not add up to its checksum: it may be wrong
    CorruptProperties, // a property block could not be read and was left out
    RtfChecksum,       // the RTF body does not match its checksum and was left out
};

// The id scripts see: "truncated", "checksum", "corrupt-properties", "rtf-checksum".
QString messageWarningId(MessageWarning warning);

// What it means, in one English line for a terminal.
QString messageWarningText(MessageWarning warning);
