#include "message/message_warnings.h"

QString messageWarningId(MessageWarning warning)
{
    switch (warning) {
    case MessageWarning::Truncated:
        return QStringLiteral("truncated");
    case MessageWarning::Checksum:
        return QStringLiteral("checksum");
    case MessageWarning::CorruptProperties:
        return QStringLiteral("corrupt-properties");
    case MessageWarning::RtfChecksum:
        return QStringLiteral("rtf-checksum");
    }
    return QString();
}

QString messageWarningText(MessageWarning warning)
{
    switch (warning) {
    case MessageWarning::Truncated:
        return QStringLiteral("the file is cut short; what followed the cut is missing");
    case MessageWarning::Checksum:
        return QStringLiteral("a record does not match its checksum; its data may be wrong");
    case MessageWarning::CorruptProperties:
        return QStringLiteral("a block of properties is damaged and was left out");
    case MessageWarning::RtfChecksum:
        return QStringLiteral("the RTF body does not match its checksum and was left out");
    }
    return QString();
}
