#pragma once

#include <QByteArray>
#include <QString>

// Makes an HTML text declare UTF-8 and returns it as UTF-8 bytes: the first
// charset meta tag is replaced; otherwise a UTF-8 meta tag is inserted after
// the head tag, or a head holding one after the html tag, or the text is
// wrapped in a complete document.
QByteArray normaliseHtmlCharset(const QString& html);
