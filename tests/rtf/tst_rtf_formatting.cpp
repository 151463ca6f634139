// Character and paragraph formatting, how runs of text are laid into
// paragraphs and lists, and the exact form of the serialised document.

#include "rtf/format_state.h"
#include "rtf/rtf_html_converter.h"
#include "rtf/visible_text.h"
#include "support/test_data.h"
#include "rtf_test_helpers.h"
#include "support/test_main.h"

#include <QGuiApplication>

using rtftest::bodyOf;
using rtftest::convertBytes;

namespace {

// A header with fonts and colours for the formatting cases: font 0 Arial,
// font 1 with a quote in its name; colour 1 with only red given, 2 red, 3 blue.
const QByteArray kHeader = "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fnil Quo\"te;}}"
                           "{\\colortbl;\\red9;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}";

QByteArray withHeader(const QByteArray& content)
{
    return kHeader + content + "}";
}

} // namespace

class TestRtfFormatting : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // --- Formatting words and their CSS --------------------------------------

    // Every control word hands the run its formatting as it stood before the
    // word, so a paragraph that sets formatting and ends at once keeps empty
    // runs; `tail` rows look only at the last paragraph, the one whose text
    // starts in the finished formatting.
    void formatsText_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("tail");
        QTest::newRow("formatting set word by word nests")
            << QByteArray("\\qc\\f0\\fs24 Hello\\par")
            << QByteArray("<p style=\"text-align:center; font-family:'Arial'; \">\n"
                          "<span style=\"font-family:'Arial'; font-size:12px; \">Hello</span>\n</p>")
            << false;
        QTest::newRow("alignment, font and size together")
            << QByteArray("\\qc\\f0\\fs24\\par Hello\\par")
            << QByteArray("<p style=\"text-align:center; font-family:'Arial'; font-size:12px; \">Hello</p>") << true;
        QTest::newRow("character properties in their order")
            << QByteArray("\\cb3\\cf2\\fs20\\f0\\par x\\par")
            << QByteArray("<p style=\"font-family:'Arial'; font-size:10px; color:rgb(255, 0, 0); background:rgb(0, 0, 255); \">x</p>")
            << true;
        QTest::newRow("odd half-points truncate") << QByteArray("{\\fs25 x}\\par")
                                                  << QByteArray("<p style=\"font-size:12px; \">x</p>") << false;
        QTest::newRow("fs0 removes the size")
            << QByteArray("{\\fs24 a{\\fs0 b}}\\par")
            << QByteArray("<p>\n<span style=\"font-size:12px; \">a</span>b<span style=\"font-size:12px; \"></span>\n</p>") << false;
        QTest::newRow("colour index out of range leaves the colour")
            << QByteArray("{\\cf2\\cf5 x}\\par") << QByteArray("<p style=\"color:rgb(255, 0, 0); \">x</p>") << false;
        QTest::newRow("automatic colour is no colour") << QByteArray("\\cf2\\cf0\\par x\\par") << QByteArray("<p>x</p>") << true;
        QTest::newRow("component not given written as -1")
            << QByteArray("{\\cf1 x}\\par") << QByteArray("<p style=\"color:rgb(9, -1, -1); \">x</p>") << false;
        QTest::newRow("unknown font gives no family") << QByteArray("\\f0\\f9\\par x\\par") << QByteArray("<p>x</p>") << true;
        QTest::newRow("plain drops alignment") << QByteArray("\\qc\\plain\\par x\\par") << QByteArray("<p>x</p>") << true;
        QTest::newRow("pard keeps bold and colour")
            << QByteArray("\\b\\cf2\\pard\\par x\\par")
            << QByteArray("<p style=\"color:rgb(255, 0, 0); \">\n<b>x</b>\n</p>") << true;
        QTest::newRow("emphasis nesting order")
            << QByteArray("\\super\\sub\\strike\\ul\\i\\b\\par x\\par")
            << QByteArray("<p>\n<b>\n<i>\n<u>\n<s>\n<sub>\n<sup>x</sup>\n</sub>\n</s>\n</u>\n</i>\n</b>\n</p>") << true;
        QTest::newRow("switching off and on") << QByteArray("a\\b b\\b0 c\\b1 d\\par")
                                              << QByteArray("<p>a<b>b</b>c<b>d</b>\n</p>") << false;
        QTest::newRow("underline variants and ulnone")
            << QByteArray("{\\uldb a}{\\ulwave b\\ulnone c}\\par") << QByteArray("<p>\n<u>a</u>\n<u>b</u>c</p>") << false;
        QTest::newRow("outline shows nothing") << QByteArray("a{\\outl b}c\\par") << QByteArray("<p>abc</p>") << false;
        QTest::newRow("line and tab are white space") << QByteArray("a\\line b\\tab c\\par") << QByteArray("<p>a\nb\tc</p>") << false;
        QTest::newRow("quotes in a font name are escaped")
            << QByteArray("{\\f1 x}\\par") << QByteArray("<p style=\"font-family:'Quo&quot;te'; \">x</p>") << false;
    }
    void formatsText()
    {
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, body);
        QFETCH(bool, tail);
        const QByteArray actual = bodyOf(withHeader(content));
        if (tail) {
            QVERIFY2(actual.endsWith("\n" + body), actual.constData());
            return;
        }
        QCOMPARE(actual, body);
    }

    // The documented examples, each with exactly the header it names.
    void documentedExamples_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QByteArray>("body");
        const QByteArray red = "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}";
        QTest::newRow("plain") << QByteArray("{\\rtf1 Hello\\par}") << QByteArray("<p>Hello</p>");
        QTest::newRow("centred") << QByteArray("{\\rtf1 \\qc Title\\par}") << QByteArray("<p style=\"text-align:center; \">Title</p>");
        QTest::newRow("bold") << QByteArray("{\\rtf1 A {\\b B} C\\par}") << QByteArray("<p>A <b>B</b> C</p>");
        QTest::newRow("red run") << red + "{\\cf1 red}\\par}" << QByteArray("<p style=\"color:rgb(255, 0, 0); \">red</p>");
        QTest::newRow("red word") << red + "x {\\cf1 y} z\\par}"
                                  << QByteArray("<p>x <span style=\"color:rgb(255, 0, 0); \">y</span> z</p>");
        QTest::newRow("special characters") << QByteArray("{\\rtf1 a < b & c\\par}") << QByteArray("<p>a &lt; b &amp; c</p>");
        QTest::newRow("empty paragraphs") << QByteArray("{\\rtf1 \\par\\par}") << QByteArray("<p></p>\n<p></p>");
    }
    void documentedExamples()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QByteArray, body);
        QCOMPARE(bodyOf(rtf), body);
    }

    // The equality that decides whether runs share formatting ignores what
    // does not show.
    void formattingEquality()
    {
        rtf::FormatState a;
        rtf::FormatState b;
        b.outline = true;
        b.font.charset = 134;
        b.inTable = true;
        b.listLevel = 36;
        QVERIFY(rtf::sameFormatting(a, b));
        QCOMPARE(rtf::formattingHash(a), rtf::formattingHash(b));
        QVERIFY(!rtf::identicalState(a, b));
        b.font.family = 2;
        QVERIFY(!rtf::sameFormatting(a, b));
        b = a;
        b.background.blue = 0;
        QVERIFY(!rtf::sameFormatting(a, b));
        QVERIFY(!rtf::sameSpanProperties(a, b));
        b = a;
        b.superscript = true;
        QVERIFY(!rtf::sameFormatting(a, b));
        QVERIFY(rtf::sameSpanProperties(a, b));
    }

    // Returning to an earlier formatting closes exactly what the later
    // formatting opened, however many elements that was.
    void earlierFormattingClosesItsElements_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("two emphasis elements at once") << QByteArray("{\\b\\i A{\\plain B}C}D\\par")
                                                       << QByteArray("<p>\n<b>\n<i>A</i>\n</b>B<b>\n<i>C</i>\n</b>D</p>");
        QTest::newRow("formatting that opens nothing") << QByteArray("A{\\qc B}C\\par")
                                                       << QByteArray("<p style=\"text-align:center; \">ABC</p>");
        QTest::newRow("span and emphasis at once") << QByteArray("a{\\cf2\\b b}c\\par")
                                                   << QByteArray("<p>a<span style=\"color:rgb(255, 0, 0); \">\n<b>b</b>\n</span>c</p>");
        QTest::newRow("cell alignment inside bold opens nothing") << QByteArray("{\\b x{\\clvertalc y}z}w\\par")
                                                      << QByteArray("<p>\n<b>xyz</b>w</p>");
    }
    void earlierFormattingClosesItsElements()
    {
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, body);
        QCOMPARE(bodyOf(withHeader(content)), body);
    }

    // --- Paragraphs and lists ------------------------------------------------

    void buildsLists_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("body");
        const QByteArray bullet = "{\\listtext\\'b7\\tab}";
        QTest::newRow("bullet items after a plain paragraph")
            << QByteArray("Plain\\par" + bullet + "\\li720 One\\par" + bullet + "\\li720 Two\\par\\pard Plain\\par")
            << QByteArray("<p>Plain</p>\n<ul>\n<li>One</li>\n<li>Two</li>\n</ul>\n<p>Plain</p>");
        QTest::newRow("numbered item") << QByteArray("Plain\\par{\\listtext 1.\\tab}\\li720 One\\par")
                                       << QByteArray("<p>Plain</p>\n<ol>\n<li>One</li>\n</ol>");
        QTest::newRow("pnlvlblt makes a bullet item") << QByteArray("{\\listtext 1.\\tab}\\pnlvlblt\\li720 One\\par")
                                                      << QByteArray("<ul>\n<li>One</li>\n</ul>");
        QTest::newRow("nested list closed by a plain paragraph")
            << QByteArray(bullet + "\\li720 A\\par" + bullet + "\\li1440 B\\par\\pard\\li720 C\\par")
            << QByteArray("<ul>\n<li>A<ul>\n<li>B</li>\n</ul>\n</li>\n<p>C</p>\n</ul>");
        QTest::newRow("level falls by one list however far it falls")
            << QByteArray(bullet + "\\li720 A\\par" + bullet + "\\li1440 B\\par" + bullet + "\\li0 C\\par")
            << QByteArray("<ul>\n<li>A<ul>\n<li>B</li>\n</ul>\n</li>\n<li>C</li>\n</ul>");
        QTest::newRow("item at the plain paragraph's level stays in body")
            << QByteArray("Plain\\par" + bullet + "Item\\par")
            << QByteArray("<p>Plain</p>\n<ul>\n<li>Item</li>\n</ul>");
        QTest::newRow("first paragraph is an item") << QByteArray(bullet + "Item\\par")
                                                    << QByteArray("<ul>\n<li>Item</li>\n</ul>");
        QTest::newRow("list type changes at the same level")
            << QByteArray("{\\listtext 1.\\tab}A\\par" + bullet + "B\\par")
            << QByteArray("<ol>\n<li>A</li>\n</ol>\n<ul>\n<li>B</li>\n</ul>");
        QTest::newRow("list text without a tab hides what follows")
            << QByteArray("{\\listtext\\'b7}Item\\par Later\\par")
            << QByteArray("<ul>\n<li></li>\n</ul>\n<p></p>");
        QTest::newRow("markup characters pass list text")
            << QByteArray("{\\listtext <1>\\tab}Item\\par") << QByteArray("<ol>\n<li>&lt;&gt;Item</li>\n</ol>");
        QTest::newRow("special words still append inside list text")
            << QByteArray("{\\listtext\\bullet\\tab}Item\\par") << QByteArray("<ol>\n<li>\xE2\x80\xA2Item</li>\n</ol>");
        QTest::newRow("type change after the list closed down to body")
            << QByteArray("{\\listtext 1.\\tab}\\li720 A\\par{\\listtext 2.\\tab}\\li0 B\\par" + bullet + "\\li0 C\\par")
            << QByteArray("<ol>\n<li>A</li>\n</ol>\n<li>B</li>\n<ul>\n<li>C</li>\n</ul>");
        QTest::newRow("section mark ends a paragraph") << QByteArray("a\\sect b\\par") << QByteArray("<p>a</p>\n<p>b</p>");
    }
    void buildsLists()
    {
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, body);
        QCOMPARE(bodyOf(withHeader(content)), body);
    }

    // What follows the last paragraph mark is shown, by the same rules.
    void lastLineWithoutParagraphMark_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("single line") << QByteArray("{\\rtf1 Hello}") << QByteArray("<p>Hello</p>");
        QTest::newRow("after a paragraph") << QByteArray("{\\rtf1 A\\par B}") << QByteArray("<p>A</p>\n<p>B</p>");
        QTest::newRow("formatting without text adds nothing") << QByteArray("{\\rtf1 A\\par{\\b}\\qc}") << QByteArray("<p>A</p>");
        QTest::newRow("list item") << QByteArray("{\\rtf1 {\\listtext\\'b7\\tab}Last}") << QByteArray("<ul>\n<li>Last</li>\n</ul>");
        QTest::newRow("unterminated group") << QByteArray("{\\rtf1 {\\b Bold") << QByteArray("<p>\n<b>Bold</b>\n</p>");
        QTest::newRow("no markup at all") << QByteArray("Just text") << QByteArray("<p>Just text</p>");
        QTest::newRow("nothing") << QByteArray("{\\rtf1}") << QByteArray("<empty body>");
    }
    void lastLineWithoutParagraphMark()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QByteArray, body);
        QCOMPARE(bodyOf(rtf), body);
    }

    // --- Serialisation --------------------------------------------------------

    // Finished parts of body are written out during the pass; the bytes must
    // be those of saving the whole tree at the end, whatever the structure,
    // and decoding them on the way must give the text of decoding them at
    // once. The same corpus checks the tree's verdict on visible text.
    void writingAsItGoesChangesNoByte()
    {
        static const char* const pieces[] = {
            "Plain text\\par ", "{\\b bold {\\i both}} after\\par ", "\\qc centred\\par\\pard ",
            "{\\listtext\\'b7\\tab}\\li720 bullet\\par ", "{\\listtext 1.\\tab}\\li1440 number\\par ",
            "{\\listtext 2.\\tab}\\li0 level zero\\par ", "\\pard after list\\par ",
            "\\trowd\\trleft0\\clvmgf\\cellx2000\\cellx4000\\pard\\intbl a\\cell b\\par c\\cell\\row ",
            "\\trowd\\trleft500\\clvmrg\\cellx2000\\cellx5000\\pard\\intbl d\\cell e\\cell\\row ",
            "\\pard closing\\par ", "{\\cf1 red}{\\fs30 big}\\par ", "\\par ", "{\\pict 0102}",
            "tail without mark", "\\'e9\\u8364?<&>", "{\\listtext\\'b7}hidden\\par ",
            "{\\listtext\\'b7\\tab}\\li2880 deep\\par ", "{\\listtext 3.\\tab}\\li2160 three\\par ",
            "{\\listtext\\'b7\\tab}\\li720 {\\b bold} item\\par ", "\\pard\\li1440 indented\\par ",
            "raw \xE4\xB8", "\xC3", "\xE4\xB8\xAD\\par ", "\xF0\x9F\x98",
        };
        const int count = int(sizeof pieces / sizeof *pieces);
        QList<QByteArray> corpus;
        std::uint32_t seed = 7;
        for (int document = 0; document < 600; ++document) {
            QByteArray rtf = "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}";
            const int length = 1 + document % 60;
            for (int i = 0; i < length; ++i) {
                seed = seed * 1664525u + 1013904223u;
                rtf += pieces[(seed >> 8) % count];
            }
            corpus << rtf + (document % 3 ? "}" : "");
        }
        // Large enough to be decoded in several pieces.
        for (int document = 0; document < 3; ++document) {
            QByteArray rtf = "{\\rtf1 ";
            while (rtf.size() < 200000) {
                seed = seed * 1664525u + 1013904223u;
                rtf += pieces[(seed >> 8) % count];
            }
            corpus << rtf + "}";
        }
        corpus << testsupport::readRealSample(QStringLiteral("quick-contents/message.rtf"));

        for (const QByteArray& rtf : corpus) {
            const std::string_view input(rtf.constData(), static_cast<std::size_t>(rtf.size()));
            rtf::RtfHtmlConverter streamed(input, true);
            streamed.run();
            rtf::RtfHtmlConverter whole(input, false);
            whole.run();
            QCOMPARE(streamed.textPresence(), whole.textPresence());
            const std::string a = streamed.takeHtml();
            const std::string b = whole.takeHtml();
            QVERIFY2(a == b, rtf.constData());
            QCOMPARE(rtf::convertToQString(input), QString::fromUtf8(a.data(), qsizetype(a.size())));
            // What the tree tells must agree with the rich-text engine.
            if (streamed.textPresence() != rtf::TextPresence::Unknown)
                QCOMPARE(rtf::hasVisibleText(QString::fromUtf8(a.data(), qsizetype(a.size()))),
                         streamed.textPresence() == rtf::TextPresence::Certain);
        }
    }

    void serialisedForm()
    {
        QCOMPARE(convertBytes("{\\rtf1 Hello\\par}"),
                 QByteArray("<?xml version=\"1.0\"?>\n<html>\n<body>\n<p>Hello</p>\n</body>\n</html>\n"));
        QCOMPARE(convertBytes(QByteArray()), QByteArray("<?xml version=\"1.0\"?>\n<html>\n<body></body>\n</html>\n"));
        // Empty elements keep an end tag; text is UTF-8, not character references.
        QCOMPARE(bodyOf("{\\rtf1 {\\b}\\par}"), QByteArray("<p>\n<b></b>\n</p>"));
        QCOMPARE(bodyOf("{\\rtf1 \\'e9\\u8364?\\par}"), QByteArray("<p>\xC3\xA9\xE2\x82\xAC</p>"));
    }
};

QUORVIA_GUI_TEST_MAIN(TestRtfFormatting)
#include "tst_rtf_formatting.moc"
