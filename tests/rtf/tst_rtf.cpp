// RTF to HTML: what the converter writes for each construct, hostile input,
// the entry point with its plain-text fallback, and a real Outlook body.
// Then the HTML and plain text that RTF bodies carry inside them: documents
// written here, and the real bodies in ../shared/testdata/real/encapsulated.

#include "rtf/encapsulated_body.h"
#include "rtf/plain_text_extractor.h"
#include "rtf/rtf_html_converter.h"
#include "rtf/rtf_to_html.h"
#include "rtf/visible_text.h"
#include "support/test_data.h"
#include "support/test_main.h"

#include <QGuiApplication>
#include <QRegularExpression>
#include <QTextDocumentFragment>

namespace {

QByteArray convertBytes(const QByteArray& rtf)
{
    const std::string html = rtf::convert(std::string_view(rtf.constData(), std::size_t(rtf.size())));
    return QByteArray(html.data(), qsizetype(html.size()));
}

// The serialised children of body, without the line breaks around them.
QByteArray bodyOf(const QByteArray& rtf)
{
    const QByteArray html = convertBytes(rtf);
    const qsizetype begin = html.indexOf("<body>\n"), end = html.lastIndexOf("\n</body>");
    return begin < 0 || end < begin ? html : html.mid(begin + 7, end - begin - 7);
}

// Deepest element nesting of serialised output (every element has an end tag).
int maxDepth(const QByteArray& html)
{
    int depth = 0, deepest = 0;
    for (qsizetype i = 0; i + 1 < html.size(); ++i)
        if (html[i] == '<' && html[i + 1] != '?')
            deepest = qMax(deepest, html[i + 1] == '/' ? --depth : ++depth);
    return deepest;
}

QByteArray row(const QByteArray& definition, const QList<QByteArray>& cells)
{
    QByteArray out = "\\trowd\\trleft0" + definition;
    for (const QByteArray& cell : cells)
        out += "\\pard\\intbl " + cell + "\\cell";
    return out + "\\row";
}

QString prePage(const QString& escaped)
{
    return QStringLiteral("<html><body><pre style='font-family:sans-serif;'>") + escaped + QStringLiteral("</pre></body></html>");
}

// An encapsulating document as Outlook writes it: the header, then `body`.
QByteArray fromHtml(const QByteArray& body, const QByteArray& codePage = "1252")
{
    return "{\\rtf1\\ansi\\ansicpg" + codePage + "\\fromhtml1 \\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fcharset134 SimSun;}"
           "{\\f2\\fcharset204 Arial Cyr;}}\r\n{\\colortbl\\red0\\green0\\blue0;}{\\stylesheet{\\s0 Normal;}}{\\*\\generator Mail;}"
           "\\uc1\\pard\\plain\\deftab360 \\f0\\fs24 \r\n" + body + "}";
}

// The values of the href and src attributes, in order: the links a page holds.
QStringList linksOf(const QString& html)
{
    static const QRegularExpression link(QStringLiteral("\\b(?:href|src)\\s*=\\s*[\"']?([^\"'\\s>]+)"),
                                         QRegularExpression::CaseInsensitiveOption);
    QStringList links;
    for (auto it = link.globalMatch(html); it.hasNext();)
        links << it.next().captured(1);
    return links;
}

QString visibleText(const QString& html)
{
    return QTextDocumentFragment::fromHtml(html).toPlainText().simplified();
}

} // namespace

class TestRtf : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void converts_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QByteArray>("body");
        // Fonts: 0 Arial, 1 GBK, 2 Shift-JIS, 4 a quote in its name. Colours: 1 red, 2 only red given, 3 blue.
        const QByteArray h = "{\\rtf1{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fcharset134;}{\\f2\\fcharset128;}{\\f4 Quo\"te;}}"
                             "{\\colortbl;\\red255\\green0\\blue0;\\red9;\\red0\\green0\\blue255;}";
        const QByteArray e2 = "\\cellx3000\\cellx6000", bullet = "{\\listtext\\'b7\\tab}";
        // The documented examples, byte for byte.
        QTest::newRow("plain") << QByteArray("{\\rtf1 Hello\\par}") << QByteArray("<p>Hello</p>");
        QTest::newRow("centred") << QByteArray("{\\rtf1 \\qc Title\\par}") << QByteArray("<p style=\"text-align:center; \">Title</p>");
        QTest::newRow("bold") << QByteArray("{\\rtf1 A {\\b B} C\\par}") << QByteArray("<p>A <b>B</b> C</p>");
        QTest::newRow("span") << QByteArray("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}x {\\cf1 y} z\\par}")
                              << QByteArray("<p>x <span style=\"color:rgb(255, 0, 0); \">y</span> z</p>");
        QTest::newRow("escaped") << QByteArray("{\\rtf1 a < b & c\\par}") << QByteArray("<p>a &lt; b &amp; c</p>");
        QTest::newRow("empty paragraphs") << QByteArray("{\\rtf1 \\par\\par}") << QByteArray("<p></p>\n<p></p>");
        QTest::newRow("colspan") << h + row(e2, {"A", "B"}) + row("\\cellx6000", {"W"}) + "\\pard\\par}"
                                 << QByteArray("<table>\n<tr>\n<td>A</td>\n<td>B</td>\n</tr>\n<tr>\n<td colspan=\"2\">W</td>\n</tr>\n"
                                               "</table>\n<p></p>");
        QTest::newRow("spacer") << h + row("\\cellx3000", {"A"}) + "\\trowd\\trleft1000\\cellx3000\\pard\\intbl B\\cell\\row\\pard\\par}"
                                << QByteArray("<table>\n<tr>\n<td colspan=\"2\">A</td>\n</tr>\n<tr>\n<td colspan=\"1\"></td>\n<td>B</td>\n"
                                              "</tr>\n</table>\n<p></p>");
        QTest::newRow("rowspan") << h + row("\\clvmgf" + e2, {"Tall", "1"}) + row("\\clvmrg" + e2, {"x", "2"}) + row(e2, {"y", "3"}) + "}"
                                 << QByteArray("<table>\n<tr>\n<td rowspan=\"2\">Tall</td>\n<td>1</td>\n</tr>\n<tr>\n<td>2</td>\n</tr>\n"
                                               "<tr>\n<td>y</td>\n<td>3</td>\n</tr>\n</table>");
        // Decisions on what the algorithm leaves open or loses.
        QTest::newRow("end: table, then last line") << h + row("\\cellx3000", {"c"}) + "\\pard tail}"
                                                    << QByteArray("<table>\n<tr>\n<td>c</td>\n</tr>\n</table>\n<p>tail</p>");
        QTest::newRow("end: run without text") << QByteArray("{\\rtf1 A\\par{\\b}\\qc}") << QByteArray("<p>A</p>");
        QTest::newRow("cell paragraphs, spans unwrapped")
            << h + row("\\cellx3000", {"x"}) + row("\\cellx3000", {"{\\cf1 one}\\par{\\cf1 two}"}) + "\\pard\\par}"
            << QByteArray("<table>\n<tr>\n<td>x</td>\n</tr>\n<tr>\n<td>one<br></br>two</td>\n</tr>\n</table>\n<p></p>");
        QTest::newRow("plain closes two elements") << QByteArray("{\\rtf1{\\b\\i A{\\plain B}C}D\\par}")
                                                   << QByteArray("<p>\n<b>\n<i>A</i>\n</b>B<b>\n<i>C</i>\n</b>D</p>");
        QTest::newRow("level that opened nothing") << QByteArray("{\\rtf1 A{\\qc B}C\\par}")
                                                   << QByteArray("<p style=\"text-align:center; \">ABC</p>");
        QTest::newRow("surrogate pair") << QByteArray("{\\rtf1 \\u-10179?\r\n\\u-8704?\\par}") << QByteArray("<p>\xF0\x9F\x98\x80</p>");
        QTest::newRow("lone surrogate") << QByteArray("{\\rtf1 \\u55357?x\\par}") << QByteArray("<p>\xED\xA0\xBDx</p>");
        QTest::newRow("first list in body") << h + "P\\par" + bullet + "Item\\par\\pard Q\\par}"
                                    << QByteArray("<p>P</p>\n<ul>\n<li>Item</li>\n</ul>\n<p>Q</p>");
        QTest::newRow("picture in bold") << QByteArray("{\\rtf1{\\b B{\\pict x}C}D\\par}") << QByteArray("<p>\n<b>BC</b>D</p>");
        QTest::newRow("font table in bold") << QByteArray("{\\rtf1{\\b{\\fonttbl{\\f0 A;}}X}Y\\par}") << QByteArray("<p>\n<b>X</b>Y</p>");
        // Control words, symbols and destinations.
        QTest::newRow("symbols") << QByteArray("{\\rtf1 a\\{b\\}c\\\\d\\~e\\-f\\_g\\par}") << QByteArray("<p>a{b}c\\d\xC2\xA0" "efg</p>");
        QTest::newRow("special words") << QByteArray("{\\rtf1 \\endash\\bullet\\lquote\\rdblquote\\emspace\\par}")
                                       << QByteArray("<p>\xE2\x80\x93\xE2\x80\xA2\xE2\x80\x98\xE2\x80\x9D\xC2\xA0</p>");
        QTest::newRow("unknown words") << QByteArray("{\\rtf1 a\\foo12 b\\bar-4\\PAR c\r\nd\\par}") << QByteArray("<p>abcd</p>");
        QTest::newRow("skipped groups")
            << QByteArray("{\\rtf1{\\stylesheet{\\s0 N;}}{\\info{\\title T}}{\\header H}a{\\*\\gen {x} y}b{\\pict\\bin6 }}{{\\}}c\\par}")
            << QByteArray("<p>abc</p>");
        QTest::newRow("object dropped") << QByteArray("{\\rtf1 a{\\object{\\*\\objdata 0105}{\\result {\\pict 01}R}}b\\par}")
                                        << QByteArray("<p>ab</p>");
        QTest::newRow("field result kept") << QByteArray("{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}\\par}")
                                           << QByteArray("<p>link</p>");
        // Text bytes: Unicode escapes with their fallbacks, double-byte pairs, 8-bit text.
        QTest::newRow("\\u fallback") << QByteArray("{\\rtf1 a\\u8364?b\\u-3913?\\par}") << QByteArray("<p>a\xE2\x82\xAC" "b\xEF\x82\xB7</p>");
        QTest::newRow("\\uc2 skips escapes") << QByteArray("{\\rtf1 \\uc2\\u8364\\'80\\'81x\\uc1\\u8364\\emdash y\\par}")
                                             << QByteArray("<p>\xE2\x82\xAC" "x\xE2\x82\xAC" "y</p>");
        QTest::newRow("\\uc0") << QByteArray("{\\rtf1 {\\uc0 a}\\u8364\\'80\\par}") << QByteArray("<p>a\xE2\x82\xAC\xE2\x82\xAC</p>");
        QTest::newRow("1252 escapes") << QByteArray("{\\rtf1 \\'93q\\'94\\'81\\par}") << QByteArray("<p>\xE2\x80\x9Cq\xE2\x80\x9D\xC2\x81</p>");
        QTest::newRow("GBK pair") << h + "\\f1 \\'c4\\'e3\\'ba\\'c3\\par}" << QByteArray("<p>\xE4\xBD\xA0\xE5\xA5\xBD</p>");
        QTest::newRow("lead byte, plain byte") << h + "\\f1 \\'c4x\\par}" << QByteArray("<p>\xC3\x84x</p>");
        QTest::newRow("lead byte, brace") << h + "{\\f1 \\'c4}\\par}" << QByteArray("<p>\xC3\x84</p>");
        QTest::newRow("Cyrillic font") << QByteArray("{\\rtf1{\\fonttbl{\\f3\\fcharset204 Arial;}}\\f3 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2 \xCC\xE8\xF0\\par}")
                                       << QByteArray("<p style=\"font-family:'Arial'; \">\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 \xD0\x9C\xD0\xB8\xD1\x80</p>");
        QTest::newRow("raw 1252") << QByteArray("{\\rtf1 caf\xE9 \x93x\x94\\par}") << QByteArray("<p>caf\xC3\xA9 \xE2\x80\x9Cx\xE2\x80\x9D</p>");
        QTest::newRow("raw UTF-8 kept") << QByteArray("{\\rtf1 caf\xC3\xA9\\par}") << QByteArray("<p>caf\xC3\xA9</p>");
        QTest::newRow("raw Shift-JIS") << h + "\\f2 \x83\x41\\par}" << QByteArray("<p>\xE3\x82\xA2</p>");
        // Formatting and its CSS.
        // Each word hands on the formatting before it, so only a later paragraph starts in the full one ("..." = tail).
        QTest::newRow("character CSS") << h + "\\cb3\\cf1\\fs25\\f0\\par x\\par}"
                                       << QByteArray("...\n<p style=\"font-family:'Arial'; font-size:12px; color:rgb(255, 0, 0); "
                                                     "background:rgb(0, 0, 255); \">x</p>");
        QTest::newRow("quoted font name") << h + "{\\f4 x}\\par}" << QByteArray("<p style=\"font-family:'Quo&quot;te'; \">x</p>");
        QTest::newRow("emphasis order") << QByteArray("{\\rtf1 \\super\\strike\\ul\\i\\b\\par b\\par}")
                                        << QByteArray("...\n<p>\n<b>\n<i>\n<u>\n<s>\n<sup>b</sup>\n</s>\n</u>\n</i>\n</b>\n</p>");
        QTest::newRow("on and off") << QByteArray("{\\rtf1 a\\b b\\b0 c\\ulwave d\\ulnone e\\line f\\tab g\\par}")
                                    << QByteArray("<p>a<b>b</b>c<u>d</u>e\nf\tg</p>");
        // Paragraphs and lists.
        QTest::newRow("bullet list") << h + "P\\par" + bullet + "\\li720 A\\par" + bullet + "\\li1440 B\\par\\pard\\li720 C\\par}"
                                     << QByteArray("<p>P</p>\n<ul>\n<li>A<ul>\n<li>B</li>\n</ul>\n</li>\n<p>C</p>\n</ul>");
        QTest::newRow("numbered, then bullet") << h + "{\\listtext 1.\\tab}A\\par" + bullet + "B\\par}"
                                               << QByteArray("<ol>\n<li>A</li>\n</ol>\n<ul>\n<li>B</li>\n</ul>");
        QTest::newRow("first-row paragraph before table")
            << h + "\\trowd\\trleft0\\cellx3000\\pard\\intbl one\\par two\\cell\\row\\pard\\par}"
            << QByteArray("<p>one</p>\n<table>\n<tr>\n<td>two</td>\n</tr>\n</table>\n<p></p>");
        QTest::newRow("nothing") << QByteArray("{\\rtf1}")
                                 << QByteArray("<?xml version=\"1.0\"?>\n<html>\n<body></body>\n</html>\n");
    }
    void converts()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QByteArray, body);
        if (body.startsWith("..."))
            QVERIFY2(bodyOf(rtf).endsWith(body.mid(3)), bodyOf(rtf).constData());
        else
            QCOMPARE(bodyOf(rtf), body);
    }

    void serialisedForm()
    {
        QCOMPARE(convertBytes("{\\rtf1 Hello\\par}"), QByteArray("<?xml version=\"1.0\"?>\n<html>\n<body>\n<p>Hello</p>\n</body>\n</html>\n"));
    }

    // Nesting, lengths and balance an attacker chooses: a sound document, bounded depth and size.
    void hostile_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QByteArray>("contains");
        const int n = 100000;
        QByteArray formatted, lists = "{\\rtf1 ";
        for (int i = 0; i < n; ++i)
            formatted += "{\\fs" + QByteArray::number(2 + i % 97 * 2) + (i % 2 ? "\\b " : "\\b0 ") + "Q";
        for (int i = 1; i <= 2000; ++i)
            lists += "{\\listtext\\'b7\\tab}\\li" + QByteArray::number(i * 20) + " i" + QByteArray::number(i) + "\\par";
        QTest::newRow("100000 groups") << QByteArray(n, '{') + "deep\\par" + QByteArray(n, '}') << QByteArray("<p>deep</p>");
        QTest::newRow("formatting at every level") << formatted + "\\par" + QByteArray(n, '}') + "TAIL\\par" << QByteArray("TAIL");
        QTest::newRow("2000 list levels") << lists + "\\pard end\\par}" << QByteArray("<li>i2000</li>");
        QTest::newRow("20000 merged rows") << "{\\rtf1 " + QByteArray("\\trowd\\clvmgf\\cellx100\\clvmrg\\cellx100\\intbl r\\cell m\\cell\\row").repeated(20000) << QByteArray("<td rowspan=\"20000\">r</td>");
        QTest::newRow("huge \\bin") << QByteArray("{\\rtf1 a{\\pict\\bin2147483647 }}}}b\\par}") << QByteArray("<p>a</p>");
        QTest::newRow("endless \\'") << "{\\rtf1 a" + QByteArray(n, '\\').replace("\\", "\\'") + "}" << QByteArray("<p>a");
        QTest::newRow("lone lead bytes") << "{\\rtf1{\\fonttbl{\\f1\\fcharset136;}}\\f1 " + QByteArray(n, '\\').replace("\\", "\\'a4") + "x}"
                                         << QByteArray("\xE4\xB8\xAD" "x</p>");
        QTest::newRow("unbalanced") << QByteArray("}}}}{\\rtf1 {\\b a}}}}}}b\\par") << QByteArray("<p>\n<b>a</b>b</p>");
        QTest::newRow("megabyte word") << "{\\rtf1 a\\" + QByteArray(1 << 20, 'q') + " b\\par}" << QByteArray("<p>ab</p>");
        QTest::newRow("huge \\uc") << "{\\rtf1 a\\uc2147483647\\u8364 " + QByteArray(1 << 20, 'z') + "}" << QByteArray("<p>a\xE2\x82\xAC</p>");
        QTest::newRow("megabyte font name") << "{\\rtf1{\\fonttbl{\\f1 " + QByteArray(1 << 20, 'N') + ";}}" + QByteArray("{\\f1 Q}").repeated(20000) + "}"
                                            << "'" + QByteArray(64, 'N') + "'";
    }
    void hostile()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QByteArray, contains);
        const QByteArray html = convertBytes(rtf);
        QVERIFY2(html.contains(contains), html.right(100).constData());
        QVERIFY(maxDepth(html) <= 2 + 2 * 16 + 3 + 2 + 64); // html, body, lists, a table and formatting
        QVERIFY(html.size() < 8 * rtf.size() + 1000);
    }

    // When the converter's page is used, and when the plain-text reader takes over.
    void rtfToHtml_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("html");
        QTest::addColumn<bool>("warns"); // the converter failed
        QTest::newRow("last line") << QByteArray("{\\rtf1 Hello}") << "<p>Hello</p>" << false;
        QTest::newRow("punctuation") << QByteArray("{\\rtf1 ?!\\par}") << "<p>?!</p>" << false;
        QTest::newRow("ansicpg ignored") << QByteArray("{\\rtf1\\ansicpg1251 \\'cf\\'f0\\par}") << "<p>\u00CF\u00F0</p>" << false;
        QTest::newRow("empty") << QByteArray() << prePage(QString()) << false;
        QTest::newRow("text only in header") << QByteArray("{\\rtf1{\\fonttbl{\\f0 A;}}{\\header Head}\\par}") << prePage("Head") << false;
        QTest::newRow("white space shows input") << QByteArray("{\\rtf1{\\fonttbl{\\f0 A&B;}}\\tab\\~\\par}")
                                                  << prePage("{\\rtf1{\\fonttbl{\\f0 A&amp;B;}}\\tab\\~\\par}") << false;
        QTest::newRow("malformed number") << QByteArray("{\\rtf1 <b> & \\fs- B\\par}") << prePage("&lt;b&gt; &amp; B") << true;
        QTest::newRow("parameter beyond 32 bits") << QByteArray("{\\rtf1 a{\\pict\\bin99999999999 xyz}b\\par}") << prePage("ab") << true;
    }
    void rtfToHtml()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, html);
        QFETCH(bool, warns);
        if (warns)
            QTest::ignoreMessage(QtWarningMsg, qPrintable(QStringLiteral("[Tessil] rtfToHtml failed, falling back to plain text. Bytes: %1")
                                                              .arg(rtf.size())));
        QVERIFY2(rtf::rtfToHtml(rtf).contains(html), qPrintable(rtf::rtfToHtml(rtf)));
    }

    void plainTextReader_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("text");
        QTest::newRow("Cyrillic code page") << QByteArray("{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2\\par}") << "Привет";
        QTest::newRow("double-byte code page") << QByteArray("{\\rtf1\\ansicpg932 \\'82\\'b1\\'82\\'f1}") << "こん";
        QTest::newRow("\\u and \\uc") << QByteArray("{\\rtf1 \\u8364?x\\uc0\\u8364 y\\uc2\\u-3913\\'80zw}") << "\u20ACx\u20ACy\uF0B7w";
        QTest::newRow("lines and tabs") << QByteArray("{\\rtf1 \\par a\\par\\par\\line b\\tab c\\~\\par}") << "a\nb\tc";
        QTest::newRow("skipped groups") << QByteArray("}{\\rtf1{\\fonttbl{\\f0 A;}}{\\info T}x{\\pict 01}{\\*\\g W;}\\{y\\}}}") << "x{y}";
        QTest::newRow("Latin-1 bytes") << QByteArray("caf\xE9") << "café";
    }
    void plainTextReader()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, text);
        QCOMPARE(rtf::extractPlainText(rtf), text);
    }

    // Finished parts of body are written out during the pass: the bytes, and
    // the verdict on visible text, must be those of writing the whole tree at the end.
    void writingAsItGoesChangesNoByte()
    {
        static const char* const pieces[] = {
            "Plain\\par ", "{\\b bold {\\i both}} after\\par ", "\\qc centred\\par\\pard ", "{\\listtext\\'b7\\tab}\\li720 bullet\\par ",
            "{\\listtext 1.\\tab}\\li1440 number\\par ", "\\pard after list\\par ",
            "\\trowd\\trleft0\\clvmgf\\cellx2000\\cellx4000\\pard\\intbl a\\cell b\\par c\\cell\\row ",
            "\\trowd\\trleft500\\clvmrg\\cellx2000\\cellx5000\\pard\\intbl d\\cell e\\cell\\row ", "{\\cf1 red}{\\fs30 big}\\par ",
            "\\par ", "{\\pict 0102}", "tail", "\\'e9\\u8364?<&>", "?!", "raw \xE4\xB8", "\xC3", "\xE4\xB8\xAD\\par ",
        };
        const int count = int(sizeof pieces / sizeof *pieces);
        QList<QByteArray> corpus{testsupport::readRealSample(QStringLiteral("quick-contents/message.rtf"))};
        std::uint32_t seed = 7;
        for (int document = 0; document < 303; ++document) {
            QByteArray rtf = "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}";
            while (rtf.size() < (document < 300 ? 40 + document * 10 : 200000)) { // the last ones are spilled in pieces
                seed = seed * 1664525u + 1013904223u;
                rtf += pieces[(seed >> 8) % count];
            }
            corpus << rtf + (document % 3 ? "}" : "");
        }
        for (const QByteArray& rtf : corpus) {
            const std::string_view input(rtf.constData(), std::size_t(rtf.size()));
            rtf::RtfHtmlConverter streamed(input, true), whole(input, false);
            streamed.run();
            whole.run();
            const std::string html = streamed.takeHtml();
            QVERIFY2(html == whole.takeHtml(), rtf.constData());
            QCOMPARE(streamed.textPresence(), whole.textPresence());
            QCOMPARE(rtf::convertToQString(input), QString::fromStdString(html));
            if (streamed.textPresence() != rtf::TextPresence::Unknown)
                QCOMPARE(rtf::hasVisibleText(QString::fromStdString(html)), streamed.textPresence() == rtf::TextPresence::Certain);
        }
    }

    void realOutlookBody()
    {
        REQUIRE_REAL_SAMPLES();
        const QString html = rtf::rtfToHtml(testsupport::readRealSample(QStringLiteral("quick-contents/message.rtf")));
        QVERIFY(html.contains(QStringLiteral("<b>These are five files.</b>")));
        const QString text = QTextDocumentFragment::fromHtml(html).toPlainText();
        QVERIFY2(text.contains(QStringLiteral("Five files from Hell! (Well Outlook actually)")), qPrintable(text));
        for (const char* leak : {"Times New Roman", "Normal", "0105000002"}) // header tables, styles, object data
            QVERIFY(!text.contains(QLatin1String(leak)));
    }

    // --- Encapsulated bodies -------------------------------------------------------

    void encapsulated_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        const int html = int(rtf::EncapsulatedKind::Html), text = int(rtf::EncapsulatedKind::PlainText), none = int(rtf::EncapsulatedKind::None);
        // Markup, text and RTF-only formatting as Outlook interleaves them; the header shows nothing.
        QTest::newRow("tags and text interleaved")
            << fromHtml("{\\*\\htmltag19 <html>}{\\*\\htmltag34 <head>}{\\*\\htmltag41 </head>}{\\*\\htmltag50 <body>}\\htmlrtf \\lang1033 \\htmlrtf0 \r\n"
                        "{\\*\\htmltag64 <p>}\\htmlrtf {\\htmlrtf0 Hello {\\*\\htmltag84 <b>}\\htmlrtf {\\b \\htmlrtf0 bold\r\n{\\*\\htmltag92 </b>}\\htmlrtf }\\htmlrtf0  "
                        "world\\htmlrtf\\par}\\htmlrtf0\r\n\\htmlrtf \\par\r\n\\htmlrtf0 {\\*\\htmltag72 </p>}{\\*\\htmltag58 </body>}{\\*\\htmltag27 </html>}")
            << html << "<html><head></head><body><p>Hello <b>bold</b> world</p></body></html>";
        QTest::newRow("\\htmlrtf saved with groups; tags copied under it")
            << QByteArray("{\\rtf1\\fromhtml1 A\\htmlrtf B{\\htmlrtf0 C{\\htmlrtf D{\\*\\htmltag4 <i>}\\par}E}F\\htmlrtf1 F\\htmlrtf0 G}") << html << "AC<i>EG";
        QTest::newRow("style block inside a tag group")
            << fromHtml("{\\*\\htmltag241 <style>}{\\*\\htmltag241 \\par <!--\\par p.MsoNormal\\line\\b\\par \\tab \\{margin:0cm;\\}\\par a\\\\b\\par -->\\par }"
                        "{\\*\\htmltag249 </style>}")
            << html << "<style>\r\n<!--\r\np.MsoNormal\r\n\t{margin:0cm;}\r\na\\b\r\n-->\r\n</style>";
        QTest::newRow("skipped groups and binary data")
            << fromHtml("{\\info{\\title T}}{\\*\\mhtmltag84 <img src=\"{\\htmlbase ATT-0}\">}{\\*\\htmltag84 <img src=\"cid:a@b\">}"
                        "{\\*\\objdata 0105}{\\pict\\bin2 {}89}x\\bin4 \\'e9y\\htmltag4 <br>")
            << html << "<img src=\"cid:a@b\">xy<br>";
        // Text in the font's page, markup in the document's.
        QTest::newRow("Windows-1252") << fromHtml("caf\\'e9 {\\*\\htmltag84 &#8220;}\\htmlrtf \\'93\\htmlrtf0 na\\'efve\\'85 \xE0 la\\~carte")
                                      << html << "café &#8220;naïve… à la\u00A0carte";
        QTest::newRow("GBK through \\fcharset134")
            << fromHtml("{\\*\\htmltag84 <p title=\"caf\\'e9\">}\\f1 \\'c4\\'e3\\'ba\\'c3{\\f0 \\'e9}\\'ca\\'c0\\'bd\\'e7\\'81@{\\*\\htmltag84 </p>}")
            << html << "<p title=\"café\">你好é世界丂</p>";
        QTest::newRow("GBK markup through \\ansicpg936") << fromHtml("{\\*\\htmltag84 <p title=\"\\'c4\\'e3\">}\\plain \\'ba\\'c3", "936")
                                                          << html << "<p title=\"你\">好";
        QTest::newRow("Cyrillic font in a Western document") << fromHtml("\\f2 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2") << html << "Привет";
        QTest::newRow("unknown \\ansicpg is 1252") << fromHtml("{\\*\\htmltag84 \\'e9}\\'e9", "99999") << html << "éé";
        QTest::newRow("\\u with fallbacks")
            << QByteArray("{\\rtf1\\fromtext \\uc1\\u8364?x{\\uc0\\u8364 y}\\u8364?z\\uc2\\u8364\\'80\\'80w\\uc1\\u-10179?\\u-8704?!{\\uc3\\u8364?}end}")
            << text << "€x€y€z€w\U0001F600!€end";
        QTest::newRow("\\fromtext") << QByteArray("{\\rtf1\\ansi\\ansicpg1251\\fromtext \\deff0{\\fonttbl{\\f0\\fswiss\\fcharset204 Arial;}}\r\n"
                                                  "\\uc1\\pard\\plain \\f0\\fs20 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2\\par line\\line a\\tab b\\~c\\{\\}\\par\r\n}")
                                    << text << "Привет\r\nline\r\na\tb\u00A0c{}\r\n";
        // Recognition: the tenth token counts, the eleventh and plain text do not.
        QTest::newRow("tenth token") << QByteArray("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033\\viewkind4\\uc1\\pard\\fromhtml1 x}") << html << "x";
        QTest::newRow("eleventh token") << QByteArray("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033\\viewkind4\\uc1\\pard\\plain\\fromhtml1 x}") << none << "";
        QTest::newRow("only mentioned in the text") << QByteArray("{\\rtf1 fromhtml1 \\\\fromhtml1 \\{\\\\fromtext\\}\\par}") << none << "";
        QTest::newRow("\\fromhtml0") << QByteArray("{\\rtf1\\fromhtml0 x}") << none << "";
        QTest::newRow("no visible text")
            << fromHtml("{\\*\\htmltag19 <html>}{\\*\\htmltag50 <body>}\\htmlrtf Approximation only\\par\\htmlrtf0 {\\*\\htmltag58 </body>}{\\*\\htmltag27 </html>}")
            << html << "<html><body></body></html>";
        // Broken input ends the reading with what was recovered.
        QTest::newRow("truncated") << fromHtml("{\\*\\htmltag64 <p>}Hel").chopped(1) << html << "<p>Hel";
        QTest::newRow("truncated in an escape") << QByteArray("{\\rtf1\\fromtext ab\\'e") << text << "ab";
        QTest::newRow("invalid byte among GBK") << QByteArray("{\\rtf1\\ansicpg936\\fromtext \\'c4\\'e3\\'81 \\'c4\\'e3}") << text << "你\u0081 你";
        QTest::newRow("truncated after a lead byte") << QByteArray("{\\rtf1\\ansicpg936\\fromtext \\'c4\\'e3\\'ba") << text << "你º";
        QTest::newRow("malformed number") << QByteArray("{\\rtf1\\fromtext ok\\fs- more}") << text << "ok";
        QTest::newRow("unbalanced, then padding") << QByteArray("{\\rtf1\\fromtext a{\\b b}}}c") + QByteArray(2, '\0') + "d" << text << "ab";
    }
    void encapsulated()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(int, kind);
        const rtf::EncapsulatedBody body = rtf::recoverEncapsulatedBody(rtf);
        QCOMPARE(int(rtf::encapsulatedKind(rtf)), kind);
        QCOMPARE(int(body.kind), kind);
        QTEST(body.text, "text");
    }

    // Nesting and lengths an attacker chooses: the recovered text stays within
    // one UTF-16 unit per input byte, and what follows is still read.
    void encapsulatedHostile()
    {
        const int n = 200000;
        const QList<QPair<QByteArray, QString>> cases = {
            {"{\\rtf1\\fromtext " + QByteArray(n, '{') + "deep" + QByteArray(n, '}') + "x}", "deepx"},
            {"{\\rtf1\\fromtext " + QByteArray("{\\f1{\\f2").repeated(n / 8) + "deep" + QByteArray(n / 4, '}') + "x}", "deepx"},
            {"{\\rtf1\\fromtext a\\uc2147483647\\u8364 " + QByteArray(n, 'z') + "}b", "a€"},
            {"{\\rtf1\\ansicpg936\\fromtext " + QByteArray("\\'a4").repeated(n) + "x}", QString(QChar(0x3044)).repeated(n / 2) + "x"},
            {"{\\rtf1\\ansicpg936\\fromtext \\'a1\\'a1" + QByteArray(n, 'q') + "}", "\u3000" + QString(n, 'q')},
            {"{\\rtf1\\fromtext a{\\pict\\bin2147483647 }}}}b", "a"},
            {"{\\rtf1\\fromtext a\\" + QByteArray(1 << 20, 'q') + " b}", "ab"},
        };
        for (const auto& [rtf, text] : cases) {
            const QString recovered = rtf::recoverEncapsulatedBody(rtf).text;
            QVERIFY2(recovered == text, qPrintable(recovered.left(40)));
        }
    }

    void realEncapsulatedBodies_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("shows"); // in the visible text
        const int html = int(rtf::EncapsulatedKind::Html);
        QTest::newRow("inline images") << "attachment_msg_inlineImg.rtf" << html << "Configure SQLite Manager to appear in Firefox main UI";
        QTest::newRow("PDF attachment") << "attachment_msg_pdf.rtf" << html << "Test email with 1 msg attachment, 1 pdf";
        QTest::newRow("sent regular") << "example_sent_regular.rtf" << html << "The quick brown fox jumps over the lazy dog";
        QTest::newRow("appointment") << "msgClassAppointment.rtf" << html << "This is a meeting to discuss jumping";
        QTest::newRow("Cyrillic") << "cyrillic_message.rtf" << int(rtf::EncapsulatedKind::PlainText)
                                  << "Ваше сообщение с темой \"FW: RTM\" было успешно получено";
    }
    void realEncapsulatedBodies()
    {
        QFETCH(QString, file);
        QFETCH(int, kind);
        QFETCH(QString, shows);
        const QString folder = QStringLiteral("encapsulated/");
        if (testsupport::readRealSample(folder + QStringLiteral("README.md")).isEmpty())
            QSKIP("The real sample folder ../shared/testdata/real/encapsulated is absent; skipping");
        const QByteArray rtf = testsupport::readRealSample(folder + file);
        const rtf::EncapsulatedBody body = rtf::recoverEncapsulatedBody(rtf);
        QCOMPARE(int(body.kind), kind);
        const QString text = kind == int(rtf::EncapsulatedKind::Html) ? visibleText(body.text) : body.text;
        QVERIFY2(!text.trimmed().isEmpty() && text.contains(shows), qPrintable(text));
        QVERIFY2(!text.contains(QLatin1String("htmlrtf")) && !text.contains(QLatin1String("Arial;")), qPrintable(text)); // no RTF leaks through
        if (kind == int(rtf::EncapsulatedKind::Html))
            QVERIFY2(body.text.left(200).contains(QLatin1String("<html"), Qt::CaseInsensitive)
                         && body.text.trimmed().endsWith(QLatin1String("</html>"), Qt::CaseInsensitive), qPrintable(body.text.left(80)));
        if (file.startsWith(QLatin1String("attachment_msg_inlineImg"))) {
            // The message's own HTML body, stored as Latin-1.
            const QString stored = QString::fromLatin1(testsupport::readRealSample(folder + QStringLiteral("attachment_msg_inlineImg.html")));
            QCOMPARE(text, visibleText(stored));
            QCOMPARE(linksOf(body.text), linksOf(stored));
            QVERIFY(linksOf(stored).contains(QStringLiteral("https://addons.mozilla.org/en-us/firefox/addon/sqlite-manager/")));
        }
    }
};

QUORVIA_GUI_TEST_MAIN(TestRtf)
#include "tst_rtf.moc"
