#include "message/body_text.h"
#include "message/html_charset.h"
#include "support/test_main.h"

#include <QGuiApplication>

namespace {

QString decode(const QByteArray& bytes, quint32 codePage = 0)
{
    return decodeBodyText(bytes.constData(), bytes.size(), codePage);
}

QByteArray utf16le(const QString& text)
{
    QByteArray out;
    for (const QChar c : text) {
        out.append(char(c.unicode() & 0xFF));
        out.append(char(c.unicode() >> 8));
    }
    return out;
}

QByteArray utf16be(const QString& text)
{
    QByteArray out;
    for (const QChar c : text) {
        out.append(char(c.unicode() >> 8));
        out.append(char(c.unicode() & 0xFF));
    }
    return out;
}

} // namespace

class TestBodyDecoding : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decodeBodyTextChain_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<uint>("codePage");
        QTest::addColumn<QString>("text");

        // Terminators.
        QTest::newRow("one trailing zero dropped") << QByteArray("Hello", 6) << 0u << QStringLiteral("Hello");
        QTest::newRow("second trailing zero kept")
            << QByteArray("Hello\0\0", 7) << 0u << QString::fromUtf8("Hello\0", 6);
        QTest::newRow("short text with a terminator") << QByteArray("AB\0", 3) << 0u << QStringLiteral("AB");

        // UTF-8 wins over any code page when it is valid.
        QTest::newRow("ASCII despite code page 936") << QByteArray("plain text") << 936u << QStringLiteral("plain text");
        QTest::newRow("UTF-8 without mark") << QByteArray("caf\xC3\xA9 \xE4\xBD\xA0") << 1252u
                                           << QStringLiteral("café 你");
        QTest::newRow("UTF-8 mark consumed") << QByteArray("\xEF\xBB\xBFna\xC3\xAFve") << 0u << QStringLiteral("naïve");

        // Byte-order marks.
        QTest::newRow("UTF-16LE with mark") << QByteArray("\xFF\xFE") + utf16le(QStringLiteral("Hi 中文")) << 0u
                                            << QStringLiteral("Hi 中文");
        QTest::newRow("UTF-16BE with mark") << QByteArray("\xFE\xFF") + utf16be(QStringLiteral("Hi 中文")) << 0u
                                            << QStringLiteral("Hi 中文");
        QTest::newRow("UTF-16LE with mark and a stray zero byte")
            << QByteArray("\xFF\xFE") + utf16le(QStringLiteral("Hi")) + QByteArray(1, '\0') << 0u << QStringLiteral("Hi");

        // UTF-16 without a mark: the last character must stay whole.
        QTest::newRow("UTF-16LE Hi") << QByteArray("H\0i\0", 4) << 0u << QStringLiteral("Hi");
        QTest::newRow("UTF-16LE with a zero unit") << QByteArray("H\0i\0\0\0", 6) << 0u << QStringLiteral("Hi");
        QTest::newRow("UTF-16LE sentence") << utf16le(QStringLiteral("Meeting at 10:00, room 4")) << 936u
                                           << QStringLiteral("Meeting at 10:00, room 4");
        QTest::newRow("UTF-16BE Hi") << QByteArray("\0H\0i", 4) << 0u << QStringLiteral("Hi");
        QTest::newRow("UTF-16BE with a zero unit") << QByteArray("\0H\0i\0\0", 6) << 0u << QStringLiteral("Hi");

        // Legacy code pages.
        QTest::newRow("GBK guessed") << QByteArray("\xC4\xE3\xBA\xC3\xCA\xC0\xBD\xE7") << 0u << QStringLiteral("你好世界");
        QTest::newRow("Big5 guessed after GBK gives no Han") << QByteArray("\xA4\xA4\xA4\xE5") << 0u
                                                             << QStringLiteral("中文");
        QTest::newRow("Shift-JIS guessed after GBK and Big5 fail")
            << QByteArray("\x93\xFA\x96\x7B\xB1\x31") << 0u << QStringLiteral("日本ｱ1");
        QTest::newRow("Korean by the message's code page") << QByteArray("\xC7\xD1\xB1\xB9\xBE\xEE") << 949u
                                                           << QStringLiteral("한국어");
        // Without a code page the same bytes read as GBK: the guess order decides.
        QTest::newRow("Korean without code page reads as GBK") << QByteArray("\xC7\xD1\xB1\xB9\xBE\xEE") << 0u
                                                               << QStringLiteral("茄惫绢");
        QTest::newRow("Shift-JIS by the message's code page")
            << QByteArray("\x83\x65\x83\x58\x83\x67\x93\xFA\x96\x7B\x8C\xEA") << 932u << QStringLiteral("テスト日本語");
        QTest::newRow("Windows-1252") << QByteArray("caf\xE9 r\xE9sum\xE9 \x80") << 0u << QStringLiteral("café résumé €");
        QTest::newRow("1252 despite a wrong code page") << QByteArray("na\xEFve caf\xE9") << 936u
                                                         << QStringLiteral("naïve café");
        QTest::newRow("declared charset in the text")
            << QByteArray("<meta charset=\"euc-kr\">\xC7\xD1\xB1\xB9\xBE\xEE") << 0u
            << QStringLiteral("<meta charset=\"euc-kr\">한국어");
        QTest::newRow("message code page beats the declared one")
            << QByteArray("<meta charset=big5>\xC7\xD1\xB1\xB9\xBE\xEE") << 949u
            << QStringLiteral("<meta charset=big5>한국어");
    }
    void decodeBodyTextChain()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(uint, codePage);
        QFETCH(QString, text);
        QCOMPARE(decode(bytes, codePage), text);
    }

    void emptyInput()
    {
        QCOMPARE(decodeBodyText(nullptr, 10, 0), QString());
        QCOMPARE(decodeBodyText("abc", 0, 0), QString());
        QCOMPARE(decodeBodyText("abc", -1, 0), QString());
    }

    // Only the first 512 bytes decide, so a long text whose start looks
    // like UTF-16 is read as UTF-16 whatever follows.
    void utf16ProbeLooksAtTheStartOnly()
    {
        QByteArray bytes = utf16le(QStringLiteral("a").repeated(256));
        bytes += QByteArray("tail");
        QVERIFY(decode(bytes).startsWith(QStringLiteral("a").repeated(256)));

        // A few zero bytes among mostly text are not enough.
        QByteArray mostlyText = QByteArray("abcdefgh").repeated(8);
        mostlyText[1] = '\0';
        mostlyText[3] = '\0';
        QCOMPARE(decode(mostlyText).size(), mostlyText.size());
        QVERIFY(decode(mostlyText).startsWith(QLatin1Char('a')));
    }

    void charsetNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<uint>("codePage");
        const struct {
            const char* name;
            uint codePage;
        } table[] = {
            {"gb2312", 936}, {"gbk", 936}, {"gb18030", 936}, {"cp936", 936}, {"windows-936", 936},
            {"big5", 950}, {"big5-hkscs", 950}, {"cp950", 950}, {"windows-950", 950},
            {"shift_jis", 932}, {"shift-jis", 932}, {"sjis", 932}, {"cp932", 932}, {"windows-932", 932},
            {"euc-kr", 949}, {"cp949", 949}, {"windows-949", 949},
            {"iso-8859-1", 1252}, {"windows-1252", 1252}, {"cp1252", 1252},
            {" GB2312 ", 936}, {"Shift_JIS", 932}, {"EUC-KR\t", 949},
            {"utf-8", 0}, {"", 0}, {"latin1", 0}, {"gb 2312", 0}, {"koi8-r", 0},
        };
        for (const auto& row : table)
            QTest::addRow("%s", row.name) << QString::fromLatin1(row.name) << row.codePage;
    }
    void charsetNames()
    {
        QFETCH(QString, name);
        QFETCH(uint, codePage);
        QCOMPARE(codePageForCharset(name), quint32(codePage));
    }

    void declaredCodePage_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<uint>("codePage");
        QTest::newRow("content type meta")
            << QByteArray("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">") << 936u;
        QTest::newRow("spaces and single quotes") << QByteArray("CHARSET = 'Big5'") << 950u;
        QTest::newRow("double quotes") << QByteArray("<meta charset=\"shift_jis\">") << 932u;
        QTest::newRow("first declaration wins") << QByteArray("charset=euc-kr charset=gbk") << 949u;
        QTest::newRow("utf-8") << QByteArray("<meta charset=utf-8>") << 0u;
        QTest::newRow("none") << QByteArray("<html><body>charset</body></html>") << 0u;
        QTest::newRow("beyond 2048 bytes") << QByteArray(2048, ' ') + "charset=gbk" << 0u;
        QTest::newRow("just within 2048 bytes") << QByteArray(2037, ' ') + "charset=gbk" << 936u;
    }
    void declaredCodePage()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(uint, codePage);
        QCOMPARE(detectDeclaredCodePage(bytes), quint32(codePage));
    }

    void strictCodePageDecoding()
    {
        QCOMPARE(decodeWithCodePage(QByteArray("\xC4\xE3\xBA\xC3"), 936), QStringLiteral("你好"));
        QCOMPARE(decodeWithCodePage(QByteArray("\xC4\xE3\xBA"), 936), QString()); // cut-off pair
        QCOMPARE(decodeWithCodePage(QByteArray("abc"), 0), QString());
        QCOMPARE(decodeWithCodePage(QByteArray(), 1252), QString());
        QCOMPARE(decodeWithCodePage(QByteArray("abc"), 12345), QString()); // unknown page
        QCOMPARE(decodeWithCodePage(QByteArray("\x81\x8D"), 1252), QStringLiteral("\u0081\u008D"));
    }

    void htmlCharsetRewrite_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("expected");
        QTest::newRow("replace-meta content type")
            << "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\"><title>t</title></head></html>"
            << "<html><head><meta charset=\"utf-8\"><title>t</title></head></html>";
        QTest::newRow("replace-meta only the first")
            << "<head><META CHARSET='big5'><meta charset=gbk></head>"
            << "<head><meta charset=\"utf-8\"><meta charset=gbk></head>";
        QTest::newRow("meta without charset is no charset meta")
            << "<html><head><meta name=\"x\" content=\"y\"></head></html>"
            << "<html><head><meta charset=\"utf-8\"><meta name=\"x\" content=\"y\"></head></html>";
        QTest::newRow("insert-head-meta")
            << "<html><HEAD lang=\"en\"><title>t</title></HEAD><body>x</body></html>"
            << "<html><HEAD lang=\"en\"><meta charset=\"utf-8\"><title>t</title></HEAD><body>x</body></html>";
        QTest::newRow("insert-html-head")
            << "<html lang=\"de\"><body><header>x</header></body></html>"
            << "<html lang=\"de\"><head><meta charset=\"utf-8\"></head><body><header>x</header></body></html>";
        QTest::newRow("a later meta inside a non-meta tag")
            << "<metadata <meta charset=gbk><head></head>" << "<metadata <meta charset=\"utf-8\"><head></head>";
        QTest::newRow("a later head inside a non-head tag")
            << "<headline <head><p>x</p>" << "<headline <head><meta charset=\"utf-8\"><p>x</p>";
        QTest::newRow("wrap-document") << "<p>Hi &amp; bye</p>"
                                       << "<html><head><meta charset=\"utf-8\"></head><body><p>Hi &amp; bye</p></body></html>";
        QTest::newRow("wrap-document, unclosed tags") << "<html <head <meta charset=gbk"
                                                      << "<html><head><meta charset=\"utf-8\"></head><body><html <head <meta charset=gbk</body></html>";
    }
    void htmlCharsetRewrite()
    {
        QFETCH(QString, html);
        QFETCH(QString, expected);
        QCOMPARE(normaliseHtmlCharset(html), expected.toUtf8());
    }

    // A GBK body that declares gb2312 comes out as UTF-8 declaring UTF-8.
    void gbkHtmlBecomesUtf8()
    {
        const QByteArray stored("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">"
                                "</head><body>\xC4\xE3\xBA\xC3</body></html>");
        const QByteArray html = normaliseHtmlCharset(decode(stored));
        QCOMPARE(html, QByteArray("<html><head><meta charset=\"utf-8\"></head><body>\xE4\xBD\xA0\xE5\xA5\xBD</body></html>"));
    }

    // Tags that never close, or thousands of meta tags, must not make the
    // search backtrack without end.
    void hostileHtmlIsRewrittenPromptly_data()
    {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("unclosed charset metas") << "<meta charset=" << "";
        QTest::newRow("charset metas closed at the end") << "<meta charset=;" << ">";
        QTest::newRow("many metas") << "<meta a>" << "";
        QTest::newRow("unclosed heads") << "<head <html " << "";
        QTest::newRow("non-meta openings closed at the end") << "<metax" << ">";
    }
    void hostileHtmlIsRewrittenPromptly()
    {
        QFETCH(QString, unit);
        QFETCH(QString, suffix);
        const QString html = unit.repeated(200000 / unit.size()) + suffix;
        QElapsedTimer timer;
        timer.start();
        const QByteArray out = normaliseHtmlCharset(html);
        QVERIFY(out.size() >= 22);
        QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
    }
};

QUORVIA_GUI_TEST_MAIN(TestBodyDecoding)
#include "tst_body_decoding.moc"
