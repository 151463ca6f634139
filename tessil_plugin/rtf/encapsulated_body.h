#pragma once

// The HTML or plain text that an RTF body carries inside it. Outlook and
// Exchange often keep an HTML message only as RTF that still holds the
// original: the markup in {\*\htmltagN ...} groups, the text between them,
// and the RTF that only approximates the HTML fenced off by \htmlrtf. Reading
// that back shows the message as it was written, with its links, images,
// tables and styles, where the general converter can only approximate it.
//
// The reader is one forward pass: linear in its input, never failing, its
// memory a small multiple of the input (the recovered text, one UTF-16 unit
// per input byte at most, and the saved group states). QtCore only.

#include <QByteArray>
#include <QString>

namespace rtf {

enum class EncapsulatedKind { None, Html, PlainText };

struct EncapsulatedBody
{
    EncapsulatedKind kind = EncapsulatedKind::None;
    // The recovered HTML or plain text, line breaks as CR LF; empty when kind
    // is None. It may be empty, or show nothing, for the other kinds too:
    // callers judge that and fall back to the converter.
    QString text;
};

// What `rtf` declares that it carries: HTML when \fromhtml1, plain text when
// \fromtext is among its first ten tokens (group starts, control words and
// control symbols). A document that merely mentions the words in its text
// carries nothing.
EncapsulatedKind encapsulatedKind(const QByteArray& rtf);

// Recovers what `rtf` carries; kind None (and no text) when it carries
// nothing. Malformed numbers, unbalanced groups and truncated input end the
// reading with what was recovered so far, as does the end of the document's
// outermost group (compressed bodies often carry padding after it).
//
// Text is decoded in the current font's code page (its \fcharset), else in
// the document's \ansicpg page (1252 when it names none the reader knows);
// markup in tag groups always in the document's page.
EncapsulatedBody recoverEncapsulatedBody(const QByteArray& rtf);

} // namespace rtf
