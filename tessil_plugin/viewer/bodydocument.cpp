#include "bodydocument.h"

#include "viewstylesheets.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

namespace {

const QLatin1String kConverterHead("<?xml version=\"1.0\"?>\n<html>\n<body>\n");
const QLatin1String kConverterTail("</body>\n</html>\n");

bool isCancelled(const std::atomic<bool>* cancelled)
{
    return cancelled && cancelled->load(std::memory_order_relaxed);
}

std::unique_ptr<QTextDocument> newDocument(const QFont& font)
{
    auto document = std::make_unique<QTextDocument>();
    document->setUndoRedoEnabled(false);
    document->setDocumentMargin(0);
    document->setDefaultFont(font);
    document->setDefaultStyleSheet(bodyDefaultStyleSheet());
    return document;
}

} // namespace

QList<qsizetype> converterPageCuts(const QString& html, qsizetype piece)
{
    QList<qsizetype> cuts;
    if (!html.startsWith(kConverterHead) || !html.endsWith(kConverterTail))
        return cuts;
    // The converter writes well-formed markup with every element closed and
    // attribute values in double quotes; <html> and <body> open at depth 2.
    // A cut goes between two paragraphs that both show text: Qt's importer
    // then gives the second one a block of its own whether it imports the
    // page whole or in pieces. (After an empty paragraph, a table or a list
    // it may reuse the block it is in, and an empty paragraph may take the
    // block of what follows.)
    const qsizetype end = html.size() - kConverterTail.size();
    qsizetype depth = 2;
    qsizetype last = kConverterHead.size();
    bool previousHasText = false;  // the last top-level element was a paragraph with text
    qsizetype paragraph = -1;      // where the open top-level paragraph starts
    bool paragraphHasText = false;
    qsizetype candidate = -1;      // a cut before the open paragraph, if it shows text
    qsizetype at = last;
    while (at < end) {
        qsizetype open = html.indexOf(u'<', at);
        if (open < 0 || open > end)
            open = end;
        for (qsizetype i = at; paragraph >= 0 && !paragraphHasText && i < open; ++i)
            paragraphHasText = !html.at(i).isSpace();
        if (open == end)
            break;
        at = open;
        const QChar next = at + 1 < end ? html.at(at + 1) : QChar();
        if (next == u'/') {
            if (--depth == 2) {
                previousHasText = paragraph >= 0 && paragraphHasText;
                if (candidate >= 0 && previousHasText) {
                    cuts.append(candidate);
                    last = candidate;
                }
                paragraph = candidate = -1;
            }
        } else if (next != u'?' && next != u'!') {
            if (depth == 2) {
                const bool isParagraph = next == u'p' && at + 2 < end && (html.at(at + 2) == u'>' || html.at(at + 2) == u' ');
                paragraph = isParagraph ? at : -1;
                paragraphHasText = false;
                candidate = isParagraph && previousHasText && at - last >= piece ? at : -1;
                previousHasText = false;
            }
            ++depth;
        }
        bool quoted = false;
        for (++at; at < end && (quoted || html.at(at) != u'>'); ++at) {
            if (html.at(at) == u'"')
                quoted = !quoted;
        }
        if (at < end && html.at(at - 1) == u'/' && next != u'/' && --depth == 2)
            paragraph = candidate = -1; // an element that closes itself
        ++at;
    }
    return cuts;
}

std::unique_ptr<QTextDocument> buildBodyDocument(const PreparedBody& body, const QFont& font,
                                                 const std::atomic<bool>* cancelled, qsizetype pieceCharacters)
{
    if (body.html.isEmpty() || isCancelled(cancelled))
        return nullptr;
    std::unique_ptr<QTextDocument> document = newDocument(font);
    const QList<qsizetype> cuts =
        body.source == DisplayBody::Rtf && body.rtfForm == RtfForm::Converted ? converterPageCuts(body.html, pieceCharacters)
                                                                               : QList<qsizetype>();
    if (cuts.isEmpty()) {
        document->setHtml(body.html);
        return isCancelled(cancelled) ? nullptr : std::move(document);
    }

    // Each piece is a page of its own, imported as a document of its own and
    // then appended: its first paragraph becomes a new block with the
    // formats it has there, and the rest follows as Qt copies documents.
    const QStringView html(body.html);
    const qsizetype bodyEnd = html.size() - kConverterTail.size();
    qsizetype from = 0;
    for (qsizetype i = 0; i <= cuts.size(); ++i) {
        const bool lastPiece = i == cuts.size();
        qsizetype to = lastPiece ? bodyEnd : cuts.at(i);
        // White space after the last paragraph of a piece would be kept as a
        // space at its end, where the whole page has the next paragraph: not
        // the line break before the cut, and no line breaks in the end tags.
        if (!lastPiece && html.at(to - 1) == u'\n')
            --to;
        QString page;
        page.reserve(kConverterHead.size() + (to - from) + kConverterTail.size());
        if (i > 0)
            page += kConverterHead;
        page += html.mid(from, to - from);
        page += lastPiece ? QLatin1String(kConverterTail) : QLatin1String("</body></html>");
        if (i == 0) {
            document->setHtml(page);
        } else {
            const std::unique_ptr<QTextDocument> part = newDocument(font);
            part->setHtml(page);
            const QTextBlock first = part->firstBlock();
            QTextCursor cursor(document.get());
            cursor.movePosition(QTextCursor::End);
            cursor.insertBlock(first.blockFormat(), first.charFormat());
            cursor.insertFragment(QTextDocumentFragment(part.get()));
        }
        from = i < cuts.size() ? cuts.at(i) : to;
        if (isCancelled(cancelled))
            return nullptr;
    }
    return document;
}
