#include "message/html_charset.h"

#include <QRegularExpression>

namespace {

const QLatin1String kUtf8Meta("<meta charset=\"utf-8\">");

// What must follow the opening literal for a tag to be a candidate: the
// patterns' "\s" (meta) and "\b" (head, html), in their ASCII sense.
enum class After { Space, WordBoundary };

bool holds(After rule, QChar next)
{
    const ushort c = next.unicode();
    if (rule == After::Space)
        return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    const bool word = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    return !word;
}

// Where `tag` first matches: a pattern that begins with the literal
// `opening` and cannot run past the first '>' after it. Each attempt is
// confined to one such tag (matching on a copy of it keeps every attempt's
// cost to the tag's length), so a hostile body (thousands of
// "<meta charset=" and no closing '>') is searched in linear time instead of
// backtracking for hours.
struct TagMatch
{
    qsizetype start = -1;
    qsizetype length = 0;
    bool found() const { return start >= 0; }
};

TagMatch firstTag(const QString& html, QLatin1String opening, After rule, const QRegularExpression& tag,
                  QLatin1String required = QLatin1String())
{
    qsizetype from = 0;
    for (;;) {
        const qsizetype start = html.indexOf(opening, from, Qt::CaseInsensitive);
        if (start < 0)
            return {};
        const qsizetype after = start + opening.size();
        if (after >= html.size())
            return {};
        if (!holds(rule, html.at(after))) {
            from = start + 1;
            continue;
        }
        const qsizetype end = html.indexOf(QLatin1Char('>'), after);
        if (end < 0)
            return {}; // no later tag can be closed either
        const QString candidate = html.mid(start, end - start + 1);
        if (required.isEmpty() || candidate.contains(required, Qt::CaseInsensitive)) {
            const QRegularExpressionMatch match =
                tag.match(candidate, 0, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
            if (match.hasMatch())
                return {start + match.capturedStart(), match.capturedLength()};
        }
        // A later opening before this '>' could only match what this
        // attempt, which already reached past it, failed to match.
        from = end + 1;
    }
}

} // namespace

QByteArray normaliseHtmlCharset(const QString& html)
{
    static const QRegularExpression charsetMeta(
        QStringLiteral("<meta\\s+[^>]*charset\\s*=\\s*['\"]?[^\\s'\">;]+[^>]*>"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression headTag(QStringLiteral("<head\\b[^>]*>"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression htmlTag(QStringLiteral("<html\\b[^>]*>"), QRegularExpression::CaseInsensitiveOption);

    QString out = html;
    TagMatch match = firstTag(out, QLatin1String("<meta"), After::Space, charsetMeta, QLatin1String("charset"));
    if (match.found()) {
        out.replace(match.start, match.length, kUtf8Meta);
        return out.toUtf8();
    }
    match = firstTag(out, QLatin1String("<head"), After::WordBoundary, headTag);
    if (match.found()) {
        out.insert(match.start + match.length, kUtf8Meta);
        return out.toUtf8();
    }
    match = firstTag(out, QLatin1String("<html"), After::WordBoundary, htmlTag);
    if (match.found()) {
        out.insert(match.start + match.length, QLatin1String("<head>") + kUtf8Meta + QLatin1String("</head>"));
        return out.toUtf8();
    }
    return (QLatin1String("<html><head>") + kUtf8Meta + QLatin1String("</head><body>") + out
            + QLatin1String("</body></html>"))
        .toUtf8();
}
