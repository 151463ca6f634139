// Tables: collection row by row, the column grid with its colspans, vertical
// merges as rowspans, cell content and where the table lands.

#include "rtf_test_helpers.h"
#include "support/test_main.h"

#include <QGuiApplication>

using rtftest::bodyOf;

namespace {

QByteArray row(const QByteArray& definition, const QList<QByteArray>& cells)
{
    QByteArray out = "\\trowd" + definition;
    for (const QByteArray& cell : cells)
        out += "\\pard\\intbl " + cell + "\\cell";
    return out + "\\row";
}

QByteArray document(const QByteArray& content)
{
    return "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}" + content + "}";
}

} // namespace

class TestRtfTables : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writesTables_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("body");
        const QByteArray twoEdges = "\\trleft0\\cellx3000\\cellx6000";

        QTest::newRow("two rows of two cells")
            << row(twoEdges, {"A", "B"}) + row(twoEdges, {"C", "D"}) + "\\pard After\\par"
            << QByteArray("<table>\n<tr>\n<td>A</td>\n<td>B</td>\n</tr>\n<tr>\n<td>C</td>\n<td>D</td>\n</tr>\n</table>\n"
                          "<p>After</p>");
        QTest::newRow("cell spanning two columns")
            << row(twoEdges, {"A", "B"}) + row("\\trleft0\\cellx6000", {"Wide"}) + "\\pard\\par"
            << QByteArray("<table>\n<tr>\n<td>A</td>\n<td>B</td>\n</tr>\n<tr>\n<td colspan=\"2\">Wide</td>\n</tr>\n</table>\n"
                          "<p></p>");
        QTest::newRow("indented row gets a spacer")
            << row("\\trleft0\\cellx3000", {"A"}) + row("\\trleft1000\\cellx3000", {"B"}) + "\\pard\\par"
            << QByteArray("<table>\n<tr>\n<td colspan=\"2\">A</td>\n</tr>\n<tr>\n<td colspan=\"1\"></td>\n<td>B</td>\n</tr>\n"
                          "</table>\n<p></p>");
        QTest::newRow("vertical merge over three rows")
            << row("\\trleft0\\clvmgf\\cellx3000\\cellx6000", {"Tall", "1"})
                   + row("\\trleft0\\clvmrg\\cellx3000\\cellx6000", {"hidden", "2"})
                   + row("\\trleft0\\clvmrg\\cellx3000\\cellx6000", {"hidden", "3"})
                   + row("\\trleft0\\cellx3000\\cellx6000", {"x", "4"}) + "\\pard\\par"
            << QByteArray("<table>\n<tr>\n<td rowspan=\"3\">Tall</td>\n<td>1</td>\n</tr>\n<tr>\n<td>2</td>\n</tr>\n"
                          "<tr>\n<td>3</td>\n</tr>\n<tr>\n<td>x</td>\n<td>4</td>\n</tr>\n</table>\n<p></p>");
        QTest::newRow("rows sharing one definition merge too")
            << QByteArray("\\trowd\\trleft0\\clvmgf\\cellx3000\\pard\\intbl Top\\cell\\row"
                          "\\trowd\\trleft0\\clvmrg\\cellx3000\\pard\\intbl a\\cell\\row\\pard\\intbl b\\cell\\row"
                          "\\pard\\par")
            << QByteArray("<table>\n<tr>\n<td rowspan=\"3\">Top</td>\n</tr>\n<tr></tr>\n<tr></tr>\n</table>\n<p></p>");
        QTest::newRow("row without cells opens the table only")
            << QByteArray("\\trowd\\cellx1000\\row\\pard x\\par") << QByteArray("<table></table>\n<p>x</p>");
        QTest::newRow("paragraph in the first row comes before the table")
            << QByteArray("\\trowd\\trleft0\\cellx3000\\pard\\intbl one\\par two\\cell\\row\\pard\\par")
            << QByteArray("<p>one</p>\n<table>\n<tr>\n<td>two</td>\n</tr>\n</table>\n<p></p>");
        QTest::newRow("cell with several paragraphs keeps them all")
            << row(twoEdges, {"A", "B"}) + row(twoEdges, {"C1\\par C2\\par C3", "D"}) + "\\pard\\par"
            << QByteArray("<table>\n<tr>\n<td>A</td>\n<td>B</td>\n</tr>\n<tr>\n<td>C1<br></br>C2<br></br>C3</td>\n<td>D</td>\n"
                          "</tr>\n</table>\n<p></p>");
        QTest::newRow("every single-span paragraph unwrapped")
            << row("\\trleft0\\cellx3000", {"x"}) + row("\\trleft0\\cellx3000", {"{\\cf1 one}\\par{\\cf1 two}"}) + "\\pard\\par"
            << QByteArray("<table>\n<tr>\n<td>x</td>\n</tr>\n<tr>\n<td>one<br></br>two</td>\n</tr>\n</table>\n<p></p>");
        QTest::newRow("cell alignment reaches the cell")
            << row("\\trleft0\\clvertalc\\cellx3000", {"mid"}) + "\\pard\\plain\\par{\\plain x}\\par"
            << QByteArray("<table>\n<tr>\n<td style=\"vertical-align:middle; \">mid</td>\n</tr>\n</table>\n"
                          "<p style=\"vertical-align:middle; \"></p>\n<p>x</p>");
        QTest::newRow("closing paragraph follows the table")
            << row("\\trleft0\\cellx3000", {"in"}) + "\\pard Closing text\\par"
            << QByteArray("<table>\n<tr>\n<td>in</td>\n</tr>\n</table>\n<p>Closing text</p>");
        QTest::newRow("table at the end of the input")
            << row("\\trleft0\\cellx3000", {"last"})
            << QByteArray("<table>\n<tr>\n<td>last</td>\n</tr>\n</table>");
        QTest::newRow("text after a table at the end")
            << row("\\trleft0\\cellx3000", {"cell"}) + "\\pard tail"
            << QByteArray("<table>\n<tr>\n<td>cell</td>\n</tr>\n</table>\n<p>tail</p>");
        QTest::newRow("table inside a list")
            << QByteArray("{\\listtext\\'b7\\tab}\\li720 item\\par") + row("\\trleft0\\cellx3000", {"c"}) + "\\pard\\li720 after\\par"
            << QByteArray("<ul>\n<li>item</li>\n<table>\n<tr>\n<td>c</td>\n</tr>\n</table>\n</ul>\n<p>after</p>");
        QTest::newRow("default left edge comes from the last trleft")
            << row("\\trleft500\\cellx3000", {"a"}) + QByteArray("\\trowd\\cellx3000\\pard\\intbl b\\cell\\row\\pard\\par")
            << QByteArray("<table>\n<tr>\n<td>a</td>\n</tr>\n<tr>\n<td>b</td>\n</tr>\n</table>\n<p></p>");
        QTest::newRow("two tables") << row("\\trleft0\\cellx3000", {"1"}) + "\\pard\\par" + row("\\trleft0\\cellx3000", {"2"}) + "\\pard\\par"
                                    << QByteArray("<table>\n<tr>\n<td>1</td>\n</tr>\n</table>\n<p></p>\n"
                                                  "<table>\n<tr>\n<td>2</td>\n</tr>\n</table>\n<p></p>");
        QTest::newRow("cell without text") << row("\\trleft0\\cellx3000\\cellx6000", {"", "b"}) + "\\pard\\par"
                                           << QByteArray("<table>\n<tr>\n<td></td>\n<td>b</td>\n</tr>\n</table>\n<p></p>");
    }
    void writesTables()
    {
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, body);
        QCOMPARE(bodyOf(document(content)), body);
    }

    // A row started after the table was written keeps its cells for the next table.
    void unfinishedRowSurvivesTheTableEnd()
    {
        const QByteArray content = row("\\trleft0\\cellx3000\\cellx6000", {"a", "b"})
            + "\\trowd\\trleft0\\cellx3000\\cellx6000\\pard\\intbl c\\cell\\pard\\par"
            + "\\pard\\intbl d\\cell\\row\\pard\\par";
        QCOMPARE(bodyOf(document(content)),
                 QByteArray("<table>\n<tr>\n<td>a</td>\n<td>b</td>\n</tr>\n</table>\n<p></p>\n"
                            "<table>\n<tr>\n<td>c</td>\n<td>d</td>\n</tr>\n</table>\n<p></p>"));
    }
};

QUORVIA_GUI_TEST_MAIN(TestRtfTables)
#include "tst_rtf_tables.moc"
