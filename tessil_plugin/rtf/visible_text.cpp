#include "rtf/visible_text.h"

#include <QRegularExpression>
#include <QTextDocumentFragment>

namespace rtf {
namespace {

// The text without its <img> tags. An image renders as U+FFFC, which no
// visibility test counts, so dropping the tags changes no answer; but Qt's
// importer spends time on each image in proportion to the document so far,
// so a body of thousands of images took minutes to judge. One pass; a quoted
// attribute value may hold '>'.
QString withoutImages(const QString& html)
{
    static const QLatin1String tag("<img");
    qsizetype from = html.indexOf(tag, 0, Qt::CaseInsensitive);
    if (from < 0)
        return html;
    QString out;
    out.reserve(html.size());
    qsizetype copied = 0;
    const qsizetype size = html.size();
    while (from >= 0) {
        qsizetype at = from + tag.size();
        QChar quote;
        for (; at < size; ++at) {
            const QChar c = html.at(at);
            if (!quote.isNull()) {
                if (c == quote)
                    quote = QChar();
            } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
                quote = c;
            } else if (c == QLatin1Char('>')) {
                break;
            }
        }
        if (at >= size)
            break; // an unfinished tag: left as it is, and so is everything after it
        out += QStringView(html).mid(copied, from - copied);
        copied = at + 1;
        from = html.indexOf(tag, copied, Qt::CaseInsensitive);
    }
    out += QStringView(html).mid(copied);
    return out;
}

} // namespace

QString htmlToPlainText(const QString& html)
{
    static const QRegularExpression styleElement(
        QStringLiteral("<style[^>]*>.*?</style>"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression scriptElement(
        QStringLiteral("<script[^>]*>.*?</script>"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);

    QString stripped = html;
    stripped.remove(styleElement);
    stripped.remove(scriptElement);
    return QTextDocumentFragment::fromHtml(withoutImages(stripped)).toPlainText();
}

bool hasVisibleText(const QString& html)
{
    static const QRegularExpression whiteSpace(QStringLiteral("\\s"));
    QString text = htmlToPlainText(html);
    text.remove(whiteSpace);
    return !text.trimmed().isEmpty();
}

} // namespace rtf
