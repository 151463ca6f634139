#pragma once

// Whether an HTML text would show anything: style sheets and scripts are
// removed, the rest goes through Qt's rich-text engine (which needs a
// QGuiApplication) and what remains as plain text is examined.

#include <QString>

namespace rtf {

// `html` without its <style> and <script> elements (case-insensitive, across
// line breaks), as Qt's rich-text engine renders it in plain text.
QString htmlToPlainText(const QString& html);

// True when the rendered text holds a character other than white space.
bool hasVisibleText(const QString& html);

} // namespace rtf
