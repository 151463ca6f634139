#pragma once

// The fallback RTF reader: much simpler than the converter, it keeps only
// the text (with line breaks at paragraph marks), skips the header tables,
// pictures and ignorable destinations, and decodes escaped bytes in the
// document's \ansicpg code page.

#include <QByteArray>
#include <QString>

namespace rtf {

// The text of `rtf`, trimmed. Never throws; malformed input gives what can
// be read of it.
QString extractPlainText(const QByteArray& rtf);

} // namespace rtf
