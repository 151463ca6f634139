#pragma once

// The way into RTF conversion: the converter first, and when it fails or
// shows nothing, the plain-text reader inside a minimal page. Never fails.

#include <QByteArray>
#include <QString>

namespace rtf {

// HTML for an RTF body: the converter's document (XML declaration included),
// or the fallback text in a <pre>, or, when even that is empty, the raw
// input escaped in a <pre>.
QString rtfToHtml(const QByteArray& rtf);

} // namespace rtf
