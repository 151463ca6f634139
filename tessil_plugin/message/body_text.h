#pragma once

// Turns stored body bytes into text: byte-order marks, unmarked UTF-16,
// UTF-8, the message's or the declared code page, an East Asian guess, and
// finally Windows-1252. Pure functions without state.

#include <QByteArray>
#include <QString>
#include <QtGlobal>

QString decodeBodyText(const char* bytes, qsizetype length, quint32 codePage);

// The code page of the first "charset=" declaration in the first 2048
// bytes, or 0 when there is none or it names no known code page.
quint32 detectDeclaredCodePage(const QByteArray& bytes);

// The Windows code page of a charset name (trimmed, case-insensitive), or 0.
quint32 codePageForCharset(const QString& name);

// Strict decoding: an empty text when the bytes are empty, the code page is
// 0 or unknown, or any byte sequence is invalid in it.
QString decodeWithCodePage(const QByteArray& bytes, quint32 codePage);
