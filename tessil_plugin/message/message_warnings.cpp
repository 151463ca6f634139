#include "message/message_warnings.h"

namespace {

struct Wording
{
    MessageWarning warning;
    const char* id;
    const char* text;
};

const Wording kWordings[] = {
    {MessageWarning::Truncated, "truncated", "the file is cut short; what followed the cut is missing"},
    {MessageWarning::Checksum, "checksum", "a record does not match its checksum; its data may be wrong"},
    {MessageWarning::CorruptProperties, "corrupt-properties", "a block of properties is damaged and was left out"},
    {MessageWarning::RtfChecksum, "rtf-checksum", "the RTF body does not match its checksum and was left out"},
};

const Wording* wordingOf(MessageWarning warning)
{
    for (const Wording& wording : kWordings) {
        if (wording.warning == warning)
            return &wording;
    }
    return nullptr;
}

} // namespace

QString messageWarningId(MessageWarning warning)
{
    const Wording* wording = wordingOf(warning);
    return wording ? QLatin1String(wording->id) : QString();
}

QString messageWarningText(MessageWarning warning)
{
    const Wording* wording = wordingOf(warning);
    return wording ? QLatin1String(wording->text) : QString();
}
