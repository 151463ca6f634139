#include "message/body_preparation.h"

#include "common/html_visible_text.h"
#include "message/html_charset.h"
#include "message/tessil_message.h"
#include "rtf/encapsulated_body.h"
#include "rtf/rtf_to_html.h"

#include <QRegularExpression>

namespace {

// Inlining may grow the body by this much beyond the first copy of each
// referenced attachment: a body that names one large image ten thousand
// times must not ask for gigabytes. Nor may a small message ask for the
// whole of it: the growth also stays within a multiple of the message's own
// bytes (body and attachments), which still leaves room for a logo repeated
// a dozen times.
const qsizetype kExtraInlineBytes = 64 * 1024 * 1024;
const qsizetype kExtraInlineFactor = 16;

// Replaces the first occurrences of `search` in `html` by `replacement`,
// as many as keep the result within `limit` bytes.
QByteArray replaceWithin(const QByteArray& html, const QByteArray& search, const QByteArray& replacement, qsizetype limit)
{
    const qsizetype growth = replacement.size() - search.size();
    const qsizetype count = html.count(search);
    if (growth <= 0 || html.size() + count * growth <= limit) {
        QByteArray all = html;
        return all.replace(search, replacement);
    }
    QByteArray out;
    qsizetype size = html.size();
    qsizetype from = 0;
    for (qsizetype at = html.indexOf(search); at >= 0 && size + growth <= limit; at = html.indexOf(search, from)) {
        out.append(html.constData() + from, at - from);
        out.append(replacement);
        size += growth;
        from = at + search.size();
    }
    out.append(html.constData() + from, html.size() - from);
    return out;
}

} // namespace

QByteArray inlineCidImages(const TessilMessage& message)
{
    return inlineCidImages(message, message.htmlBody);
}

QByteArray inlineCidImages(const TessilMessage& message, const QByteArray& page)
{
    QByteArray html = page;
    qsizetype messageBytes = html.size();
    for (const QSharedPointer<TessilAttachment>& attachment : message.attachments) {
        if (attachment)
            messageBytes += attachment->data.size();
    }
    qsizetype limit = html.size() + qMin(kExtraInlineBytes, kExtraInlineFactor * messageBytes);
    for (const QSharedPointer<TessilAttachment>& attachment : message.attachments) {
        if (!attachment || attachment->contentId.isEmpty())
            continue;
        const QByteArray search = "cid:" + attachment->contentId.toUtf8();
        if (!html.contains(search))
            continue; // content() may be costly (embedded objects); it changes nothing here
        const QByteArray mimeType = attachment->mimeType.isEmpty() ? QByteArray("image/png") : attachment->mimeType.toUtf8();
        const QByteArray replacement = "data:" + mimeType + ";base64," + attachment->content().toBase64();
        limit += qMax<qsizetype>(0, replacement.size() - search.size());
        html = replaceWithin(html, search, replacement, limit);
    }
    return html;
}

bool hasVisibleText(const QString& text)
{
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        char32_t codePoint = text.at(i).unicode();
        if (QChar::isHighSurrogate(codePoint) && i + 1 < size && text.at(i + 1).isLowSurrogate()) {
            codePoint = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            ++i;
        }
        if (htmltext::isPrintingCharacter(codePoint))
            return true;
    }
    return false;
}

bool looksEmpty(const QString& html)
{
    return !htmltext::showsText(html, htmltext::Counting::Printing);
}

PreparedBody prepareBody(const TessilMessage& message, const std::atomic<bool>* cancelled)
{
    const auto stop = [cancelled] { return cancelled && cancelled->load(std::memory_order_relaxed); };
    if (!message.htmlBody.isEmpty()) {
        const QString html = QString::fromUtf8(inlineCidImages(message));
        if (!looksEmpty(html))
            return {DisplayBody::Html, html};
    }

    if (!message.rtfBody.isEmpty() && !stop()) {
        // What the sender wrote, when the RTF carries it and it shows
        // anything; it is a page of its own, treated as an HTML body is.
        const rtf::EncapsulatedBody recovered = rtf::recoverEncapsulatedBody(message.rtfBody);
        if (stop())
            return {};
        if (recovered.kind == rtf::EncapsulatedKind::Html) {
            const QString html = QString::fromUtf8(inlineCidImages(message, normaliseHtmlCharset(recovered.text)));
            if (!looksEmpty(html))
                return {DisplayBody::Rtf, html, RtfForm::Html};
        } else if (recovered.kind == rtf::EncapsulatedKind::PlainText) {
            const QString text = recovered.text.trimmed();
            if (hasVisibleText(text))
                return {DisplayBody::Rtf, rtf::plainTextPage(text), RtfForm::Text};
        }
        if (stop())
            return {};

        bool showsLetters = false;
        QString html = rtf::rtfToHtml(message.rtfBody, &showsLetters, cancelled);
        if (stop())
            return {};
        // A letter or a digit always shows; anything else is looked at.
        if (showsLetters || !looksEmpty(html)) {
            // Only the font shorthand; the converter's font-size declarations keep their values.
            // (The converter writes no shorthand: a body seldom holds one, and a plain search
            // is many times faster than the expression over a large page.)
            static const QRegularExpression fontShorthand(QStringLiteral("font:\\s*[\\d.]+px\\s+"));
            if (html.contains(QLatin1String("font:")))
                html.replace(fontShorthand, QStringLiteral("font: 14px "));
            return {DisplayBody::Rtf, html, RtfForm::Converted};
        }
    }

    if (!message.plainBody.isEmpty() && !stop()) {
        const QString text = message.plainBody.trimmed();
        if (hasVisibleText(text))
            return {DisplayBody::Plain, rtf::plainTextPage(text)};
    }
    return {};
}

QString prepareBodyHtml(const TessilMessage& message)
{
    return prepareBody(message).html;
}
