#pragma once

// The way into RTF conversion: the converter first, and when it fails or
// shows nothing, the plain-text reader inside a minimal page. Never fails.

#include <QByteArray>
#include <QString>

#include <atomic>

namespace rtf {

// HTML for an RTF body: the converter's document (XML declaration included),
// or the fallback text in a <pre>, or, when even that is empty, the raw
// input escaped in a <pre>. With `showsLetters`, true when the result is the
// converter's document and that shows a letter or a digit (what the
// converter saw while it wrote; false says nothing either way). Once
// `cancelled` (when given) is set, gives up soon and returns a null string.
QString rtfToHtml(const QByteArray& rtf, bool* showsLetters = nullptr, const std::atomic<bool>* cancelled = nullptr);

// The page that shows plain text as it is: escaped, in a <pre> of the
// sans-serif font, its line breaks (CR LF, CR or LF) written as LF. Bodies
// of plain text are shown in it too.
QString plainTextPage(const QString& text);

} // namespace rtf
