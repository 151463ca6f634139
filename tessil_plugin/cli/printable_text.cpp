#include "cli/printable_text.h"

QString printable(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += c;
            out += text.at(++i);
            continue;
        }
        const char16_t unit = c.unicode();
        const bool hidden = c.category() == QChar::Other_Control || c.isSurrogate()
            || (unit >= 0x202A && unit <= 0x202E) || (unit >= 0x2066 && unit <= 0x2069);
        out += hidden ? QChar(u'?') : c;
    }
    return out;
}
