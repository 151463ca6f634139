#include "cli/json_writer.h"

#include <QLocale>

#include <cmath>

namespace {

void appendEscapedUnit(QByteArray& out, char16_t unit)
{
    static const char hex[] = "0123456789abcdef";
    out += "\\u";
    out += hex[(unit >> 12) & 0xF];
    out += hex[(unit >> 8) & 0xF];
    out += hex[(unit >> 4) & 0xF];
    out += hex[unit & 0xF];
}

} // namespace

QByteArray JsonWriter::quote(const QString& text)
{
    QByteArray out;
    out.reserve(text.size() + 2);
    out += '"';
    QString run; // characters that need no escape, converted to UTF-8 together
    auto flush = [&]() {
        out += run.toUtf8();
        run.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const char16_t unit = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            run += c;
            run += text.at(++i);
            continue;
        }
        const char* shortEscape = nullptr;
        switch (unit) {
        case u'"': shortEscape = "\\\""; break;
        case u'\\': shortEscape = "\\\\"; break;
        case u'\b': shortEscape = "\\b"; break;
        case u'\f': shortEscape = "\\f"; break;
        case u'\n': shortEscape = "\\n"; break;
        case u'\r': shortEscape = "\\r"; break;
        case u'\t': shortEscape = "\\t"; break;
        default: break;
        }
        if (shortEscape) {
            flush();
            out += shortEscape;
        } else if (unit < 0x20 || unit == 0x7F || unit == 0x2028 || unit == 0x2029) {
            // Control characters must be escaped; the two line separators
            // would end a line in JavaScript.
            flush();
            appendEscapedUnit(out, unit);
        } else if (c.isSurrogate()) {
            // Unpaired: no UTF-8 form exists, and strict readers reject "\ud800".
            run += QChar(QChar::ReplacementCharacter);
        } else {
            run += c;
        }
    }
    flush();
    out += '"';
    return out;
}

void JsonWriter::newLine()
{
    out_ += '\n';
    out_ += QByteArray(levels_.size() * 2, ' ');
}

void JsonWriter::beforeValue()
{
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!levels_.isEmpty()) {
        if (levels_.last().count++ > 0)
            out_ += ',';
        newLine();
    }
}

void JsonWriter::open(char bracket)
{
    beforeValue();
    out_ += bracket;
    levels_.append(Level{bracket == '{', 0});
}

void JsonWriter::close(char bracket)
{
    const bool empty = levels_.isEmpty() || levels_.last().count == 0;
    if (!levels_.isEmpty())
        levels_.removeLast();
    if (!empty)
        newLine();
    out_ += bracket;
}

void JsonWriter::beginObject()
{
    open('{');
}

void JsonWriter::endObject()
{
    close('}');
}

void JsonWriter::beginArray()
{
    open('[');
}

void JsonWriter::endArray()
{
    close(']');
}

void JsonWriter::key(const char* name)
{
    beforeValue();
    out_ += quote(QString::fromUtf8(name));
    out_ += ": ";
    afterKey_ = true;
}

void JsonWriter::string(const QString& text)
{
    beforeValue();
    out_ += quote(text);
}

void JsonWriter::number(qint64 value)
{
    beforeValue();
    out_ += QByteArray::number(value);
}

void JsonWriter::boolean(bool value)
{
    beforeValue();
    out_ += value ? "true" : "false";
}

void JsonWriter::null()
{
    beforeValue();
    out_ += "null";
}

void JsonWriter::stringOrNull(const QString& text)
{
    if (text.isNull())
        null();
    else
        string(text);
}

void JsonWriter::real(double value)
{
    if (!std::isfinite(value)) {
        null();
        return;
    }
    beforeValue();
    // 'g' writes JSON's forms: "3", "0.5", "1e+20", "-2.5e-07".
    out_ += QByteArray::number(value, 'g', QLocale::FloatingPointShortest);
}

void JsonWriter::numberLiteral(const QByteArray& literal)
{
    beforeValue();
    out_ += literal;
}

void JsonWriter::asciiString(const QByteArray& text)
{
    beforeValue();
    out_.reserve(out_.size() + text.size() + 2);
    out_ += '"';
    out_ += text;
    out_ += '"';
}

QByteArray JsonWriter::bytes() const
{
    return levels_.isEmpty() && !out_.isEmpty() ? out_ + '\n' : out_;
}

QByteArray JsonWriter::takeBytes()
{
    const QByteArray taken = bytes();
    out_.clear();
    return taken;
}
