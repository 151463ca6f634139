#pragma once

// The message body as a rich-text document, built wherever the caller runs:
// the viewer builds it in a worker thread and then hands it to its browser
// (moveToThread, setDocument), so importing a large body never stalls the
// window. Nothing here touches a widget.

#include "message/body_preparation.h"

#include <QFont>

#include <atomic>
#include <memory>

class QTextDocument;

// A document showing `body.html` with the body view's settings: no margin,
// the default style sheet (bodyDefaultStyleSheet) and `font` as the default
// font, without undo history. The RTF converter's page (of an RTF body that
// was converted, not of one that carried its own HTML) is imported in
// pieces of whole top-level elements (it is the largest kind of body, and
// Qt's importer needs many times the page's size while it works), with
// `cancelled` asked between them; the document is the same as importing it
// whole. Null when `cancelled` was set, or for a body without HTML. Pieces
// hold at least `pieceCharacters` characters of the page: by default about
// 50 ms of Qt's importer in a release build, a quick answer to cancelling at
// no cost beyond importing whole (tests use small pieces).
std::unique_ptr<QTextDocument> buildBodyDocument(const PreparedBody& body, const QFont& font,
                                                 const std::atomic<bool>* cancelled = nullptr,
                                                 qsizetype pieceCharacters = 256 * 1024);

// The places where the converter's page may be cut: before each paragraph
// that is a direct child of <body>, at least `piece` characters apart. Empty
// for a page that is not the converter's.
QList<qsizetype> converterPageCuts(const QString& html, qsizetype piece);
