#include "message/body_text.h"

#include "common/codepage.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <string>

namespace {

constexpr qsizetype kCharsetSearchBytes = 2048;
constexpr qsizetype kUtf16ProbeBytes = 512;
constexpr int kEnoughHanCharacters = 2;
const quint32 kEastAsianCandidates[] = {936, 950, 932, 949};

// The caller has already taken off any byte-order mark; a second U+FEFF right
// after it is a character of the text, which the default flags would drop. A
// final odd byte is a damaged character and shows as U+FFFD rather than
// vanishing (Qt keeps it back as the start of a unit still to come).
QString decodeAll(QStringDecoder::Encoding encoding, const QByteArray& bytes)
{
    QStringDecoder decoder(encoding, QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder.decode(QByteArrayView(bytes).first(bytes.size() & ~qsizetype(1)));
    if (bytes.size() % 2 == 1)
        text += QChar(QChar::ReplacementCharacter);
    return text;
}

// The bytes as 16-bit units: a lone zero byte that makes the length odd and
// a final zero unit are both terminators, not text. Trimming the unit here
// rather than a single byte keeps the last character of UTF-16 text whole.
QByteArray asUtf16Units(const QByteArray& raw)
{
    QByteArray units = raw;
    if (units.size() % 2 == 1 && units.endsWith('\0'))
        units.chop(1);
    if (units.size() >= 2 && units.size() % 2 == 0 && units.at(units.size() - 1) == '\0'
        && units.at(units.size() - 2) == '\0')
        units.chop(2);
    return units;
}

int hanCount(const QString& text)
{
    int count = 0;
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if ((u >= 0x3400 && u <= 0x4DBF) || (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xF900 && u <= 0xFAFF)) {
            if (++count >= kEnoughHanCharacters)
                break;
        }
    }
    return count;
}

} // namespace

quint32 codePageForCharset(const QString& name)
{
    const QString key = name.trimmed().toLower();
    static const struct {
        const char* name;
        quint32 codePage;
    } kTable[] = {
        {"gb2312", 936},       {"gbk", 936},          {"gb18030", 936},     {"cp936", 936},
        {"windows-936", 936},  {"big5", 950},         {"big5-hkscs", 950},  {"cp950", 950},
        {"windows-950", 950},  {"shift_jis", 932},    {"shift-jis", 932},   {"sjis", 932},
        {"cp932", 932},        {"windows-932", 932},  {"euc-kr", 949},      {"cp949", 949},
        {"windows-949", 949},  {"iso-8859-1", 1252},  {"windows-1252", 1252}, {"cp1252", 1252},
    };
    for (const auto& entry : kTable) {
        if (key == QLatin1String(entry.name))
            return entry.codePage;
    }
    return 0;
}

quint32 detectDeclaredCodePage(const QByteArray& bytes)
{
    static const QRegularExpression charset(QStringLiteral("charset\\s*=\\s*['\"]?([^\\s'\">;]+)"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QString head = QString::fromLatin1(bytes.left(kCharsetSearchBytes));
    const QRegularExpressionMatch match = charset.match(head);
    if (!match.hasMatch())
        return 0;
    return codePageForCharset(match.captured(1));
}

QString decodeWithCodePage(const QByteArray& bytes, quint32 codePage)
{
    if (bytes.isEmpty() || codePage == 0)
        return {};
    std::u16string out;
    if (!codepage::decodeStrict(codePage, bytes.constData(), static_cast<std::size_t>(bytes.size()), out))
        return {};
    return QString::fromStdU16String(out);
}

QString decodeBodyText(const char* bytes, qsizetype length, quint32 codePage)
{
    if (!bytes || length <= 0)
        return {};

    const QByteArray raw(bytes, length);
    QByteArray data = raw;
    if (data.endsWith('\0'))
        data.chop(1);

    if (codePage == 0)
        codePage = detectDeclaredCodePage(data);

    const QByteArray units = asUtf16Units(raw);
    if (units.startsWith("\xFF\xFE"))
        return decodeAll(QStringDecoder::Utf16LE, units.mid(2));
    if (units.startsWith("\xFE\xFF"))
        return decodeAll(QStringDecoder::Utf16BE, units.mid(2));

    const qsizetype probe = qMin(units.size(), kUtf16ProbeBytes);
    qsizetype evenZeros = 0;
    qsizetype oddZeros = 0;
    for (qsizetype i = 0; i < probe; ++i) {
        if (units.at(i) == '\0')
            ++((i % 2 == 0) ? evenZeros : oddZeros);
    }
    const qsizetype quarter = probe / 4;
    if (oddZeros > quarter && evenZeros == 0)
        return decodeAll(QStringDecoder::Utf16LE, units);
    if (evenZeros > quarter && oddZeros == 0)
        return decodeAll(QStringDecoder::Utf16BE, units);

    // Stateless: a lead byte at the very end (the last letter of a Windows-1252
    // body such as "caf\xE9") is an error, not the start of a character that
    // a later call would complete; otherwise it would vanish without a trace.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(data);
    if (!utf8.hasError())
        return text;

    if (codePage != 0) {
        const QString declared = decodeWithCodePage(data, codePage);
        if (!declared.isEmpty())
            return declared;
    }

    for (quint32 candidate : kEastAsianCandidates) {
        const QString guess = decodeWithCodePage(data, candidate);
        if (!guess.isEmpty() && hanCount(guess) >= kEnoughHanCharacters)
            return guess;
    }

    const QString western = decodeWithCodePage(data, 1252);
    if (!western.isEmpty())
        return western;
    return QString::fromLatin1(data);
}
