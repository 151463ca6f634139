// The conversion entry point: when the converter's document is used, when the
// plain-text reader takes over and what it reads, and a real Outlook body.

#include "rtf/plain_text_extractor.h"
#include "rtf/rtf_html_converter.h"
#include "rtf/rtf_to_html.h"
#include "rtf/visible_text.h"
#include "support/test_data.h"
#include "support/test_main.h"

#include <QGuiApplication>

namespace {

QString prePage(const QString& escaped)
{
    return QStringLiteral("<html><body><pre style='font-family:sans-serif;'>") + escaped
        + QStringLiteral("</pre></body></html>");
}

} // namespace

class TestRtfToHtml : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Text without a paragraph mark, even without any markup, goes through
    // the converter.
    void lastLineShowsThroughTheConverter()
    {
        QVERIFY(rtf::rtfToHtml("{\\rtf1 Hello}").contains(QStringLiteral("<p>Hello</p>")));
        QVERIFY(rtf::rtfToHtml("Just some text").contains(QStringLiteral("<p>Just some text</p>")));
    }

    // Visible text that is neither a letter nor a digit still counts.
    void punctuationAloneIsVisible()
    {
        QVERIFY(rtf::rtfToHtml("{\\rtf1 ?!\\par}").contains(QStringLiteral("<p>?!</p>")));
        QVERIFY(rtf::rtfToHtml("{\\rtf1 \\u8364?\\par}").contains(QStringLiteral("<p>\u20AC</p>")));
    }

    void malformedNumberFallsBackWithAWarning()
    {
        const QByteArray input = "{\\rtf1 A\\fs- B\\par}";
        QTest::ignoreMessage(QtWarningMsg, "[Tessil] rtfToHtml failed, falling back to plain text. Bytes: 19");
        QCOMPARE(rtf::rtfToHtml(input), prePage(QStringLiteral("AB")));
    }

    void documentWithoutVisibleTextFallsBack_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("html");
        QTest::newRow("empty input") << QByteArray() << prePage(QString());
        QTest::newRow("text only in the header") << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\info{\\title T}}{\\header Head}\\par}")
                                                 << prePage(QStringLiteral("Head"));
        QTest::newRow("only white space") << QByteArray("{\\rtf1 \\tab  \\line \\~\\par}")
                                          << prePage(QStringLiteral("{\\rtf1 \\tab  \\line \\~\\par}"));
        QTest::newRow("nothing readable shows the input")
            << QByteArray("{\\rtf1{\\fonttbl{\\f0 A&B;}}\\par}")
            << prePage(QStringLiteral("{\\rtf1{\\fonttbl{\\f0 A&amp;B;}}\\par}"));
    }
    void documentWithoutVisibleTextFallsBack()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, html);
        QCOMPARE(rtf::rtfToHtml(rtf), html);
    }

    void fallbackEscapesItsText()
    {
        const QByteArray input = "{\\rtf1 <b> & \\li99999999999 %1}";
        QTest::ignoreMessage(QtWarningMsg, "[Tessil] rtfToHtml failed, falling back to plain text. Bytes: 31");
        QCOMPARE(input.size(), 31);
        QCOMPARE(rtf::rtfToHtml(input), prePage(QStringLiteral("&lt;b&gt; &amp; %1")));
    }

    // The converter reads code pages from font charsets only; the fallback
    // reader honours \ansicpg.
    void documentCodePage()
    {
        const QByteArray input = "{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2\\par}";
        QCOMPARE(rtf::extractPlainText(input), QStringLiteral("Привет"));
        QVERIFY(rtf::rtfToHtml(input).contains(QStringLiteral("<p>\u00CF\u00F0\u00E8\u00E2\u00E5\u00F2</p>")));
    }

    // What the tree tells without the rich-text engine: only letters and
    // digits (of any script) make text certain, only white space absent.
    void textPresence_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<int>("presence");
        const int none = int(rtf::TextPresence::None);
        const int certain = int(rtf::TextPresence::Certain);
        const int unknown = int(rtf::TextPresence::Unknown);
        QTest::newRow("letters") << QByteArray("{\\rtf1 abc\\par}") << certain;
        QTest::newRow("nothing") << QByteArray("{\\rtf1 \\par}") << none;
        QTest::newRow("punctuation") << QByteArray("{\\rtf1 ?!\\par}") << unknown;
        QTest::newRow("Chinese") << QByteArray("{\\rtf1{\\fonttbl{\\f1\\fcharset134;}}\\f1 \\'c4\\'e3\\par}") << certain;
        QTest::newRow("letter beyond the first plane") << QByteArray("{\\rtf1 \\u55349?\\u56320?\\par}") << certain;
        QTest::newRow("emoji") << QByteArray("{\\rtf1 \\u55357?\\u56832?\\par}") << unknown;
        QTest::newRow("text of a merged cell is not shown")
            << QByteArray("{\\rtf1\\trowd\\clvmrg\\cellx100\\intbl hidden\\cell\\row\\pard\\par}") << none;
    }
    void textPresence()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(int, presence);
        rtf::TextPresence actual = rtf::TextPresence::Unknown;
        rtf::convert(std::string_view(rtf.constData(), static_cast<std::size_t>(rtf.size())), &actual);
        QCOMPARE(int(actual), presence);
    }

    void hasVisibleText_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<bool>("visible");
        QTest::newRow("text") << QStringLiteral("<p>x</p>") << true;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("white space and breaks") << QStringLiteral("<p> \t</p><br><p>\n</p>") << false;
        QTest::newRow("no-break space") << QStringLiteral("<p>&nbsp;\u00A0</p>") << false;
        QTest::newRow("declaration and empty body")
            << QStringLiteral("<?xml version=\"1.0\"?>\n<html>\n<body>\n<p></p>\n</body>\n</html>\n") << false;
        QTest::newRow("style sheet only") << QStringLiteral("<html><head><STYLE type=\"text/css\">\np { color: red }\n</STYLE></head><body> </body></html>")
                                          << false;
        QTest::newRow("script only") << QStringLiteral("<script>\nalert(1)\n</Script><p></p>") << false;
        QTest::newRow("text after a style sheet") << QStringLiteral("<style>p{}</style><p>x</p>") << true;
        QTest::newRow("empty table and list") << QStringLiteral("<table><tr><td></td></tr></table><ul><li></li></ul>") << false;
        QTest::newRow("image") << QStringLiteral("<img src=\"x.png\">") << true;
    }
    void hasVisibleText()
    {
        QFETCH(QString, html);
        QFETCH(bool, visible);
        QCOMPARE(rtf::hasVisibleText(html), visible);
    }

    void extractsPlainText_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("text");
        QTest::newRow("malformed word") << QByteArray("{\\rtf1 A\\fs- B\\par}") << QStringLiteral("AB");
        QTest::newRow("blank lines collapse") << QByteArray("{\\rtf1 a\\par\\par\\line b\\par}") << QStringLiteral("a\nb");
        QTest::newRow("tab") << QByteArray("{\\rtf1 a\\tab b}") << QStringLiteral("a\tb");
        QTest::newRow("escaped characters") << QByteArray("{\\rtf1 \\{a\\}\\\\}") << QStringLiteral("{a}\\");
        QTest::newRow("symbols dropped") << QByteArray("{\\rtf1 a\\~b\\-c}") << QStringLiteral("abc");
        QTest::newRow("header tables and pictures skipped")
            << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1;}{\\stylesheet{Normal;}}{\\info{\\title T}}x{\\pict 0102}y}")
            << QStringLiteral("xy");
        QTest::newRow("ignorable destinations skipped") << QByteArray("{\\rtf1 a{\\*\\generator W;}b{\\*\\x{c}d}e}")
                                                        << QStringLiteral("abe");
        QTest::newRow("star cleared by text") << QByteArray("{\\rtf1 a\\*b\\par c}") << QStringLiteral("ab\nc");
        QTest::newRow("1252 escapes") << QByteArray("{\\rtf1 caf\\'e9 \\'93q\\'94}") << QStringLiteral("café \u201Cq\u201D");
        QTest::newRow("double-byte code page") << QByteArray("{\\rtf1\\ansicpg932 \\'82\\'b1\\'82\\'f1}") << QStringLiteral("こん");
        QTest::newRow("bytes invalid in the code page") << QByteArray("{\\rtf1\\ansicpg950 a\\'a4}") << QStringLiteral("a\u00A4");
        QTest::newRow("invalid hex digits dropped") << QByteArray("{\\rtf1 a\\'zzb}") << QStringLiteral("ab");
        QTest::newRow("escape cut by the end") << QByteArray("{\\rtf1 ab\\'4") << QStringLiteral("ab");
        QTest::newRow("\\u with fallback") << QByteArray("{\\rtf1 \\u8364?x\\uc0\\u8364 y\\uc2\\u-3913\\'80zw}")
                                           << QStringLiteral("\u20ACx\u20ACy\uF0B7w");
        QTest::newRow("Latin-1 bytes") << QByteArray("caf\xE9 cr\xE8me") << QStringLiteral("café crème");
        QTest::newRow("unbalanced braces") << QByteArray("}}{\\rtf1 a}}}b") << QStringLiteral("ab");
        QTest::newRow("trimmed") << QByteArray("{\\rtf1 \\par  x \\par\\par}") << QStringLiteral("x");
    }
    void extractsPlainText()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, text);
        QCOMPARE(rtf::extractPlainText(rtf), text);
    }

    void realOutlookBody()
    {
        REQUIRE_REAL_SAMPLES();
        const QByteArray rtfBytes = testsupport::readRealSample(QStringLiteral("quick-contents/message.rtf"));
        QVERIFY(rtfBytes.startsWith("{\\rtf1"));
        const QString html = rtf::rtfToHtml(rtfBytes);
        QVERIFY(html.startsWith(QStringLiteral("<?xml version=\"1.0\"?>")));
        const QString text = rtf::htmlToPlainText(html);
        QVERIFY2(text.contains(QStringLiteral("These are five files.")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("Five files from Hell! (Well Outlook actually)")), qPrintable(text));
        // Nothing of the header tables, style definitions or data stores leaks.
        QVERIFY(!text.contains(QStringLiteral("Times New Roman")));
        QVERIFY(!text.contains(QStringLiteral("Normal")));
        QVERIFY(!text.contains(QStringLiteral("0105000002")));
        QVERIFY(html.contains(QStringLiteral("<b>These are five files.</b>")));
    }
};

QUORVIA_GUI_TEST_MAIN(TestRtfToHtml)
#include "tst_rtf_to_html.moc"
