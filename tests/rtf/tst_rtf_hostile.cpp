// Hostile and broken RTF: each input must give a sound document quickly,
// with bounded nesting, whatever its depth, lengths or balance.

#include "rtf/plain_text_extractor.h"
#include "rtf/rtf_to_html.h"
#include "rtf/visible_text.h"
#include "rtf_test_helpers.h"
#include "support/test_main.h"

#include <QGuiApplication>

using rtftest::bodyOf;
using rtftest::convertBytes;

namespace {

// Deepest element nesting in serialised output (every element has an end tag).
int maxDepth(const QByteArray& html)
{
    int depth = 0;
    int deepest = 0;
    for (qsizetype i = 0; i + 1 < html.size(); ++i) {
        if (html[i] != '<' || html[i + 1] == '?')
            continue;
        if (html[i + 1] == '/') {
            --depth;
        } else {
            ++depth;
            deepest = qMax(deepest, depth);
        }
    }
    return deepest;
}

// html, body, lists, a table and a paragraph's formatting, with room to spare.
const int kDepthBound = 2 + 2 * 16 + 3 + 2 + 64;

} // namespace

class TestRtfHostile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void deepGroupNesting()
    {
        const int levels = 100000;
        const QByteArray input = QByteArray(levels, '{') + "deep\\par" + QByteArray(levels, '}');
        QCOMPARE(bodyOf(input), QByteArray("<p>deep</p>"));
    }

    // 'Q' appears in no tag or style, so counting it counts the text.
    void deepNestingWithFormattingAtEveryLevel()
    {
        const int levels = 100000;
        QByteArray input;
        for (int i = 0; i < levels; ++i)
            input += "{\\fs" + QByteArray::number(2 + i % 97 * 2) + (i % 2 ? "\\b " : "\\b0 ") + "Q";
        input += "\\par" + QByteArray(levels, '}') + "TAIL\\par";
        const QByteArray html = convertBytes(input);
        QVERIFY(maxDepth(html) <= kDepthBound);
        QCOMPARE(html.count('Q'), levels);
        QVERIFY(html.contains("TAIL"));
    }

    void longChainOfFormattingChanges()
    {
        QByteArray input = "{\\rtf1{\\colortbl;\\red1\\green2\\blue3;}";
        const int changes = 50000;
        for (int i = 1; i <= changes; ++i)
            input += "\\fs" + QByteArray::number(i) + (i % 3 ? "\\cf1 Q" : "\\cf0 Q");
        input += "\\par}";
        const QByteArray html = convertBytes(input);
        QVERIFY(maxDepth(html) <= kDepthBound);
        QCOMPARE(html.count('Q'), changes);
    }

    // Every run repeats its font's name; a megabyte name must not be
    // repeated a megabyte at a time.
    void hugeFontName()
    {
        QByteArray input = "{\\rtf1{\\fonttbl{\\f1 " + QByteArray(1 << 20, 'N') + ";}}";
        const int runs = 20000;
        for (int i = 0; i < runs; ++i)
            input += "{\\f1 Q}";
        input += "\\par}";
        const QByteArray html = convertBytes(input);
        QVERIFY(html.size() < 2 * input.size());
        QCOMPARE(html.count('Q'), runs);
        QVERIFY(html.contains("font-family:'" + QByteArray(64, 'N') + "'; "));
        QVERIFY(!html.contains(QByteArray(65, 'N')));
    }

    void deepListsStayShallow()
    {
        QByteArray input = "{\\rtf1 ";
        const int items = 2000;
        for (int i = 1; i <= items; ++i)
            input += "{\\listtext\\'b7\\tab}\\li" + QByteArray::number(i * 20) + " item" + QByteArray::number(i) + "\\par";
        for (int i = items; i >= 1; --i)
            input += "{\\listtext\\'b7\\tab}\\li" + QByteArray::number(i * 20) + " back" + QByteArray::number(i) + "\\par";
        input += "\\pard end\\par}";
        const QByteArray html = convertBytes(input);
        QVERIFY(maxDepth(html) <= kDepthBound);
        QCOMPARE(html.count("<li>"), 2 * items);
        QCOMPARE(html.count("<ul>"), html.count("</ul>"));
        QVERIFY(html.contains("<li>item2000</li>"));
        QVERIFY(html.contains("<li>back1</li>"));
        QVERIFY(html.contains("<p>end</p>"));
        // The rich-text engine takes time quadratic in nesting: bounded
        // nesting keeps it quick.
        QVERIFY(rtf::hasVisibleText(QString::fromUtf8(html)));
    }

    void hugeBinaryLength()
    {
        QCOMPARE(bodyOf("{\\rtf1 a{\\pict\\bin2147483647 }}}}b\\par}"), QByteArray("<p>a</p>"));
        const QByteArray tooLong = "{\\rtf1 a{\\pict\\bin99999999999 xyz}b\\par}";
        QTest::ignoreMessage(QtWarningMsg, QByteArray("[Tessil] rtfToHtml failed, falling back to plain text. Bytes: "
                                                      + QByteArray::number(tooLong.size())).constData());
        QVERIFY(rtf::rtfToHtml(tooLong).contains(QStringLiteral("<pre style='font-family:sans-serif;'>ab</pre>")));
    }

    void endlessHexEscapes()
    {
        const int count = 200000;
        QByteArray pairs = "{\\rtf1{\\fonttbl{\\f1\\fcharset134;}}\\f1 ";
        for (int i = 0; i < count; ++i)
            pairs += "\\'c4\\'e3";
        const QString text = QString::fromUtf8(bodyOf(pairs + "}"));
        QCOMPARE(text.count(QStringLiteral("你")), count);

        // Lone lead bytes, then escapes without digits.
        QByteArray leads = "{\\rtf1{\\fonttbl{\\f1\\fcharset136;}}\\f1 ";
        for (int i = 0; i < count; ++i)
            leads += "\\'a4";
        const QByteArray leadBody = bodyOf(leads + "x}");
        QVERIFY(leadBody.startsWith("<p>"));
        QVERIFY(leadBody.endsWith("x</p>"));
        QCOMPARE(bodyOf("{\\rtf1 a" + QByteArray(count, '\\').replace("\\", "\\'") + "}").left(4), QByteArray("<p>a"));
    }

    void unbalancedBraces()
    {
        QCOMPARE(bodyOf("}}}}{\\rtf1 {\\b a}}}}}}b\\par"), QByteArray("<p>\n<b>a</b>b</p>"));
        QCOMPARE(bodyOf("{{{{{{\\rtf1 {\\i a\\par"), QByteArray("<p>\n<i>a</i>\n</p>"));
    }

    void megabyteControlWord()
    {
        const QByteArray input = "{\\rtf1 a\\" + QByteArray(1 << 20, 'q') + " b\\par}";
        QCOMPARE(bodyOf(input), QByteArray("<p>ab</p>"));
    }

    void megabyteParameter()
    {
        const QByteArray input = "{\\rtf1 a\\fs" + QByteArray(1 << 20, '9') + " b\\par}";
        QTest::ignoreMessage(QtWarningMsg, QByteArray("[Tessil] rtfToHtml failed, falling back to plain text. Bytes: "
                                                      + QByteArray::number(input.size())).constData());
        QCOMPARE(rtf::rtfToHtml(input), QStringLiteral("<html><body><pre style='font-family:sans-serif;'>ab</pre></body></html>"));
    }

    void hugeUnicodeSkip()
    {
        const QByteArray input = "{\\rtf1 a\\uc2147483647\\u8364 " + QByteArray(1 << 20, 'z') + "}";
        QCOMPARE(bodyOf(input), QByteArray("<p>a\xE2\x82\xAC</p>"));
        QCOMPARE(rtf::extractPlainText(input), QStringLiteral("a\u20AC"));
    }

    // Every row starts a merged cell and continues the one above at the same
    // edge: rowspans count down to the end of the table, in linear time.
    void manyMergedRows()
    {
        const int rows = 20000;
        QByteArray input = "{\\rtf1 ";
        for (int i = 0; i < rows; ++i)
            input += "\\trowd\\trleft0\\clvmgf\\cellx100\\clvmrg\\cellx100\\intbl r\\cell m\\cell\\row";
        input += "\\pard\\par}";
        const QByteArray html = convertBytes(input);
        QCOMPARE(html.count("<tr>"), rows);
        QVERIFY(html.contains("<tr>\n<td rowspan=\"20000\">r</td>\n</tr>"));
        QVERIFY(html.contains("<tr>\n<td rowspan=\"1\">r</td>\n</tr>\n</table>"));
    }

    // Thousands of rows share one definition of thousands of edges.
    void manyRowsSharingAWideDefinition()
    {
        QByteArray input = "{\\rtf1 \\trowd\\trleft0";
        const int edges = 5000;
        for (int i = 1; i <= edges; ++i)
            input += "\\cellx" + QByteArray::number(i * 10);
        for (int i = 0; i < edges; ++i)
            input += "\\intbl c\\cell\\row";
        input += "\\pard\\par}";
        const QByteArray html = convertBytes(input);
        QCOMPARE(html.count("<td>c</td>"), edges);
    }

    void manyCells()
    {
        QByteArray input = "{\\rtf1 \\trowd\\trleft0\\cellx100\\cellx200";
        const int cells = 200000;
        for (int i = 0; i < cells; ++i)
            input += "\\cell";
        input += "\\row\\pard\\par}";
        const QByteArray html = convertBytes(input);
        QCOMPARE(html.count("<td></td>"), 2);
    }
};

QUORVIA_GUI_TEST_MAIN(TestRtfHostile)
#include "tst_rtf_hostile.moc"
