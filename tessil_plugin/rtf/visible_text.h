#pragma once

// Whether an HTML text would show anything, as Qt's rich-text engine would
// show it (style sheets, scripts and the head never show), judged without
// importing it (see common/html_visible_text.h).

#include <QString>

namespace rtf {

// True when the HTML shows a character other than white space; an image
// counts as one.
bool hasVisibleText(const QString& html);

} // namespace rtf
