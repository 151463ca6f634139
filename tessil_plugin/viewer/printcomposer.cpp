#include "printcomposer.h"

#include "bodydocument.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFormat>
#include <QUrl>

namespace {

bool isCancelled(const std::atomic<bool>* cancelled)
{
    return cancelled && cancelled->load(std::memory_order_relaxed);
}

QString escaped(const QString& text)
{
    return text.toHtmlEscaped();
}

QString headerHtml(const PrintedHeader& header)
{
    QString html = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"1\" style=\"font-size:12px; color:black\">");
    for (const auto& [title, value] : header.fields) {
        html += QStringLiteral("<tr><td style=\"font-size:13px; font-weight:bold; padding-right:8px\">%1</td>"
                               "<td>%2</td></tr>")
                    .arg(escaped(title), escaped(value));
    }
    html += QStringLiteral("</table>");
    html += QStringLiteral("<p style=\"font-size:13px; font-weight:bold; color:black; margin-top:8px\">%1</p>")
                .arg(escaped(header.subject));
    if (!header.information.isEmpty())
        html += QStringLiteral("<p style=\"font-size:12px; color:black\">%1</p>").arg(escaped(header.information));
    if (!header.meeting.isEmpty())
        html += QStringLiteral("<p style=\"font-size:12px; color:black\">%1</p>").arg(escaped(header.meeting));
    return html + QStringLiteral("<hr/>");
}

QString attachmentsHtml(const PrintedHeader& header)
{
    QString html = QStringLiteral("<hr/><p style=\"font-size:13px; font-weight:bold; color:black\">%1</p>")
                       .arg(escaped(header.attachmentsTitle));
    for (const QString& name : header.attachmentNames)
        html += QStringLiteral("<p style=\"font-size:12px; color:black; margin:0\">%1</p>").arg(escaped(name));
    return html;
}

// Pictures are resources of the document they were imported into; the
// printed copy needs them too.
void copyImageResources(const QTextDocument& from, QTextDocument& to)
{
    for (QTextBlock block = from.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat())
                continue;
            const QUrl name(format.toImageFormat().name());
            const QVariant image = from.resource(QTextDocument::ImageResource, name);
            if (image.isValid() && !to.resource(QTextDocument::ImageResource, name).isValid())
                to.addResource(QTextDocument::ImageResource, name, image);
        }
    }
}

} // namespace

std::unique_ptr<QTextDocument> composePrintDocument(const PrintedHeader& header, const PreparedBody& body,
                                                    const QFont& font, QPaintDevice* device,
                                                    const std::atomic<bool>* cancelled)
{
    auto document = std::make_unique<QTextDocument>();
    document->setUndoRedoEnabled(false);
    document->setDocumentMargin(0);
    document->setDefaultFont(font);
    if (device)
        document->documentLayout()->setPaintDevice(device);

    QTextCursor cursor(document.get());
    // Each part in its own blocks, with formats of its own: the body's first
    // and last paragraphs would otherwise lend theirs to the header or the
    // names.
    cursor.insertHtml(headerHtml(header));
    if (!body.html.isEmpty()) {
        const std::unique_ptr<QTextDocument> bodyDocument = buildBodyDocument(body, font, cancelled);
        if (isCancelled(cancelled))
            return nullptr;
        if (bodyDocument) {
            cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
            cursor.insertFragment(QTextDocumentFragment(bodyDocument.get()));
            copyImageResources(*bodyDocument, *document);
        }
    }
    if (isCancelled(cancelled))
        return nullptr;
    if (!header.attachmentNames.isEmpty()) {
        cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
        cursor.insertHtml(attachmentsHtml(header));
    }
    return document;
}
