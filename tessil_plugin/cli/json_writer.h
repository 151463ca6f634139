#pragma once

// A small JSON writer that keeps keys in the order they are written (Qt's
// QJsonObject sorts them). Output is UTF-8, indented by two spaces. The
// caller pairs begin/end calls and writes a key before each value inside an
// object; the writer only places commas, indentation and escapes.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

class JsonWriter
{
public:
    void beginObject();
    void endObject();
    void beginArray();
    void endArray();

    void key(const char* name);

    void string(const QString& text);
    void number(qint64 value);
    void boolean(bool value);
    void null();

    // A string, or null for a null QString.
    void stringOrNull(const QString& text);
    // A number with a fraction: the shortest text that reads back as the
    // same double; null for what JSON cannot write (infinities, NaN).
    void real(double value);
    // A number already written as JSON writes numbers ("-12.3400").
    void numberLiteral(const QByteArray& literal);
    // A string of printable ASCII that needs no escape (hex digits, say),
    // written as it is: a long one costs no conversion.
    void asciiString(const QByteArray& text);

    // The document written so far, with a final line break once it is complete.
    QByteArray bytes() const;
    // As bytes(), and forgets them: a long document can be written out piece by piece.
    QByteArray takeBytes();

    // `text` as a JSON string literal, quotes included.
    static QByteArray quote(const QString& text);

private:
    void beforeValue();
    void open(char bracket);
    void close(char bracket);
    void newLine();

    struct Level
    {
        bool object = false;
        int count = 0;
    };
    QByteArray out_;
    QList<Level> levels_;
    bool afterKey_ = false;
};
