#pragma once

// Which of a message's bodies the view shows, and the HTML it shows for it:
// the HTML body with its cid: images inlined, else the RTF body (the HTML or
// text it carries inside when it carries one, else converted), else the
// plain body in a minimal page. A body that exists but would show nothing
// gives way to the next one. Nothing here changes the message.

#include <QByteArray>
#include <QString>

#include <atomic>

struct TessilMessage;

// Which of the bodies is shown; None when none has visible text.
enum class DisplayBody { None, Html, Rtf, Plain };

// How an RTF body was shown: the HTML or the plain text that it carries
// inside (what the sender wrote), or, when it carries none that shows
// anything, the converter's rendering of the RTF itself.
enum class RtfForm { Converted, Html, Text };

struct PreparedBody
{
    DisplayBody source = DisplayBody::None;
    QString html; // empty exactly when source is None
    RtfForm rtfForm = RtfForm::Converted; // meaningful when source is Rtf
};

// The body chosen for display together with its HTML: the one decision that
// prepareBodyHtml() makes, for callers that also need to know which body won.
// Safe on any thread; needs no QGuiApplication. Once `cancelled` (when
// given) is set, gives up soon with an empty result.
PreparedBody prepareBody(const TessilMessage& message, const std::atomic<bool>* cancelled = nullptr);

// The HTML to display, or an empty string when no body has visible text.
QString prepareBodyHtml(const TessilMessage& message);

// `html` (UTF-8) with every "cid:<content id>" of one of the message's
// attachments replaced by a data: URI of that attachment's content (type
// "image/png" when it stores none). The first reference to each attachment
// is always inlined, further ones only while the page grows by at most 16
// times the message's own bytes (the page and attachment data), and never
// by more than 64 MiB.
QByteArray inlineCidImages(const TessilMessage& message, const QByteArray& html);
// The same for the message's htmlBody.
QByteArray inlineCidImages(const TessilMessage& message);

// True when the HTML, as Qt's rich-text engine shows it (style sheets,
// scripts and the head never show), holds no character that hasVisibleText()
// counts; images do not count. Judged without importing the HTML.
bool looksEmpty(const QString& html);

// True when the text holds a visible character: not white space, not a
// control, format, private-use or unassigned character, not U+FFFC, not a
// lone surrogate. A surrogate pair counts as the character it encodes.
bool hasVisibleText(const QString& text);
