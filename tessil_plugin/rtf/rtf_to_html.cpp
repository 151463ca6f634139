#include "rtf/rtf_to_html.h"

#include "rtf/plain_text_extractor.h"
#include "rtf/rtf_html_converter.h"
#include "rtf/visible_text.h"

#include <QDebug>

#include <exception>
#include <string_view>

namespace rtf {

QString plainTextPage(const QString& text)
{
    // Line breaks as LF only: under the view's "white-space: pre-wrap" Qt
    // breaks the line at a CR and again at the LF after it, which showed
    // every CR LF text (most plain bodies) with blank lines between its lines.
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return QStringLiteral("<html><body><pre style='font-family:sans-serif;'>%1</pre></body></html>")
        .arg(lines.toHtmlEscaped(), 0, QLatin1Char(' '));
}

QString rtfToHtml(const QByteArray& rtf, bool* showsLetters, const std::atomic<bool>* cancelled)
{
    if (showsLetters)
        *showsLetters = false;
    bool failed = false;
    try {
        TextPresence presence = TextPresence::Unknown;
        const QString result = convertToQString(
            std::string_view(rtf.constData(), static_cast<std::size_t>(rtf.size())), &presence, cancelled);
        // The tree answers the common cases; only the rest needs a look at the page.
        if (presence == TextPresence::Certain || (presence == TextPresence::Unknown && hasVisibleText(result))) {
            if (showsLetters)
                *showsLetters = presence == TextPresence::Certain;
            return result;
        }
    } catch (const RtfHtmlConverter::Cancelled&) {
        return QString();
    } catch (...) {
        // Malformed numbers, exhausted memory or anything else: the
        // plain-text reader still has a chance.
        failed = true;
    }
    if (cancelled && cancelled->load(std::memory_order_relaxed))
        return QString();
    if (failed)
        qWarning() << "[Tessil] rtfToHtml failed, falling back to plain text. Bytes:" << rtf.size();

    const QString text = extractPlainText(rtf);
    if (!text.isEmpty())
        return plainTextPage(text);
    return plainTextPage(QString::fromUtf8(rtf));
}

} // namespace rtf
