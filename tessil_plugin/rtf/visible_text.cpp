#include "rtf/visible_text.h"

#include <QRegularExpression>
#include <QTextDocumentFragment>

namespace rtf {

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
    return QTextDocumentFragment::fromHtml(stripped).toPlainText();
}

bool hasVisibleText(const QString& html)
{
    static const QRegularExpression whiteSpace(QStringLiteral("\\s"));
    QString text = htmlToPlainText(html);
    text.remove(whiteSpace);
    return !text.trimmed().isEmpty();
}

} // namespace rtf
