#pragma once

// Style sheets shared by the parts of the message view.

#include <QString>

// Thin, rounded scroll bars for the page, the body view and the attachment list.
QString scrollBarStyleSheet();

// The body view's own frame: no border, transparent background.
QString bodyBrowserStyleSheet();

// The rules every message body is shown with unless it sets its own: one
// readable font stack and size, no page margin, wrapping preformatted text.
QString bodyDefaultStyleSheet();
